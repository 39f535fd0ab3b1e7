#include "cardmodel/text/UFemStringSearchManager.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemStringViewSource.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsSearchString.h"
#include "foundation/strings/UFormattedString.h"

#include <algorithm>

namespace {

constexpr quint64 NotGiven = UFemRangeNotFound;

_UFemSearchCardStringRange failSearch(UErrorPtr* error, const char* description)
{
    UFemSetError(error, UFemUnexpectedError_withDescription(ULocalizedString(description)));
    return {};
}

// The token ranges of the columns of a card string, the label first, as far as they read.
std::vector<URange> columnRangesOfCardString(const QString& cardString)
{
    std::vector<URange> columns;
    const UFemStringViewSource source(cardString);
    const quint64 end = source.length();
    quint64 index = 0;
    for (;;) {
        URange token;
        UErrorPtr readError;
        const char16_t stop = UFemReadModelColumnString(
            source, index, end, token, UFemColumnSeparatingCharacterTypeComma, &readError);
        if (readError)
            break;
        if (token.length > 0)
            columns.push_back(token);
        if (stop != UFemCommaCharacter)
            break;
        ++index;
    }
    return columns;
}

URange intersection(URange a, quint64 from, quint64 to)
{
    const quint64 start = std::max(a.location, from);
    const quint64 end = std::min(a.location + a.length, to);
    return start < end ? URange { start, end - start } : URange { start, 0 };
}

} // namespace

std::shared_ptr<UFemStringSearchManager>
UFemStringSearchManager::stringSearchManagerWithSearchString(const QString& searchString,
    qint64 searchFunction, qint64 searchTarget, bool doesSearchBackDirection,
    bool doesSearchIgnoreSpace, bool doesSearchIgnoreCase, bool doesSearchWrapAround,
    UErrorPtr* error)
{
    QString prepared = searchString;
    if (doesSearchIgnoreSpace)
        prepared.remove(u' ');
    // A blank search string with ignore space would match everywhere without advancing.
    if (prepared.isEmpty()) {
        UFemSetError(error, UFemEmptySearchStringError());
        return nullptr;
    }
    if (searchFunction < UFemStringSearchFunctionContains
        || searchFunction > UFemStringSearchFunctionEndsWith) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(ULocalizedString("Unknown search function.")));
        return nullptr;
    }
    if (searchTarget < UFemStringSearchTargetCardString
        || searchTarget > UFemStringSearchTargetCardNameColumn) {
        UFemSetError(
            error, UFemUnexpectedError_withDescription(ULocalizedString("Unknown search target.")));
        return nullptr;
    }
    std::shared_ptr<UFemStringSearchManager> manager(new UFemStringSearchManager());
    manager->searchString_ = searchString;
    manager->preparedSearchString_ = prepared;
    manager->searchFunction_ = searchFunction;
    manager->searchTarget_ = searchTarget;
    manager->doesSearchBackDirection_ = doesSearchBackDirection;
    manager->doesSearchIgnoreSpace_ = doesSearchIgnoreSpace;
    manager->doesSearchIgnoreCase_ = doesSearchIgnoreCase;
    manager->doesSearchWrapAround_ = doesSearchWrapAround;
    return manager;
}

_UFemSearchCardStringRange
UFemStringSearchManager::searchStringWithCardArray_currentSelectedCardStringRange(
    std::span<UFemCard* const> cardArray, _UFemSearchCardStringRange currentSelectedCardStringRange,
    UErrorPtr* error) const
{
    const _UFemSearchCardStringRange& selection = currentSelectedCardStringRange;
    _UFemSearchCardStringRange range;
    if (selection.startCardIndex == NotGiven) {
        if (!selection.isNotFound())
            return failSearch(
                error, "CurrentSelectedCardStringRange error on searching string. (1)");
    } else if (doesSearchBackDirection_) {
        range.endCardIndex = selection.startCardIndex;
        range.endStringLocation
            = selection.startStringLocation == NotGiven ? 0 : selection.startStringLocation;
    } else if (selection.endCardIndex == NotGiven) {
        return failSearch(error, "CurrentSelectedCardStringRange error on searching string. (2)");
    } else if (selection.startStringLocation == NotGiven) {
        range.startCardIndex = selection.startCardIndex;
    } else {
        range.startCardIndex = selection.endCardIndex;
        range.startStringLocation = selection.endStringLocation;
    }
    return searchStringWithCardArray_searchCardStringRange(cardArray, range, error);
}

