#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <array>
#include <concepts>
#include <span>
#include <variant>

// One argument of a printf-style format: a text, a signed or unsigned integer, a floating-point
// number or one UTF-16 unit. Conversions take the argument that matches them and convert the
// others the obvious way (an integer for %f, a number for %@).
class UFormatArgument {
public:
    using Value = std::variant<QString, qint64, quint64, double, QChar>;

    UFormatArgument(const QString& text)
        : value_(text)
    {
    }
    UFormatArgument(QStringView text)
        : value_(text.toString())
    {
    }
    UFormatArgument(QLatin1StringView text)
        : value_(QString(text))
    {
    }
    UFormatArgument(const char* utf8)
        : value_(QString::fromUtf8(utf8))
    {
    }
    UFormatArgument(QChar unit)
        : value_(unit)
    {
    }
    UFormatArgument(char16_t unit)
        : value_(QChar(unit))
    {
    }
    template <std::signed_integral T>
    UFormatArgument(T number)
        : value_(qint64(number))
    {
    }
    template <std::unsigned_integral T>
    requires(!std::same_as<T, bool>) UFormatArgument(T number)
        : value_(quint64(number))
    {
    }
    template <std::floating_point T>
    UFormatArgument(T number)
        : value_(double(number))
    {
    }
    UFormatArgument(bool) = delete;

    const Value& value() const { return value_; }

    QString toText() const;
    qint64 toSigned() const;
    quint64 toUnsigned() const;
    double toDouble() const;

private:
    Value value_;
};

// Formats `arguments` into `format` the way printf does, with %@ for a text and %C for one UTF-16
// unit. Numbers are written in the C locale whatever the process locale is. A missing argument
// prints as nothing; surplus arguments are ignored.
QString UFormatWithArguments(QStringView format, std::span<const UFormatArgument> arguments);

// The English text is the translation key; an untranslated text comes back as the key.
QString ULocalizedString(const char* englishText);
QString ULocalizedString(const QString& englishText);

template <typename... Arguments>
QString UFormattedString(QStringView format, const Arguments&... arguments)
{
    const std::array<UFormatArgument, sizeof...(Arguments)> list { UFormatArgument(arguments)... };
    return UFormatWithArguments(format, list);
}

template <typename... Arguments>
QString UFormattedString(const char* format, const Arguments&... arguments)
{
    return UFormattedString(QStringView(QString::fromUtf8(format)), arguments...);
}

template <typename... Arguments>
QString ULocalizedFormattedString(const char* format, const Arguments&... arguments)
{
    return UFormattedString(QStringView(ULocalizedString(format)), arguments...);
}

template <typename... Arguments>
QString ULocalizedFormattedString(const QString& format, const Arguments&... arguments)
{
    return UFormattedString(QStringView(ULocalizedString(format)), arguments...);
}
