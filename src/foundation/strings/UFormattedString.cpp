#include "foundation/strings/UFormattedString.h"

#include "foundation/strings/UCLocaleFormat.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

const char* const UFemLocalizationContext = "Vantrel";
// Widths and precisions beyond this come only from broken formats; they must not blow up the text.
constexpr qint64 UMaxFieldWidth = 1024;

// One conversion directive: %[flags][width][.precision][length]conversion.
struct Directive {
    QString flags;
    int width = -1;
    int precision = -1;
    char16_t conversion = 0;
};

class Formatter {
public:
    Formatter(QStringView format, std::span<const UFormatArgument> arguments)
        : format_(format)
        , arguments_(arguments)
    {
    }

    QString run();

private:
    bool atEnd() const { return position_ >= format_.size(); }
    char16_t peek() const { return atEnd() ? 0 : format_[position_].unicode(); }
    const UFormatArgument* nextArgument();
    int readNumberOrStar();
    bool readDirective(Directive& directive);
    void appendConversion(const Directive& directive);
    void appendText(const Directive& directive, QString text);
    void appendNumber(const Directive& directive, const UFormatArgument& argument);

    QStringView format_;
    std::span<const UFormatArgument> arguments_;
    qsizetype position_ = 0;
    size_t nextArgument_ = 0;
    QString result_;
};

QString Formatter::run()
{
    result_.reserve(format_.size() + 16 * qsizetype(arguments_.size()));
    while (!atEnd()) {
        const qsizetype percent = format_.indexOf(u'%', position_);
        if (percent < 0) {
            result_ += format_.mid(position_);
            break;
        }
        result_ += format_.mid(position_, percent - position_);
        const qsizetype start = percent;
        position_ = percent + 1;
        Directive directive;
        if (readDirective(directive))
            appendConversion(directive);
        else
            result_ += format_.mid(start, position_ - start);
    }
    return result_;
}

const UFormatArgument* Formatter::nextArgument()
{
    if (nextArgument_ >= arguments_.size())
        return nullptr;
    return &arguments_[nextArgument_++];
}

int Formatter::readNumberOrStar()
{
    qint64 number = 0;
    if (peek() == u'*') {
        ++position_;
        const UFormatArgument* argument = nextArgument();
        number = argument ? argument->toSigned() : 0;
    } else {
        while (peek() >= u'0' && peek() <= u'9') {
            number = std::min(number * 10 + (peek() - u'0'), UMaxFieldWidth);
            ++position_;
        }
    }
    return int(std::clamp(number, -UMaxFieldWidth, UMaxFieldWidth));
}

bool Formatter::readDirective(Directive& directive)
{
    while (QStringView(u"-+ #0").contains(QChar(peek())) && !atEnd())
        directive.flags += QChar(format_[position_++]);
    if (peek() == u'*' || (peek() >= u'1' && peek() <= u'9')) {
        directive.width = readNumberOrStar();
        if (directive.width < 0) {
            directive.flags += u'-';
            directive.width = -directive.width;
        }
    }
    if (peek() == u'.') {
        ++position_;
        directive.precision = readNumberOrStar();
    }
    while (QStringView(u"hlqLzjt").contains(QChar(peek())) && !atEnd())
        ++position_;
    if (atEnd())
        return false;
    directive.conversion = format_[position_++].unicode();
    return QStringView(u"@sSCcdiuxXofFeEgGaAp%").contains(QChar(directive.conversion));
}

void Formatter::appendConversion(const Directive& directive)
{
    if (directive.conversion == u'%') {
        result_ += u'%';
        return;
    }
    const UFormatArgument* argument = nextArgument();
    if (!argument)
        return;
    switch (directive.conversion) {
    case u'@':
    case u's':
    case u'S':
        appendText(directive, argument->toText());
        return;
    case u'C':
    case u'c':
        appendText(directive, QString(QChar(char16_t(argument->toUnsigned()))));
        return;
    default:
        appendNumber(directive, *argument);
    }
}

