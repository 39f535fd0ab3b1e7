#include "cardmodel/text/UFemModelValueParser.h"

#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "cardmodel/text/UFemStringViewSource.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsParsingString.h"
#include "foundation/strings/UCLocaleFormat.h"
#include "foundation/strings/UCharacterReader.h"
#include "foundation/strings/UFormattedString.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

constexpr quint64 MaxRealNumberLength = 32;
constexpr quint64 MaxIntegerDigits = 9;

bool isDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

char16_t skipBlanks(UCharacterReader& reader)
{
    while (reader.peek() == UFemBlankCharacter)
        reader.next();
    return reader.peek();
}

// Decimal conversion under the C locale, whatever the process's numeric locale is.
double cLocaleStringToDouble(const char* text)
{
    return strtod_l(text, nullptr, UCLocale());
}

char16_t failReading(quint64& index, quint64 at, const QString& description, const QString& excerpt,
    URange& range, UErrorPtr* error)
{
    range = {};
    index = at;
    UFemSetError(error, UFemReadingCharacterError_withDescription(description, QString(), excerpt));
    return 0;
}

// The characters of the number, as far as they fit into the conversion buffer.
struct NumberText {
    char characters[MaxRealNumberLength + 1] = {};
    quint64 length = 0;

    char16_t take(UCharacterReader& reader)
    {
        const char16_t unit = reader.next();
        if (length < MaxRealNumberLength)
            characters[length] = char(unit);
        ++length;
        return unit;
    }
    quint64 takeDigits(UCharacterReader& reader)
    {
        quint64 count = 0;
        for (; isDigit(reader.peek()); ++count)
            take(reader);
        return count;
    }
};

template <typename Value>
[[nodiscard]] bool failColumn(const UStringGettingCharactersProtocol& source, quint64 at,
    const char* message, URange& range, Value& value, UErrorPtr* error)
{
    range = {};
    value = Value();
    UFemSetError(error,
        UFemReadingCharacterError_withDescription(
            ULocalizedFormattedString(message, source.characterAtIndex(at)), QString(),
            UFemModelTextCharacterExcerpt(source, at)));
    return false;
}

// Blanks, then an optional sign: its index (or the index after the blanks) and whether it is '-'.
quint64 readSign(
    const UStringGettingCharactersProtocol& source, quint64& index, bool& isNegative, bool& hasSign)
{
    UCharacterReader reader(source);
    const char16_t unit = skipBlanks(reader);
    const quint64 signIndex = reader.index();
    hasSign = unit == u'+' || unit == u'-';
    isNegative = unit == u'-';
    index = signIndex + (hasSign ? 1 : 0);
    return signIndex;
}

// Reads a whole column with the unsigned reader `parse`, then applies the sign.
template <typename Value, typename Parse>
[[nodiscard]] bool parseSignedColumn(QStringView string, URange& range, Value& value,
    UErrorPtr* error, const char* message, Parse parse)
{
    const UFemStringViewSource source(string);
    bool isNegative = false;
    bool hasSign = false;
    quint64 index = 0;
    const quint64 signIndex = readSign(source, index, isNegative, hasSign);
    URange number;
    UErrorPtr parseError;
    parse(source, index, source.length(), number, value, &parseError);
    if (parseError) {
        range = {};
        value = Value();
        UFemSetError(error, parseError);
        return false;
    }
    if (index < source.length())
        return failColumn(source, index, message, range, value, error);
    if (isNegative)
        value = -value;
    if (!hasSign)
        range = number;
    else
        range = { signIndex, number.length == 0 ? 1 : number.location + number.length - signIndex };
    return true;
}

UErrorPtr degreeOfFreedomError(const UStringGettingCharactersProtocol& source,
    const QString& description, quint64 errorLocation, quint64 errorLength)
{
    return UFemReadingCharacterError_withDescription(description,
        ULocalizedFormattedString(
            "Format of 'Degree of Freedom' is like 'node_01@TX', or 'node_02@RZ'."),
        UFemModelTextExcerpt(source, 0, source.length(), errorLocation, errorLength));
}

[[nodiscard]] bool failDegreeOfFreedom(URange& nodeNameRange, URange& directionRange,
    int& directionIndex, UErrorPtr* error, UErrorPtr failure)
{
    nodeNameRange = {};
    directionRange = {};
    directionIndex = 0;
    UFemSetError(error, std::move(failure));
    return false;
}

// The direction letters after '@': base 0 for 'T', 3 for 'R'; -1 when they are none.
int directionIndexOf(char16_t kind, char16_t axis)
{
    const int base = kind == u'T' ? 0 : kind == u'R' ? 3 : -1;
    const int number = axis == u'X' ? 0 : axis == u'Y' ? 1 : axis == u'Z' ? 2 : -1;
    return base < 0 || number < 0 ? -1 : base + number;
}

} // namespace

