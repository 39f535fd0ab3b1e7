#pragma once

#include "platform/KeyedArchiveError.h"
#include "platform/KeyedArchiveObject.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

// A keyed archive in the platform's binary form: a "bplist00" property list holding "$archiver",
// "$version", "$top" (the keyed entries) and "$objects" (the archived objects, "$null" first).
// Project files and result files of earlier versions are such archives, so they are read and
// written here rather than in a format of our own.
//
// Reading decodes the whole archive at once into values (see KeyedArchiveField::value); classes
// the archive does not interpret stay KeyedArchiveObject and are written back unchanged. Any
// malformed data gives an error, never a crash, a hang or an unbounded allocation: objects nest at
// most `maximumDepth` deep, and the decoded tree (a shared object counted each time it is reached)
// may hold at most 32 units per byte of data, or about a million for small data, so that sharing
// cannot blow a small file up into a huge tree.
//
// Writing keeps the order in which keys were first encoded; equal objects are archived once.
class KeyedArchive {
public:
    // How deep archived objects may nest inside one another.
    static constexpr int maximumDepth = 64;

    KeyedArchive() = default;

    static std::optional<KeyedArchive> fromData(
        const QByteArray& data, KeyedArchiveError* error = nullptr);

    // The archive's bytes, or empty data with `error` set when a value has a type the archive
    // cannot hold.
    QByteArray data(KeyedArchiveError* error = nullptr) const;

    const std::vector<KeyedArchiveField>& fields() const { return fields_; }

    bool containsValueForKey(const QString& key) const;
    // The value at `key`; an invalid QVariant when the key is absent or refers to no object.
    QVariant decodeObjectForKey(const QString& key) const;
    // Numbers and booleans at `key` (in place or referenced); a real is truncated toward zero and
    // clamped to the integer range; anything else 0.
    qint64 decodeIntegerForKey(const QString& key) const;
    bool decodeBoolForKey(const QString& key) const;
    double decodeDoubleForKey(const QString& key) const;

    // A value archived as an object and referred to from the key; an invalid QVariant refers to
    // no object. Encoding a key again replaces its value and keeps its place.
    void encodeObject(const QVariant& object, const QString& key);
    // Numbers and booleans written in place at the key.
    void encodeInteger(qint64 value, const QString& key);
    void encodeBool(bool value, const QString& key);
    void encodeDouble(double value, const QString& key);

private:
    void setField(KeyedArchiveField field);
    const KeyedArchiveField* field(const QString& key) const;

    std::vector<KeyedArchiveField> fields_;
};
