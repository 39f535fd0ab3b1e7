#pragma once

#include "platform/BinaryPropertyList.h"
#include "platform/KeyedArchiveError.h"
#include "platform/KeyedArchiveObject.h"

#include <QByteArray>
#include <QStringList>
#include <QVariantList>

#include <unordered_map>
#include <vector>

// Turns the objects of a keyed archive into a tree of values, from its top-level entries down.
// Guards: objects nested at most KeyedArchive::maximumDepth deep, no object inside itself, and
// decoded content (counting a shared object each time it is reached) bounded by a multiple of the
// data's size, so that sharing cannot blow a small file up into a huge tree.
class KeyedArchiveDecoder {
public:
    static constexpr quint64 contentPerDataByte = 32;
    static constexpr quint64 minimumContentBudget = quint64(1) << 20;

    static bool decode(
        const QByteArray& data, std::vector<KeyedArchiveField>* top, KeyedArchiveError* error);

private:
    using Object = BinaryPropertyList::Object;
    struct Decoded {
        bool done = false;
        QVariant value;
        quint64 weight = 0;
    };
    struct ClassChain {
        QString className;
        QStringList classes;
    };

    KeyedArchiveDecoder(const BinaryPropertyList& list, KeyedArchiveError* error);
    bool entry(const Object& dictionary, quint64 position, QString* key, quint64* valueIndex);
    bool decodeRoot(std::vector<KeyedArchiveField>* top);
    bool decodeFields(const Object& dictionary, std::vector<KeyedArchiveField>* fields,
        quint64* classUid, int depth);
    bool decodeField(quint64 index, KeyedArchiveField* field, int depth);
    bool decodeReferenceList(const Object& array, KeyedArchiveField* field, int depth);
    bool decodeReference(quint64 uid, QVariant* value, int depth);
    bool decodeEntry(quint64 uid, QVariant* value, int depth);
    bool decodeInstance(const Object& dictionary, QVariant* value, int depth);
    bool interpret(const ClassChain& chain, std::vector<KeyedArchiveField> fields, QVariant* value);
    bool makeDate(const KeyedArchiveField* time, QVariant* value);
    bool makeDictionary(const QVariantList& keys, const QVariantList& elements, QVariant* value);
    bool decodeClass(quint64 uid, ClassChain* chain);
    bool scalar(const Object& object, QVariant* value);
    bool stringAt(quint64 index, QString* text);
    bool charge(quint64 weight);
    bool malformed(const QString& reason);

    const BinaryPropertyList& list_;
    KeyedArchiveError* error_;
    Object objects_;
    std::unordered_map<quint64, Decoded> decoded_;
    std::unordered_map<quint64, ClassChain> classes_;
    quint64 budget_;
    quint64 spent_ = 0;
};
