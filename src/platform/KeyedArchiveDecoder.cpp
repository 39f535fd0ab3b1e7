#include "platform/KeyedArchiveDecoder.h"

#include "platform/KeyedArchive.h"
#include "platform/KeyedArchiveDate.h"
#include "platform/KeyedArchiveNames.h"

#include <QDateTime>
#include <QSet>
#include <QVariantList>
#include <QVariantMap>

#include <algorithm>

using namespace KeyedArchiveNames;

namespace {

using Kind = BinaryPropertyList::Kind;

bool isString(const BinaryPropertyList::Object& object)
{
    return object.kind == Kind::AsciiString || object.kind == Kind::Utf16String;
}

} // namespace

bool KeyedArchiveDecoder::decode(
    const QByteArray& data, std::vector<KeyedArchiveField>* top, KeyedArchiveError* error)
{
    const std::optional<BinaryPropertyList> list = BinaryPropertyList::open(data, error);
    if (!list)
        return false;
    KeyedArchiveDecoder decoder(*list, error);
    return decoder.decodeRoot(top);
}

KeyedArchiveDecoder::KeyedArchiveDecoder(const BinaryPropertyList& list, KeyedArchiveError* error)
    : list_(list)
    , error_(error)
    , budget_(std::max(minimumContentBudget, contentPerDataByte * quint64(list.size())))
{
}

bool KeyedArchiveDecoder::malformed(const QString& reason)
{
    return failKeyedArchive(error_, KeyedArchiveErrorCode::Malformed, reason);
}

bool KeyedArchiveDecoder::charge(quint64 weight)
{
    spent_ += weight;
    if (spent_ <= budget_)
        return true;
    return failKeyedArchive(error_, KeyedArchiveErrorCode::TooLarge,
        QStringLiteral("decoded content beyond %1 units").arg(budget_));
}

bool KeyedArchiveDecoder::stringAt(quint64 index, QString* text)
{
    Object object;
    if (!list_.object(index, &object, error_))
        return false;
    if (!isString(object))
        return malformed(QStringLiteral("object %1 is not a string").arg(index));
    if (!charge(1 + object.count))
        return false;
    *text = list_.string(object);
    return true;
}

// Key `position` of a dictionary, which must be a string, and the index of its value.
bool KeyedArchiveDecoder::entry(
    const Object& dictionary, quint64 position, QString* key, quint64* valueIndex)
{
    quint64 keyIndex = 0;
    return list_.reference(dictionary, position, &keyIndex, error_)
        && list_.reference(dictionary, dictionary.count + position, valueIndex, error_)
        && stringAt(keyIndex, key);
}

bool KeyedArchiveDecoder::decodeRoot(std::vector<KeyedArchiveField>* top)
{
    Object root;
    if (!list_.object(list_.rootIndex(), &root, error_))
        return false;
    auto notKeyed = [this](const QString& reason) {
        return failKeyedArchive(error_, KeyedArchiveErrorCode::NotKeyedArchive, reason);
    };
    if (root.kind != Kind::Dictionary)
        return notKeyed(QStringLiteral("the root is not a dictionary"));
    QString archiver;
    bool hasVersion = false;
    Object topObject;
    bool hasTop = false;
    bool hasObjects = false;
    for (quint64 i = 0; i < root.count; ++i) {
        quint64 valueIndex = 0;
        QString key;
        Object value;
        if (!entry(root, i, &key, &valueIndex) || !list_.object(valueIndex, &value, error_))
            return false;
        if (key == archiverKey && isString(value)) {
            if (!stringAt(valueIndex, &archiver))
                return false;
        } else if (key == versionKey && value.kind == Kind::Integer)
            hasVersion = true;
        else if (key == topKey && value.kind == Kind::Dictionary) {
            topObject = value;
            hasTop = true;
        } else if (key == objectsKey && value.kind == Kind::Array && value.count > 0) {
            objects_ = value;
            hasObjects = true;
        }
    }
    if (archiver != archiverName || !hasVersion || !hasTop || !hasObjects)
        return notKeyed(QStringLiteral("no keyed-archiver root entries"));
    return decodeFields(topObject, top, nullptr, 0);
}

// The entries of an archived object's dictionary (or of the top level, where `classUid` is
// null and "$class" is an ordinary key), in archive order.
bool KeyedArchiveDecoder::decodeFields(
    const Object& dictionary, std::vector<KeyedArchiveField>* fields, quint64* classUid, int depth)
{
    QSet<QString> seen;
    bool hasClass = false;
    for (quint64 i = 0; i < dictionary.count; ++i) {
        quint64 valueIndex = 0;
        KeyedArchiveField field;
        if (!entry(dictionary, i, &field.key, &valueIndex))
            return false;
        if (seen.contains(field.key))
            return malformed(QStringLiteral("key \"%1\" given twice").arg(field.key));
        seen.insert(field.key);
        if (classUid && field.key == classKey) {
            Object value;
            if (!list_.object(valueIndex, &value, error_))
                return false;
            if (value.kind != Kind::Uid)
                return malformed(QStringLiteral("a class entry that is no reference"));
            *classUid = value.uid;
            hasClass = true;
            continue;
        }
        if (!decodeField(valueIndex, &field, depth))
            return false;
        fields->push_back(std::move(field));
    }
    if (classUid && !hasClass)
        return malformed(QStringLiteral("an archived object without a class"));
    return true;
}