_UFemSearchCardStringRange UFemStringSearchManager::searchStringWithCardArray_searchCardStringRange(
    std::span<UFemCard* const> cardArray, _UFemSearchCardStringRange searchCardStringRange,
    UErrorPtr* error) const
{
    const _UFemSearchCardStringRange& r = searchCardStringRange;
    if (r.startStringLocation != NotGiven && r.startCardIndex == NotGiven)
        return failSearch(error, "Valid startStringLocation with invalid startCardIndex.");
    if (r.endStringLocation != NotGiven && r.endCardIndex == NotGiven)
        return failSearch(error, "Valid endStringLocation with invalid endCardIndex.");
    if (r.startCardIndex != NotGiven && r.endCardIndex != NotGiven) {
        if (r.startCardIndex > r.endCardIndex)
            return failSearch(error, "startCardIndex is bigger than endCardIndex.");
        if (r.startCardIndex == r.endCardIndex && r.startStringLocation != NotGiven
            && r.endStringLocation != NotGiven && r.startStringLocation > r.endStringLocation)
            return failSearch(
                error, "startStringLocation is bigger than endStringLocation at same cardIndex.");
    }
    const _UFemSearchCardStringRange found = searchStringOfNoWrapAroundSearch(cardArray, r);
    if (!doesSearchWrapAround_ || !found.isNotFound())
        return found;
    if (!doesSearchBackDirection_) {
        const bool isFromBeginning = r.startCardIndex == NotGiven
            || (r.startCardIndex == 0
                && (r.startStringLocation == NotGiven || r.startStringLocation == 0));
        if (r.endCardIndex != NotGiven || isFromBeginning)
            return found;
        return searchStringOfNoWrapAroundSearch(
            cardArray, { NotGiven, NotGiven, r.startCardIndex, NotGiven });
    }
    if (r.startCardIndex != NotGiven || r.endCardIndex == NotGiven
        || r.endCardIndex >= cardArray.size())
        return found;
    if (r.endCardIndex + 1 == cardArray.size()) {
        std::vector<URange> parts;
        const QString text = searchTextOfCard(*cardArray[r.endCardIndex], parts);
        if (r.endStringLocation == NotGiven || r.endStringLocation >= quint64(text.size()))
            return found;
    }
    return searchStringOfNoWrapAroundSearch(cardArray, { r.endCardIndex, 0, NotGiven, NotGiven });
}

QString UFemStringSearchManager::searchTextOfCard(UFemCard& card, std::vector<URange>& parts) const
{
    parts.clear();
    QString text;
    switch (searchTarget_) {
    case UFemStringSearchTargetCardString:
    case UFemStringSearchTargetCardStringWithoutComment:
        text = searchTarget_ == UFemStringSearchTargetCardString
            ? UFemCardString(card)
            : UFemCardStringWithoutComment(card);
        if (!text.isEmpty())
            parts.push_back({ 0, quint64(text.size()) });
        return text;
    case UFemStringSearchTargetEachColumn:
        text = UFemCardStringWithoutComment(card);
        parts = columnRangesOfCardString(text);
        return text;
    case UFemStringSearchTargetCardNameColumn: {
        text = UFemCardStringWithoutComment(card);
        UErrorPtr readError;
        const URange name = UFemColumnRangeInCardString(
            text, 1, UFemColumnSeparatingCharacterTypeComma, &readError);
        if (name.location != UFemRangeNotFound && name.length > 0)
            parts.push_back(name);
        return text;
    }
    default:
        UFemRaiseProgramError(ULocalizedString("Unknown searchTarget."));
    }
}

_UFemSearchCardStringRange UFemStringSearchManager::searchStringOfNoWrapAroundSearch(
    std::span<UFemCard* const> cardArray, _UFemSearchCardStringRange searchCardStringRange) const
{
    const _UFemSearchCardStringRange& r = searchCardStringRange;
    if (cardArray.empty())
        return {};
    const quint64 lastIndex = cardArray.size() - 1;
    const quint64 startCard = r.startCardIndex == NotGiven ? 0 : r.startCardIndex;
    const quint64 endCard
        = r.endCardIndex == NotGiven ? lastIndex : std::min(r.endCardIndex, lastIndex);
    if (startCard > endCard)
        return {};
    const quint64 startLocation = r.startStringLocation == NotGiven ? 0 : r.startStringLocation;
    const bool back = doesSearchBackDirection_;
    const quint64 firstCard = back ? endCard : startCard;
    const quint64 lastCard = back ? startCard : endCard;
    std::vector<URange> parts;
    for (quint64 i = firstCard;; back ? --i : ++i) {
        const QString text = searchTextOfCard(*cardArray[i], parts);
        const quint64 length = quint64(text.size());
        // Only the first card visited is cut to its window; the last one's match is checked.
        const quint64 from = !back && i == firstCard ? startLocation : 0;
        const quint64 to = back && i == firstCard ? std::min(r.endStringLocation, length) : length;
        if (back)
            std::reverse(parts.begin(), parts.end());
        for (const URange& part : parts) {
            const URange window = intersection(part, from, to);
            if (window.length == 0)
                continue;
            const URange match = matchRangeInTargetString(text, window);
            if (match.location == UFemRangeNotFound)
                continue;
            if (i == lastCard) {
                const quint64 matchEnd = match.location + match.length;
                if (!back && r.endStringLocation != NotGiven && matchEnd > r.endStringLocation)
                    return {};
                if (back && (match.location < startLocation || matchEnd > length))
                    return {};
            }
            return { i, match.location, i, match.location + match.length };
        }
        if (i == lastCard)
            break;
    }
    return {};
}
