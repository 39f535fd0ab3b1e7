#include "graphicview/tasks/UFemGraphicViewThreadTaskRecords.h"

#include "foundation/errors/UException.h"

void UFemGraphicViewTargetRecordIndexes::assign(const quint64* indexes, quint64 indexCount)
{
    if (indexCount > UFemGraphicViewCardTypeRecordCount)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Too many target records."), long(indexCount));
    std::copy_n(indexes, indexCount, table.begin());
    count = indexCount;
}