bool KeyedArchiveDecoder::decodeField(quint64 index, KeyedArchiveField* field, int depth)
{
    Object object;
    if (!list_.object(index, &object, error_))
        return false;
    switch (object.kind) {
    case Kind::Uid:
        field->storage = KeyedArchiveStorage::Reference;
        return decodeReference(object.uid, &field->value, depth + 1);
    case Kind::Array:
        return decodeReferenceList(object, field, depth);
    case Kind::Dictionary:
        return malformed(QStringLiteral("a dictionary in place of a value"));
    default:
        field->storage = KeyedArchiveStorage::Inline;
        return scalar(object, &field->value);
    }
}

// An in-place array: all references (element lists) or all plain values; an empty one counts as
// a list of references.
bool KeyedArchiveDecoder::decodeReferenceList(
    const Object& array, KeyedArchiveField* field, int depth)
{
    QVariantList values;
    bool references = true;
    for (quint64 i = 0; i < array.count; ++i) {
        quint64 index = 0;
        Object element;
        if (!list_.reference(array, i, &index, error_) || !list_.object(index, &element, error_))
            return false;
        const bool isReference = element.kind == Kind::Uid;
        if (i == 0)
            references = isReference;
        if (isReference != references)
            return malformed(QStringLiteral("an array mixing references and values"));
        QVariant value;
        if (isReference ? !decodeReference(element.uid, &value, depth + 1)
                        : !scalar(element, &value))
            return false;
        values.append(value);
    }
    field->storage = references ? KeyedArchiveStorage::ReferenceList : KeyedArchiveStorage::Inline;
    field->value = values;
    return true;
}

bool KeyedArchiveDecoder::scalar(const Object& object, QVariant* value)
{
    if (!charge(1 + (object.kind == Kind::Data || isString(object) ? object.count : 0)))
        return false;
    switch (object.kind) {
    case Kind::Bool:
        *value = object.boolean;
        return true;
    case Kind::Integer:
        *value = object.integer;
        return true;
    case Kind::Real:
        *value = object.real;
        return true;
    case Kind::Date:
        *value = KeyedArchiveDateValue(object.real);
        return true;
    case Kind::Data:
        *value = list_.bytes(object);
        return true;
    case Kind::AsciiString:
    case Kind::Utf16String:
        *value = list_.string(object);
        return true;
    default:
        return malformed(QStringLiteral("a container where a plain value belongs"));
    }
}

bool KeyedArchiveDecoder::decodeReference(quint64 uid, QVariant* value, int depth)
{
    if (uid == 0) {
        *value = QVariant();
        return charge(1);
    }
    if (uid >= objects_.count)
        return malformed(QStringLiteral("reference %1 outside the archived objects").arg(uid));
    const auto found = decoded_.find(uid);
    if (found != decoded_.end()) {
        if (!found->second.done)
            return failKeyedArchive(error_, KeyedArchiveErrorCode::Cyclic,
                QStringLiteral("archived object %1 contains itself").arg(uid));
        *value = found->second.value;
        return charge(found->second.weight);
    }
    if (depth > KeyedArchive::maximumDepth)
        return failKeyedArchive(error_, KeyedArchiveErrorCode::TooDeep,
            QStringLiteral("objects nested deeper than %1").arg(KeyedArchive::maximumDepth));
    decoded_[uid] = Decoded {};
    const quint64 before = spent_;
    if (!decodeEntry(uid, value, depth))
        return false;
    decoded_[uid] = Decoded { true, *value, spent_ - before };
    return true;
}

bool KeyedArchiveDecoder::decodeEntry(quint64 uid, QVariant* value, int depth)
{
    quint64 index = 0;
    Object object;
    if (!list_.reference(objects_, uid, &index, error_) || !list_.object(index, &object, error_))
        return false;
    if (object.kind == Kind::Dictionary)
        return decodeInstance(object, value, depth);
    if (object.kind == Kind::Uid || object.kind == Kind::Array)
        return malformed(QStringLiteral("archived object %1 is neither value nor object").arg(uid));
    return scalar(object, value);
}