char16_t UFemParseRealNumber(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, double& value, UErrorPtr* error)
{
    value = 0;
    range = { index, 0 };
    if (index >= end)
        return 0;
    UCharacterReader reader(source, index, end);
    skipBlanks(reader);
    const quint64 start = reader.index();
    range = { start, 0 };
    if (reader.atEnd()) {
        index = end;
        return 0;
    }
    const auto noDigits = [&] {
        const QString text = ULocalizedFormattedString(
            "Can't read as real number. No digits character in real number.");
        return failReading(index, reader.index(), text,
            UFemModelTextCharacterExcerpt(source, reader.index()), range, error);
    };
    NumberText text;
    quint64 digits = text.takeDigits(reader);
    if (reader.peek() == u'.') {
        text.take(reader);
        digits += text.takeDigits(reader);
    }
    if (reader.peek() == u'e' || reader.peek() == u'E') {
        if (digits == 0)
            return noDigits();
        text.take(reader);
        if (reader.peek() == u'+' || reader.peek() == u'-')
            text.take(reader);
        if (text.takeDigits(reader) == 0) {
            const QString message = ULocalizedFormattedString(
                "Can't read as real number. No digits character after 'E' (exponent number).");
            return failReading(index, reader.index(), message,
                UFemModelTextCharacterExcerpt(source, reader.index()), range, error);
        }
    } else if (digits == 0) {
        return noDigits();
    }
    if (text.length > MaxRealNumberLength) {
        range = {};
        index = start;
        UFemSetError(error,
            UFemFewChanceError_withDescription(
                UFormattedString(
                    "Float value string '%@' seems too long.", UFemQuotedToken(source)),
                ULocalizedFormattedString("Float value can be max 32 characters.")));
        return 0;
    }
    const double converted = cLocaleStringToDouble(text.characters);
    // Only an overflow gives infinity here; it would pass on as a "valid" number.
    if (!std::isfinite(converted)) {
        const QString message
            = ULocalizedFormattedString("Can't read as real number. The value is out of range.");
        return failReading(index, start, message,
            UFemModelTextExcerpt(source, 0, source.length(), start, text.length), range, error);
    }
    value = converted;
    range = { start, text.length };
    const char16_t stop = skipBlanks(reader);
    index = reader.index();
    return reader.atEnd() ? 0 : stop;
}

char16_t UFemParseIntegerNumber(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, qint64& value, UErrorPtr* error)
{
    value = 0;
    range = { index, 0 };
    if (index >= end)
        return 0;
    URange token;
    const char16_t stop = UFemReadNameToken(source, index, end, token);
    range = token;
    if (token.length == 0)
        return stop;
    qint64 number = 0;
    quint64 notDigit = end;
    UFemScanUnits<32>(
        source, token.location, token.location + token.length, [&](char16_t unit, quint64 at) {
            if (!isDigit(unit)) {
                notDigit = at;
                return false;
            }
            if (at - token.location < MaxIntegerDigits)
                number = number * 10 + (unit - u'0');
            return true;
        });
    if (notDigit != end) {
        const QString text = ULocalizedFormattedString(
            "Character '%C' exists in integer string.", source.characterAtIndex(notDigit));
        return failReading(
            index, notDigit, text, UFemModelTextCharacterExcerpt(source, notDigit), range, error);
    }
    if (token.length > MaxIntegerDigits) {
        range = {};
        index = token.location;
        UFemSetError(error,
            UFemFewChanceError_withDescription(
                ULocalizedFormattedString(
                    "Integer value '%@' is too big. ( Too long integer string. )",
                    UFemQuotedToken(source)),
                ULocalizedFormattedString("Integer value can be max 9 digits.")));
        return 0;
    }
    value = number;
    return stop;
}

char16_t UFemParseBoolValue(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, bool& value, UErrorPtr* error)
{
    value = false;
    range = { index, 0 };
    if (index >= end)
        return 0;
    URange token;
    const char16_t stop = UFemReadNameToken(source, index, end, token);
    range = token;
    if (token.length == 0)
        return stop;
    const QString text = token.length <= 3 ? source.substringWithRange(token) : QString();
    if (text == u"YES" || text == u"1" || text == u"NO" || text == u"0") {
        value = text == u"YES" || text == u"1";
        return stop;
    }
    quint64 integerIndex = token.location;
    URange integerRange;
    qint64 integer = 0;
    UErrorPtr integerError;
    UFemParseIntegerNumber(
        source, integerIndex, token.location + token.length, integerRange, integer, &integerError);
    if (integerError) {
        range = {};
        index = token.location;
        UFemSetError(error,
            UFemReadingCharacterError_withDescription(
                ULocalizedFormattedString("Can't read as Bool value."),
                ULocalizedFormattedString("Bool value is 'YES', 'NO' or integer value."),
                UFemModelTextExcerpt(source, 0, source.length(), token.location, token.length)));
        return 0;
    }
    value = integer != 0;
    return stop;
}