void Formatter::appendText(const Directive& directive, QString text)
{
    if (directive.precision >= 0 && text.size() > directive.precision)
        text.truncate(directive.precision);
    const qsizetype padding = directive.width - text.size();
    if (padding <= 0) {
        result_ += text;
    } else if (directive.flags.contains(u'-')) {
        result_ += text + QString(padding, u' ');
    } else {
        result_ += QString(padding, u' ') + text;
    }
}

std::string printfDirective(const Directive& directive, const char* length)
{
    std::string text(1, '%');
    text.append(directive.flags.toStdString());
    if (directive.width >= 0)
        text.append(std::to_string(directive.width));
    if (directive.precision >= 0) {
        text.push_back('.');
        text.append(std::to_string(directive.precision));
    }
    text += length;
    text += char(directive.conversion);
    return text;
}

template <typename T> QString printfNumber(const std::string& directive, T value)
{
    return QString::fromLatin1(UCLocaleFormat(directive.c_str(), value));
}

void Formatter::appendNumber(const Directive& directive, const UFormatArgument& argument)
{
    switch (directive.conversion) {
    case u'd':
    case u'i':
        result_ += printfNumber(printfDirective(directive, "ll"), (long long)argument.toSigned());
        return;
    case u'u':
    case u'x':
    case u'X':
    case u'o':
        result_ += printfNumber(
            printfDirective(directive, "ll"), (unsigned long long)argument.toUnsigned());
        return;
    case u'p': {
        Directive hex = directive;
        hex.conversion = u'x';
        hex.flags += u'#';
        result_
            += printfNumber(printfDirective(hex, "ll"), (unsigned long long)argument.toUnsigned());
        return;
    }
    default:
        result_ += printfNumber(printfDirective(directive, ""), argument.toDouble());
    }
}

} // namespace

QString UFormatArgument::toText() const
{
    if (const auto* text = std::get_if<QString>(&value_))
        return *text;
    if (const auto* unit = std::get_if<QChar>(&value_))
        return QString(*unit);
    if (const auto* number = std::get_if<qint64>(&value_))
        return QString::number(*number);
    if (const auto* number = std::get_if<quint64>(&value_))
        return QString::number(*number);
    return QString::number(std::get<double>(value_), 'g', QLocale::FloatingPointShortest);
}

qint64 UFormatArgument::toSigned() const
{
    if (const auto* number = std::get_if<qint64>(&value_))
        return *number;
    return qint64(toUnsigned());
}

quint64 UFormatArgument::toUnsigned() const
{
    if (const auto* number = std::get_if<quint64>(&value_))
        return *number;
    if (const auto* number = std::get_if<qint64>(&value_))
        return quint64(*number);
    if (const auto* unit = std::get_if<QChar>(&value_))
        return unit->unicode();
    if (const auto* number = std::get_if<double>(&value_)) {
        if (!std::isfinite(*number))
            return 0;
        return *number < 0 ? quint64(qint64(std::max(*number, -9.2e18)))
                           : quint64(std::min(*number, 1.8e19));
    }
    return 0;
}

double UFormatArgument::toDouble() const
{
    if (const auto* number = std::get_if<double>(&value_))
        return *number;
    if (const auto* number = std::get_if<qint64>(&value_))
        return double(*number);
    if (const auto* number = std::get_if<quint64>(&value_))
        return double(*number);
    if (const auto* unit = std::get_if<QChar>(&value_))
        return unit->unicode();
    return 0.0;
}

QString UFormatWithArguments(QStringView format, std::span<const UFormatArgument> arguments)
{
    return Formatter(format, arguments).run();
}

QString ULocalizedString(const char* englishText)
{
    return QCoreApplication::translate(UFemLocalizationContext, englishText);
}

QString ULocalizedString(const QString& englishText)
{
    return ULocalizedString(englishText.toUtf8().constData());
}
