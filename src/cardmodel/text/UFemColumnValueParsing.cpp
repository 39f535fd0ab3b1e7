#include "cardmodel/text/UFemColumnValueParsing.h"

#include "cardmodel/text/UFemModelValueParser.h"
#include "foundation/containers/URange.h"

namespace {

QStringView viewOfRange(QStringView string, const URange& range)
{
    return string.mid(qsizetype(range.location), qsizetype(range.length));
}

QString textOfRange(QStringView string, const URange& range)
{
    return viewOfRange(string, range).toString();
}

bool isTrimmedBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedView(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isTrimmedBlank(text[first]))
        ++first;
    while (last > first && isTrimmedBlank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

// Runs a column parser and keeps the range of its text and its value when it succeeds.
template <typename Value, typename Parser>
[[nodiscard]] bool parseValueColumn(QStringView columnString,
    std::optional<QStringView>* valueString, Value* value, UErrorPtr* error, Parser parser)
{
    URange range;
    Value parsed {};
    UErrorPtr failure;
    if (!parser(columnString, range, parsed, &failure) || failure) {
        UFemSetError(error, failure);
        return false;
    }
    if (range.length == 0)
        return true;
    *valueString = viewOfRange(columnString, range);
    *value = parsed;
    return true;
}

} // namespace

bool UFemParseRealColumnValue(QStringView columnString, std::optional<QStringView>* valueString,
    double* value, UErrorPtr* error)
{
    return parseValueColumn(columnString, valueString, value, error, UFemParseRealColumnString);
}

bool UFemParseIntegerColumnValue(QStringView columnString, std::optional<QStringView>* valueString,
    qint64* value, UErrorPtr* error)
{
    return parseValueColumn(columnString, valueString, value, error, UFemParseIntegerColumnString);
}

bool UFemParseBoolColumnValue(QStringView columnString, std::optional<QStringView>* valueString,
    bool* value, UErrorPtr* error)
{
    std::optional<QStringView> parsed;
    if (!parseValueColumn(columnString, &parsed, value, error, UFemParseBoolColumnString))
        return false;
    // The parsed range leaves out a sign, which has no effect; the text keeps it as written.
    if (parsed)
        *valueString = trimmedView(columnString);
    return true;
}

bool UFemParseDegreeOfFreedomColumnValue(
    QStringView columnString, UFemParsedDegreeOfFreedom* degreeOfFreedom, UErrorPtr* error)
{
    URange nodeNameRange;
    URange directionRange;
    int directionIndex = 0;
    UErrorPtr failure;
    if (!UFemParseDegreeOfFreedomColumnString(
            columnString, nodeNameRange, directionRange, directionIndex, &failure)
        || failure) {
        UFemSetError(error, failure);
        return false;
    }
    degreeOfFreedom->nodeCardNameString = textOfRange(columnString, nodeNameRange);
    // The direction text runs from the '@' on.
    const qsizetype at
        = columnString.indexOf(u'@', qsizetype(nodeNameRange.location + nodeNameRange.length));
    const qsizetype directionEnd = qsizetype(directionRange.location + directionRange.length);
    if (directionRange.length != 0 && at >= 0 && at < directionEnd)
        degreeOfFreedom->direction6String = columnString.mid(at, directionEnd - at).toString();
    else
        degreeOfFreedom->direction6String = textOfRange(columnString, directionRange);
    degreeOfFreedom->direction6 = quint64(directionIndex);
    return true;
}

std::optional<QString> UFemTrimmedCardNameString(const QString& text, UErrorPtr* error)
{
    const std::optional<QStringView> name = UFemTrimmedCardNameView(text, error);
    if (!name)
        return std::nullopt;
    // The whole text shares its buffer rather than copying it.
    if (name->size() == text.size())
        return text;
    return name->toString();
}

std::optional<QStringView> UFemTrimmedCardNameView(QStringView text, UErrorPtr* error)
{
    // Labels and searched names come with TABs around them too, which the name reader does not
    // skip.
    const QStringView trimmed = trimmedView(text);
    if (trimmed.isEmpty())
        return std::nullopt;
    URange range;
    UErrorPtr failure;
    UFemParseCardNameColumnString(trimmed, range, &failure);
    if (failure) {
        UFemSetError(error, failure);
        return std::nullopt;
    }
    if (range.length == 0)
        return std::nullopt;
    return viewOfRange(trimmed, range);
}
