#include "ProcessThreads.h"

#include <QDir>

quint64 processThreadCount()
{
    return quint64(QDir(QStringLiteral("/proc/self/task"))
                       .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                       .size());
}
