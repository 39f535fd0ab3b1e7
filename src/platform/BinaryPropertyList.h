#pragma once

#include "platform/KeyedArchiveError.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// A read-only view of a binary property list ("bplist00"). Every offset, length and reference
// is checked against the data before use; nothing is decoded until asked for, so a hostile
// list costs no more than what its reader walks.
class BinaryPropertyList {
public:
    static constexpr char headerMagic[] = "bplist00";
    static constexpr qsizetype headerSize = 8;
    static constexpr qsizetype trailerSize = 32;

    enum class Kind {
        Bool,
        Integer,
        Real,
        Date,
        Data,
        AsciiString,
        Utf16String,
        Uid,
        Array,
        Dictionary
    };

    // One object's header: scalars carry their value, strings, data and containers the position
    // and element count of their payload.
    struct Object {
        Kind kind = Kind::Bool;
        bool boolean = false;
        qint64 integer = 0;
        double real = 0;
        quint64 uid = 0;
        qsizetype start = 0; // payload offset
        quint64 count = 0; // bytes, UTF-16 units, elements or key-value pairs
    };

    static std::optional<BinaryPropertyList> open(const QByteArray& data, KeyedArchiveError* error);

    quint64 objectCount() const { return objectCount_; }
    quint64 rootIndex() const { return rootIndex_; }
    qsizetype size() const { return data_.size(); }

    bool object(quint64 index, Object* object, KeyedArchiveError* error) const;
    // Element `position` of an array, or key (`position` < count) then value (count + i) of a
    // dictionary.
    bool reference(
        const Object& container, quint64 position, quint64* index, KeyedArchiveError* error) const;

    QString string(const Object& object) const;
    QByteArray bytes(const Object& object) const;
    static QDateTime dateFromReferenceSeconds(double seconds);
    static double referenceSecondsFromDate(const QDateTime& date);

private:
    explicit BinaryPropertyList(const QByteArray& data)
        : data_(data)
    {
    }
    bool readTrailer(KeyedArchiveError* error);
    quint64 readUnsigned(qsizetype offset, int width) const;
    bool readObject(
        quint8 marker, qsizetype offset, Object* object, KeyedArchiveError* error) const;
    bool readCount(
        quint8 marker, qsizetype* offset, quint64* count, KeyedArchiveError* error) const;
    bool readInteger(qsizetype offset, Object* object, KeyedArchiveError* error) const;
    bool readReal(qsizetype offset, Object* object, KeyedArchiveError* error) const;
    bool readSized(quint8 marker, qsizetype offset, Object* object, KeyedArchiveError* error) const;

    QByteArray data_;
    int offsetSize_ = 0;
    int referenceSize_ = 0;
    quint64 objectCount_ = 0;
    quint64 rootIndex_ = 0;
    qsizetype offsetTable_ = 0;
};
