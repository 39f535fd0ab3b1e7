#include "platform/KeyedArchiveEncoder.h"

#include "platform/BinaryPropertyList.h"
#include "platform/KeyedArchiveDate.h"
#include "platform/KeyedArchiveNames.h"

#include <QDateTime>
#include <QVariantList>
#include <QVariantMap>

#include <limits>

using namespace KeyedArchiveNames;

namespace {

bool isInteger(int type)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Char:
        return true;
    default:
        return false;
    }
}

bool isList(int type)
{
    return type == QMetaType::QVariantList || type == QMetaType::QStringList;
}

QVariantList keysOf(const QVariantMap& map)
{
    QVariantList keys;
    for (const QString& key : map.keys())
        keys.append(key);
    return keys;
}

} // namespace

bool KeyedArchiveEncoder::encode(
    const std::vector<KeyedArchiveField>& top, QByteArray* data, KeyedArchiveError* error)
{
    KeyedArchiveEncoder encoder(error);
    Entries topEntries;
    if (!encoder.encodeFields(top, &topEntries))
        return false;
    BinaryPropertyListWriter& writer = encoder.writer_;
    const Index topIndex = writer.addDictionary(topEntries);
    const Index objectsIndex = writer.addArray(encoder.objects_);
    const Index root = writer.addDictionary({
        { writer.addString(archiverKey), writer.addString(archiverName) },
        { writer.addString(versionKey), writer.addInteger(archiveVersion) },
        { writer.addString(topKey), topIndex },
        { writer.addString(objectsKey), objectsIndex },
    });
    *data = writer.data(root);
    return true;
}

KeyedArchiveEncoder::KeyedArchiveEncoder(KeyedArchiveError* error)
    : error_(error)
{
    // Entry 0 stands for "no object"; it is kept out of sharing so that a string "$null" among
    // the values is archived as a string of its own.
    objects_.push_back(writer_.addString(nullEntry));
}

bool KeyedArchiveEncoder::unsupported(const QVariant& value)
{
    return failKeyedArchive(error_, KeyedArchiveErrorCode::UnsupportedValue,
        QStringLiteral("a value of type %1 cannot be archived")
            .arg(QString::fromLatin1(value.metaType().name())));
}

quint64 KeyedArchiveEncoder::uidOf(Index index)
{
    const auto [found, inserted] = uids_.try_emplace(index, objects_.size());
    if (inserted)
        objects_.push_back(index);
    return found->second;
}

bool KeyedArchiveEncoder::encodeFields(
    const std::vector<KeyedArchiveField>& fields, Entries* entries)
{
    for (const KeyedArchiveField& field : fields) {
        Index value = 0;
        if (!encodeField(field, &value))
            return false;
        entries->emplace_back(writer_.addString(field.key), value);
    }
    return true;
}

bool KeyedArchiveEncoder::encodeField(const KeyedArchiveField& field, Index* index)
{
    switch (field.storage) {
    case KeyedArchiveStorage::Inline:
        return encodeInline(field.value, index);
    case KeyedArchiveStorage::ReferenceList:
        return encodeReferenceList(field.value, index);
    case KeyedArchiveStorage::Reference:
        break;
    }
    quint64 uid = 0;
    if (!encodeObject(field.value, &uid))
        return false;
    *index = writer_.addUid(uid);
    return true;
}

bool KeyedArchiveEncoder::encodeInline(const QVariant& value, Index* index)
{
    if (!isList(value.typeId()))
        return encodeScalar(value, index);
    std::vector<Index> elements;
    for (const QVariant& element : value.toList()) {
        Index elementIndex = 0;
        if (!encodeScalar(element, &elementIndex))
            return false;
        elements.push_back(elementIndex);
    }
    *index = writer_.addArray(elements);
    return true;
}

// The values a property list holds in place.
bool KeyedArchiveEncoder::encodeScalar(const QVariant& value, Index* index)
{
    const int type = value.typeId();
    if (type == QMetaType::Bool)
        *index = writer_.addBool(value.toBool());
    else if (type == QMetaType::ULongLong
        && value.toULongLong() <= quint64(std::numeric_limits<qint64>::max()))
        *index = writer_.addInteger(value.toLongLong());
    else if (isInteger(type))
        *index = writer_.addInteger(value.toLongLong());
    else if (type == QMetaType::Double || type == QMetaType::Float)
        *index = writer_.addReal(value.toDouble());
    else if (type == QMetaType::QString)
        *index = writer_.addString(value.toString());
    else if (type == QMetaType::QByteArray)
        *index = writer_.addData(value.toByteArray());
    else if (const std::optional<double> seconds = KeyedArchiveDateReferenceSeconds(value))
        *index = writer_.addDate(*seconds);
    else
        return unsupported(value);
    return true;
}

bool KeyedArchiveEncoder::encodeReferenceList(const QVariant& value, Index* index)
{
    if (!isList(value.typeId()))
        return unsupported(value);
    std::vector<Index> elements;
    for (const QVariant& element : value.toList()) {
        quint64 uid = 0;
        if (!encodeObject(element, &uid))
            return false;
        elements.push_back(writer_.addUid(uid));
    }
    *index = writer_.addArray(elements);
    return true;
}

bool KeyedArchiveEncoder::encodeObject(const QVariant& value, quint64* uid)
{
    const int type = value.typeId();
    const QStringList objectChain { rootClass };
    auto instance = [&](const QString& name, const std::vector<KeyedArchiveField>& fields) {
        return encodeInstance(name, QStringList { name } + objectChain, fields, uid);
    };
    using S = KeyedArchiveStorage;
    if (!value.isValid()) {
        *uid = 0;
        return true;
    }
    if (type == QMetaType::Nullptr)
        return instance(nullClass, {});
    if (const std::optional<double> seconds = KeyedArchiveDateReferenceSeconds(value))
        return instance(dateClass, { { timeKey, *seconds, S::Inline } });
    if (isList(type))
        return instance(arrayClass, { { elementsKey, value, S::ReferenceList } });
    if (type == QMetaType::QVariantMap || type == QMetaType::QVariantHash) {
        const QVariantMap map = value.toMap(); // sorted keys: the same dictionary, the same bytes
        return instance(dictionaryClass,
            { { keysKey, keysOf(map), S::ReferenceList },
                { elementsKey, QVariantList(map.values()), S::ReferenceList } });
    }
    if (type == qMetaTypeId<KeyedArchiveObject>()) {
        const KeyedArchiveObject object = value.value<KeyedArchiveObject>();
        return encodeInstance(object.className, object.classes, object.fields, uid);
    }
    Index index = 0;
    if (!encodeScalar(value, &index))
        return false;
    *uid = uidOf(index);
    return true;
}

bool KeyedArchiveEncoder::encodeInstance(const QString& className, const QStringList& classes,
    const std::vector<KeyedArchiveField>& fields, quint64* uid)
{
    Entries entries;
    if (!encodeFields(fields, &entries))
        return false;
    std::vector<Index> chain;
    for (const QString& name : classes)
        chain.push_back(writer_.addString(name));
    const quint64 classUid = uidOf(writer_.addDictionary({
        { writer_.addString(classNameKey), writer_.addString(className) },
        { writer_.addString(classesKey), writer_.addArray(chain) },
    }));
    entries.emplace_back(writer_.addString(classKey), writer_.addUid(classUid));
    *uid = uidOf(writer_.addDictionary(entries));
    return true;
}
