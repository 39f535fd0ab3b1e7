#pragma once

#include "platform/BinaryPropertyListWriter.h"
#include "platform/KeyedArchiveError.h"
#include "platform/KeyedArchiveObject.h"

#include <QByteArray>

#include <unordered_map>
#include <vector>

// Writes top-level entries and the values below them in the keyed-archiver form. Objects are
// archived leaves first; equal values (and equal class descriptions) are archived once and
// shared by reference.
class KeyedArchiveEncoder {
public:
    static bool encode(
        const std::vector<KeyedArchiveField>& top, QByteArray* data, KeyedArchiveError* error);

private:
    using Index = BinaryPropertyListWriter::Index;
    using Entries = std::vector<std::pair<Index, Index>>;

    explicit KeyedArchiveEncoder(KeyedArchiveError* error);
    bool encodeFields(const std::vector<KeyedArchiveField>& fields, Entries* entries);
    bool encodeField(const KeyedArchiveField& field, Index* index);
    bool encodeInline(const QVariant& value, Index* index);
    bool encodeScalar(const QVariant& value, Index* index);
    bool encodeReferenceList(const QVariant& value, Index* index);
    bool encodeObject(const QVariant& value, quint64* uid);
    bool encodeInstance(const QString& className, const QStringList& classes,
        const std::vector<KeyedArchiveField>& fields, quint64* uid);
    quint64 uidOf(Index index);
    bool unsupported(const QVariant& value);

    KeyedArchiveError* error_;
    BinaryPropertyListWriter writer_;
    std::vector<Index> objects_; // the property-list object of each archived object, by uid
    std::unordered_map<Index, quint64> uids_;
};
