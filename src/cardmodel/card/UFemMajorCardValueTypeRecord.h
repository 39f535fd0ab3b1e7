#pragma once

#include <QString>
#include <QStringList>

// One registered major card value type: its word, its name and one label per vector value.
struct UFemMajorCardValueTypeRecord {
    quint32 majorCardValueType = 0;
    QString majorCardValueTypeString;
    QStringList vectorValueLabelStringArray;
};
