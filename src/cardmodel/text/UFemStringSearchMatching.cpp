// Matching the search string inside one text: contains (with the platform's case folding when
// blanks count), begins with, equals and ends with; ignoring blanks skips U+0020 of the text
// between matched characters, ignoring case compares the simple case folding of both sides.
#include "cardmodel/text/UFemStringSearchManager.h"

namespace {

constexpr char16_t Blank = u' ';
constexpr URange NoMatch { UFemRangeNotFound, 0 };

} // namespace

quint64 UFemStringSearchManager::searchStringWithTargetString(
    const QString& targetString, URange targetSearchRange, UErrorPtr*) const
{
    return matchRangeInTargetString(targetString, targetSearchRange).location;
}

URange UFemStringSearchManager::matchRangeInTargetString(
    const QString& targetString, URange targetSearchRange) const
{
    const quint64 length = quint64(targetString.size());
    if (length == 0)
        return NoMatch;
    URange range = targetSearchRange;
    if (range.location == UFemRangeNotFound)
        range = { 0, length };
    if (range.length == 0 || range.location >= length)
        return NoMatch;
    range.length = std::min(range.length, length - range.location);
    if (quint64(preparedSearchString_.size()) > range.length)
        return NoMatch;
    const QStringView text(targetString);
    switch (searchFunction_) {
    case UFemStringSearchFunctionContains:
        return doesSearchIgnoreSpace_ ? matchContainsIgnoringSpace(text, range)
                                      : matchContains(text, range);
    case UFemStringSearchFunctionBeginsWith:
        return matchBeginsWith(text, range, false);
    case UFemStringSearchFunctionEquals:
        return matchBeginsWith(text, range, true);
    default:
        return matchEndsWith(text, range);
    }
}

bool UFemStringSearchManager::isSameCharacter(
    char16_t textCharacter, char16_t searchCharacter) const
{
    if (textCharacter == searchCharacter)
        return true;
    return doesSearchIgnoreCase_
        && QChar::toCaseFolded(char32_t(textCharacter))
        == QChar::toCaseFolded(char32_t(searchCharacter));
}

URange UFemStringSearchManager::matchContains(QStringView text, URange range) const
{
    const QStringView window = text.mid(qsizetype(range.location), qsizetype(range.length));
    const Qt::CaseSensitivity sensitivity
        = doesSearchIgnoreCase_ ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const qsizetype found = doesSearchBackDirection_
        ? window.lastIndexOf(QStringView(searchString_), -1, sensitivity)
        : window.indexOf(QStringView(searchString_), 0, sensitivity);
    if (found < 0)
        return NoMatch;
    return { range.location + quint64(found), quint64(searchString_.size()) };
}

URange UFemStringSearchManager::matchContainsIgnoringSpace(QStringView text, URange range) const
{
    const qint64 begin = qint64(range.location);
    const qint64 end = qint64(range.location + range.length);
    const qsizetype n = preparedSearchString_.size();
    const char16_t* search = reinterpret_cast<const char16_t*>(preparedSearchString_.constData());
    const auto at = [&](qint64 i) { return char16_t(text[i].unicode()); };
    if (!doesSearchBackDirection_) {
        for (qint64 start = begin; start < end; ++start) {
            qint64 q = start;
            qsizetype j = 0;
            while (j < n && q < end && isSameCharacter(at(q), search[j])) {
                ++q;
                if (++j < n) {
                    while (q < end && at(q) == Blank)
                        ++q;
                }
            }
            if (j == n)
                return { quint64(start), quint64(q - start) };
        }
        return NoMatch;
    }
    for (qint64 last = end - 1; last >= begin; --last) {
        qint64 q = last;
        qsizetype j = n;
        while (j > 0 && q >= begin && isSameCharacter(at(q), search[j - 1])) {
            if (--j == 0)
                break;
            --q;
            while (q >= begin && at(q) == Blank)
                --q;
        }
        if (j == 0)
            return { quint64(q), quint64(last + 1 - q) };
    }
    return NoMatch;
}

URange UFemStringSearchManager::matchBeginsWith(
    QStringView text, URange range, bool mustReachEnd) const
{
    quint64 q = range.location;
    const quint64 end = range.location + range.length;
    quint64 first = q;
    for (qsizetype j = 0; j < preparedSearchString_.size(); ++j) {
        while (doesSearchIgnoreSpace_ && q < end && text[qsizetype(q)] == Blank)
            ++q;
        if (q >= end
            || !isSameCharacter(text[qsizetype(q)].unicode(), preparedSearchString_[j].unicode()))
            return NoMatch;
        if (j == 0)
            first = q;
        ++q;
    }
    const quint64 matchEnd = q;
    if (mustReachEnd) {
        while (q < end && text[qsizetype(q)] == Blank)
            ++q;
        if (q != end)
            return NoMatch;
    }
    return { first, matchEnd - first };
}

URange UFemStringSearchManager::matchEndsWith(QStringView text, URange range) const
{
    const qint64 begin = qint64(range.location);
    qint64 q = qint64(range.location + range.length) - 1;
    while (q >= begin && text[q] == Blank)
        --q;
    const qint64 last = q;
    for (qsizetype j = preparedSearchString_.size() - 1; j >= 0; --j) {
        while (doesSearchIgnoreSpace_ && j < preparedSearchString_.size() - 1 && q >= begin
            && text[q] == Blank)
            --q;
        if (q < begin || !isSameCharacter(text[q].unicode(), preparedSearchString_[j].unicode()))
            return NoMatch;
        --q;
    }
    return { quint64(q + 1), quint64(last - q) };
}
