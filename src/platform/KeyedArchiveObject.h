#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// How a field's value sits in its archived object: a reference to an object of the archive, a
// value written in place (numbers, booleans, data), or an in-place list of references (the
// element lists of arrays and dictionaries).
enum class KeyedArchiveStorage { Reference, Inline, ReferenceList };

// One keyed entry of an archived object, or of the archive's top level.
struct KeyedArchiveField {
    QString key;
    // A decoded value: QString, qint64, double, bool, QByteArray, QDateTime or KeyedArchiveDate,
    // QVariantList, QVariantMap, KeyedArchiveObject, nullptr for the null object, or an invalid
    // QVariant for a reference to nothing.
    QVariant value;
    KeyedArchiveStorage storage = KeyedArchiveStorage::Reference;

    bool operator==(const KeyedArchiveField&) const = default;
};

// An archived object of a class the archive does not interpret (a font, a colour …), kept with
// its class chain and its fields in archive order so that writing it gives it back unchanged.
struct KeyedArchiveObject {
    QString className;
    QStringList classes; // most derived first
    std::vector<KeyedArchiveField> fields;

    bool operator==(const KeyedArchiveObject&) const = default;

    // The field named `key`, or nullptr.
    const KeyedArchiveField* field(const QString& key) const;
};

// The first of `fields` named `key`, or nullptr.
const KeyedArchiveField* findKeyedArchiveField(
    const std::vector<KeyedArchiveField>& fields, const QString& key);

Q_DECLARE_METATYPE(KeyedArchiveObject)