bool UFemParseRealColumnString(QStringView string, URange& range, double& value, UErrorPtr* error)
{
    return parseSignedColumn(string, range, value, error,
        "Character '%C' exists in Real Number Value column.",
        [](const auto& source, quint64& index, quint64 end, URange& number, double& parsed,
            UErrorPtr* parseError) {
            return UFemParseRealNumber(source, index, end, number, parsed, parseError);
        });
}

bool UFemParseIntegerColumnString(
    QStringView string, URange& range, qint64& value, UErrorPtr* error)
{
    return parseSignedColumn(string, range, value, error,
        "Character '%C' exists in Integer Value column.",
        [](const auto& source, quint64& index, quint64 end, URange& number, qint64& parsed,
            UErrorPtr* parseError) {
            return UFemParseIntegerNumber(source, index, end, number, parsed, parseError);
        });
}

bool UFemParseBoolColumnString(QStringView string, URange& range, bool& value, UErrorPtr* error)
{
    const UFemStringViewSource source(string);
    quint64 index = 0;
    if (!string.isEmpty() && (string.front() == u'+' || string.front() == u'-')) {
        UCharacterReader reader(source, 1, source.length());
        skipBlanks(reader);
        index = reader.index();
    }
    UErrorPtr parseError;
    UFemParseBoolValue(source, index, source.length(), range, value, &parseError);
    if (parseError) {
        value = false;
        UFemSetError(error, parseError);
        return false;
    }
    if (index < source.length())
        return failColumn(
            source, index, "Character '%C' exists in Boolean Value column.", range, value, error);
    return true;
}

char16_t UFemParseCardNameColumnString(QStringView string, URange& range, UErrorPtr* error)
{
    const UFemStringViewSource source(string);
    quint64 index = 0;
    UFemReadNameToken(source, index, source.length(), range);
    if (index < source.length()) {
        bool unused = false;
        // Only for the error it gives.
        static_cast<void>(failColumn(
            source, index, "Character '%C' exists in Card Name column.", range, unused, error));
    }
    return 0;
}

bool UFemParseDegreeOfFreedomColumnString(QStringView string, URange& nodeNameRange,
    URange& directionRange, int& directionIndex, UErrorPtr* error)
{
    const UFemStringViewSource source(string);
    const quint64 end = source.length();
    quint64 index = 0;
    URange name;
    UFemReadNameToken(source, index, end, name);
    nodeNameRange = {};
    directionRange = {};
    directionIndex = 0;
    if (name.length == 0) {
        if (index >= end)
            return true;
        return failDegreeOfFreedom(nodeNameRange, directionRange, directionIndex, error,
            degreeOfFreedomError(source,
                ULocalizedFormattedString(
                    "Character '%C' exists first in 'Degree of Freedom' column.",
                    source.characterAtIndex(index)),
                index, 1));
    }
    const quint64 nameEnd = name.location + name.length;
    if (index >= end) {
        return failDegreeOfFreedom(nodeNameRange, directionRange, directionIndex, error,
            degreeOfFreedomError(source,
                ULocalizedFormattedString(
                    "'@TX', '@TY', '@RZ', etc. doesn't exist after Node Card Name in 'Degree of "
                    "Freedom' column."),
                end, 0));
    }
    if (source.characterAtIndex(index) != u'@') {
        return failDegreeOfFreedom(nodeNameRange, directionRange, directionIndex, error,
            degreeOfFreedomError(source,
                ULocalizedFormattedString(
                    "Character '%C' exists on location '@' should exist in 'Degree of Freedom' "
                    "column.",
                    source.characterAtIndex(index)),
                index, 1));
    }
    UCharacterReader reader(source, index + 1, end);
    skipBlanks(reader);
    const quint64 letters = reader.index();
    const int direction = end - letters >= 2
        ? directionIndexOf(source.characterAtIndex(letters), source.characterAtIndex(letters + 1))
        : -1;
    if (direction < 0) {
        return failDegreeOfFreedom(nodeNameRange, directionRange, directionIndex, error,
            degreeOfFreedomError(source,
                ULocalizedFormattedString(
                    "'TX', 'TY', 'RZ', etc. doesn't exist after '@' in 'Degree of Freedom' "
                    "column."),
                nameEnd, end - nameEnd));
    }
    UCharacterReader rest(source, letters + 2, end);
    skipBlanks(rest);
    if (!rest.atEnd()) {
        return failDegreeOfFreedom(nodeNameRange, directionRange, directionIndex, error,
            degreeOfFreedomError(source,
                ULocalizedFormattedString(
                    "Character '%C' exists after '%@' in 'Degree of Freedom' column.", rest.peek(),
                    source.substringWithRange({ letters, 2 })),
                rest.index(), 1));
    }
    nodeNameRange = name;
    directionRange = { nameEnd, letters + 2 - nameEnd };
    directionIndex = direction;
    return true;
}
