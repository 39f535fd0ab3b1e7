#include "platform/KeyedArchive.h"

#include "platform/KeyedArchiveDecoder.h"
#include "platform/KeyedArchiveEncoder.h"

#include <cmath>
#include <limits>

namespace {

// The smallest and the first too large real that truncate into a qint64.
constexpr double integerLowerBound = -9223372036854775808.0;
constexpr double integerUpperBound = 9223372036854775808.0;

bool isNumber(const QVariant& value)
{
    const int type = value.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Double || type == QMetaType::Bool;
}

} // namespace

std::optional<KeyedArchive> KeyedArchive::fromData(const QByteArray& data, KeyedArchiveError* error)
{
    KeyedArchive archive;
    if (!KeyedArchiveDecoder::decode(data, &archive.fields_, error))
        return std::nullopt;
    return archive;
}

QByteArray KeyedArchive::data(KeyedArchiveError* error) const
{
    QByteArray bytes;
    if (!KeyedArchiveEncoder::encode(fields_, &bytes, error))
        return {};
    return bytes;
}

const KeyedArchiveField* KeyedArchive::field(const QString& key) const
{
    return findKeyedArchiveField(fields_, key);
}

bool KeyedArchive::containsValueForKey(const QString& key) const
{
    return field(key) != nullptr;
}

QVariant KeyedArchive::decodeObjectForKey(const QString& key) const
{
    const KeyedArchiveField* found = field(key);
    return found ? found->value : QVariant();
}

qint64 KeyedArchive::decodeIntegerForKey(const QString& key) const
{
    const QVariant value = decodeObjectForKey(key);
    if (!isNumber(value))
        return 0;
    if (value.typeId() != QMetaType::Double)
        return value.toLongLong();
    const double real = std::trunc(value.toDouble());
    if (std::isnan(real))
        return 0;
    if (real < integerLowerBound)
        return std::numeric_limits<qint64>::min();
    if (real >= integerUpperBound)
        return std::numeric_limits<qint64>::max();
    return qint64(real);
}

bool KeyedArchive::decodeBoolForKey(const QString& key) const
{
    const QVariant value = decodeObjectForKey(key);
    return isNumber(value) && value.toDouble() != 0;
}

double KeyedArchive::decodeDoubleForKey(const QString& key) const
{
    const QVariant value = decodeObjectForKey(key);
    return isNumber(value) ? value.toDouble() : 0;
}

void KeyedArchive::setField(KeyedArchiveField field)
{
    if (const KeyedArchiveField* found = this->field(field.key))
        fields_[size_t(found - fields_.data())] = std::move(field);
    else
        fields_.push_back(std::move(field));
}

void KeyedArchive::encodeObject(const QVariant& object, const QString& key)
{
    setField({ key, object, KeyedArchiveStorage::Reference });
}

void KeyedArchive::encodeInteger(qint64 value, const QString& key)
{
    setField({ key, value, KeyedArchiveStorage::Inline });
}

void KeyedArchive::encodeBool(bool value, const QString& key)
{
    setField({ key, value, KeyedArchiveStorage::Inline });
}

void KeyedArchive::encodeDouble(double value, const QString& key)
{
    setField({ key, value, KeyedArchiveStorage::Inline });
}