bool KeyedArchiveDecoder::decodeInstance(const Object& dictionary, QVariant* value, int depth)
{
    std::vector<KeyedArchiveField> fields;
    quint64 classUid = 0;
    ClassChain chain;
    if (!decodeFields(dictionary, &fields, &classUid, depth) || !decodeClass(classUid, &chain))
        return false;
    return interpret(chain, std::move(fields), value);
}

bool KeyedArchiveDecoder::decodeClass(quint64 uid, ClassChain* chain)
{
    if (const auto found = classes_.find(uid); found != classes_.end()) {
        *chain = found->second;
        return charge(1);
    }
    quint64 index = 0;
    Object object;
    if (uid == 0 || uid >= objects_.count)
        return malformed(
            QStringLiteral("class reference %1 outside the archived objects").arg(uid));
    if (!list_.reference(objects_, uid, &index, error_) || !list_.object(index, &object, error_))
        return false;
    if (object.kind != Kind::Dictionary)
        return malformed(QStringLiteral("class %1 is not a dictionary").arg(uid));
    for (quint64 i = 0; i < object.count; ++i) {
        quint64 valueIndex = 0;
        QString key;
        if (!entry(object, i, &key, &valueIndex))
            return false;
        if (key == classNameKey && !stringAt(valueIndex, &chain->className))
            return false;
        if (key != classesKey)
            continue;
        Object classes;
        if (!list_.object(valueIndex, &classes, error_))
            return false;
        if (classes.kind != Kind::Array)
            return malformed(QStringLiteral("a class chain that is not an array"));
        for (quint64 c = 0; c < classes.count; ++c) {
            quint64 nameIndex = 0;
            QString name;
            if (!list_.reference(classes, c, &nameIndex, error_) || !stringAt(nameIndex, &name))
                return false;
            chain->classes.append(name);
        }
    }
    if (chain->className.isEmpty())
        return malformed(QStringLiteral("class %1 without a name").arg(uid));
    classes_[uid] = *chain;
    return true;
}

// The classes the archive knows become plain values; any other stays an archived object.
bool KeyedArchiveDecoder::interpret(
    const ClassChain& chain, std::vector<KeyedArchiveField> fields, QVariant* value)
{
    const QString& name = chain.className;
    if (name == nullClass) {
        *value = QVariant::fromValue(nullptr);
        return true;
    }
    if (name == dateClass)
        return makeDate(findKeyedArchiveField(fields, timeKey), value);
    if (name == dictionaryClass || name == mutableDictionaryClass) {
        const KeyedArchiveField* keys = findKeyedArchiveField(fields, keysKey);
        const KeyedArchiveField* elements = findKeyedArchiveField(fields, elementsKey);
        if (!keys || !elements || keys->value.typeId() != QMetaType::QVariantList
            || elements->value.typeId() != QMetaType::QVariantList)
            return malformed(QStringLiteral("a dictionary without keys or objects"));
        return makeDictionary(keys->value.toList(), elements->value.toList(), value);
    }
    struct Content {
        const QString& className;
        const QString& mutableClassName;
        const QString& key;
        int type;
    };
    const Content contents[] = {
        { stringClass, mutableStringClass, stringKey, QMetaType::QString },
        { dataClass, mutableDataClass, dataKey, QMetaType::QByteArray },
        { arrayClass, mutableArrayClass, elementsKey, QMetaType::QVariantList },
    };
    for (const Content& content : contents) {
        if (name != content.className && name != content.mutableClassName)
            continue;
        const KeyedArchiveField* field = findKeyedArchiveField(fields, content.key);
        if (!field || field->value.typeId() != content.type)
            return malformed(QStringLiteral("a %1 without its contents").arg(name));
        *value = field->value;
        return true;
    }
    *value = QVariant::fromValue(KeyedArchiveObject { name, chain.classes, std::move(fields) });
    return true;
}

bool KeyedArchiveDecoder::makeDate(const KeyedArchiveField* time, QVariant* value)
{
    const int type = time ? time->value.typeId() : QMetaType::UnknownType;
    if (type != QMetaType::Double && type != QMetaType::LongLong)
        return malformed(QStringLiteral("a date without its time"));
    *value = KeyedArchiveDateValue(time->value.toDouble());
    return true;
}

bool KeyedArchiveDecoder::makeDictionary(
    const QVariantList& keys, const QVariantList& elements, QVariant* value)
{
    if (keys.size() != elements.size())
        return malformed(QStringLiteral("a dictionary with %1 keys and %2 objects")
                             .arg(keys.size())
                             .arg(elements.size()));
    QVariantMap map;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i].typeId() != QMetaType::QString)
            return malformed(QStringLiteral("a dictionary key that is not a string"));
        const QString key = keys[i].toString();
        if (map.contains(key))
            return malformed(QStringLiteral("dictionary key \"%1\" given twice").arg(key));
        map.insert(key, elements[i]);
    }
    *value = map;
    return true;
}
