#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QVariant>

#include <bit>
#include <optional>

// A date of an archive that no QDateTime holds exactly (NaN, out of any calendar's reach, or
// finer than a millisecond), kept as its seconds from 2001-01-01 so that it writes back as read.
struct KeyedArchiveDate {
    double referenceSeconds = 0.0;

    // Bit for bit, so that a NaN date equals itself.
    friend bool operator==(const KeyedArchiveDate& a, const KeyedArchiveDate& b)
    {
        return std::bit_cast<quint64>(a.referenceSeconds)
            == std::bit_cast<quint64>(b.referenceSeconds);
    }
};

Q_DECLARE_METATYPE(KeyedArchiveDate)

// A date read as seconds from 2001-01-01: a QDateTime (UTC) when one gives the same seconds back,
// else a KeyedArchiveDate.
QVariant KeyedArchiveDateValue(double referenceSeconds);
// The seconds of a QDateTime or KeyedArchiveDate value; nullopt for any other value.
std::optional<double> KeyedArchiveDateReferenceSeconds(const QVariant& value);
