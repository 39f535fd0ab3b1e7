#include "foundation/UFormattedString.h"

#include <QCoreApplication>
#include <QLocale>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <string>

namespace {

const char* const UFemLocalizationContext = "Vantrel";

// Locale `C` for this thread while the scope lasts, so that numbers never take a decimal comma.
class ScopedCNumericLocale {
public:
    ScopedCNumericLocale()
        : previous_(uselocale(cLocale()))
    {
    }
    ~ScopedCNumericLocale() { uselocale(previous_); }
    ScopedCNumericLocale(const ScopedCNumericLocale&) = delete;
    ScopedCNumericLocale& operator=(const ScopedCNumericLocale&) = delete;

private:
    static locale_t cLocale()
    {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return locale;
    }
    locale_t previous_;
};

// One conversion specification: %[flags][width][.precision][length]conversion.
struct Specification {
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
    bool readSpecification(Specification& specification);
    void appendConversion(const Specification& specification);
    void appendText(const Specification& specification, QString text);
    void appendNumber(const Specification& specification, const UFormatArgument& argument);

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
        Specification specification;
        if (readSpecification(specification))
            appendConversion(specification);
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
    if (peek() == u'*') {
        ++position_;
        const UFormatArgument* argument = nextArgument();
        return argument ? int(argument->toSigned()) : 0;
    }
    qint64 number = 0;
    while (peek() >= u'0' && peek() <= u'9') {
        number
            = std::min<qint64>(number * 10 + (peek() - u'0'), std::numeric_limits<int>::max() / 2);
        ++position_;
    }
    return int(number);
}

bool Formatter::readSpecification(Specification& specification)
{
    while (QStringView(u"-+ #0").contains(QChar(peek())) && !atEnd())
        specification.flags += QChar(format_[position_++]);
    if (peek() == u'*' || (peek() >= u'1' && peek() <= u'9')) {
        specification.width = readNumberOrStar();
        if (specification.width < 0) {
            specification.flags += u'-';
            specification.width = -specification.width;
        }
    }
    if (peek() == u'.') {
        ++position_;
        specification.precision = readNumberOrStar();
    }
    while (QStringView(u"hlqLzjt").contains(QChar(peek())) && !atEnd())
        ++position_;
    if (atEnd())
        return false;
    specification.conversion = format_[position_++].unicode();
    return QStringView(u"@sSCcdiuxXofFeEgGaAp%").contains(QChar(specification.conversion));
}

void Formatter::appendConversion(const Specification& specification)
{
    if (specification.conversion == u'%') {
        result_ += u'%';
        return;
    }
    const UFormatArgument* argument = nextArgument();
    if (!argument)
        return;
    switch (specification.conversion) {
    case u'@':
    case u's':
    case u'S':
        appendText(specification, argument->toText());
        return;
    case u'C':
    case u'c':
        appendText(specification, QString(QChar(char16_t(argument->toUnsigned()))));
        return;
    default:
        appendNumber(specification, *argument);
    }
}

void Formatter::appendText(const Specification& specification, QString text)
{
    if (specification.precision >= 0 && text.size() > specification.precision)
        text.truncate(specification.precision);
    const qsizetype padding = specification.width - text.size();
    if (padding <= 0) {
        result_ += text;
    } else if (specification.flags.contains(u'-')) {
        result_ += text + QString(padding, u' ');
    } else {
        result_ += QString(padding, u' ') + text;
    }
}

std::string printfSpecification(const Specification& specification, const char* length)
{
    std::string text = "%" + specification.flags.toStdString();
    if (specification.width >= 0)
        text += std::to_string(specification.width);
    if (specification.precision >= 0)
        text += "." + std::to_string(specification.precision);
    text += length;
    text += char(specification.conversion);
    return text;
}

template <typename T> QString printfNumber(const std::string& specification, T value)
{
    const ScopedCNumericLocale cLocale;
    const int size = std::snprintf(nullptr, 0, specification.c_str(), value);
    if (size <= 0)
        return QString();
    std::string buffer(size_t(size) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), specification.c_str(), value);
    buffer.resize(size_t(size));
    return QString::fromLatin1(buffer);
}

void Formatter::appendNumber(const Specification& specification, const UFormatArgument& argument)
{
    switch (specification.conversion) {
    case u'd':
    case u'i':
        result_ += printfNumber(
            printfSpecification(specification, "ll"), (long long)argument.toSigned());
        return;
    case u'u':
    case u'x':
    case u'X':
    case u'o':
        result_ += printfNumber(
            printfSpecification(specification, "ll"), (unsigned long long)argument.toUnsigned());
        return;
    case u'p': {
        Specification hex = specification;
        hex.conversion = u'x';
        hex.flags += u'#';
        result_ += printfNumber(
            printfSpecification(hex, "ll"), (unsigned long long)argument.toUnsigned());
        return;
    }
    default:
        result_ += printfNumber(printfSpecification(specification, ""), argument.toDouble());
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
