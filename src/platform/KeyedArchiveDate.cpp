#include "platform/KeyedArchiveDate.h"

#include "platform/BinaryPropertyList.h"

QVariant KeyedArchiveDateValue(double referenceSeconds)
{
    const QDateTime date = BinaryPropertyList::dateFromReferenceSeconds(referenceSeconds);
    const KeyedArchiveDate kept { referenceSeconds };
    if (KeyedArchiveDate { BinaryPropertyList::referenceSecondsFromDate(date) } == kept)
        return date;
    return QVariant::fromValue(kept);
}

std::optional<double> KeyedArchiveDateReferenceSeconds(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return BinaryPropertyList::referenceSecondsFromDate(value.toDateTime());
    if (value.typeId() == qMetaTypeId<KeyedArchiveDate>())
        return value.value<KeyedArchiveDate>().referenceSeconds;
    return std::nullopt;
}
