#pragma once

#include "cardmodel/text/UFemSearchCardStringRange.h"
#include "foundation/containers/URange.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <memory>
#include <span>
#include <vector>

class UFemCard;

// What a search compares: contains, begins with, equals, ends with.
enum UFemStringSearchFunctionValue : qint64 {
    UFemStringSearchFunctionContains = 1,
    UFemStringSearchFunctionBeginsWith = 2,
    UFemStringSearchFunctionEquals = 3,
    UFemStringSearchFunctionEndsWith = 4,
};

// Which text of a card is searched: the card string (with comment and error tail), the card
// string without comment, each column of it on its own, or its name column.
enum UFemStringSearchTargetValue : qint64 {
    UFemStringSearchTargetCardString = 1,
    UFemStringSearchTargetCardStringWithoutComment = 2,
    UFemStringSearchTargetEachColumn = 3,
    UFemStringSearchTargetCardNameColumn = 4,
};

// One find request over the cards of a window's card list. It only finds; replacing is the
// caller's.
class UFemStringSearchManager {
public:
    [[nodiscard]] static std::shared_ptr<UFemStringSearchManager>
    stringSearchManagerWithSearchString(const QString& searchString, qint64 searchFunction,
        qint64 searchTarget, bool doesSearchBackDirection, bool doesSearchIgnoreSpace,
        bool doesSearchIgnoreCase, bool doesSearchWrapAround, UErrorPtr* error);

    const QString& searchString() const { return searchString_; }
    qint64 searchFunction() const { return searchFunction_; }
    qint64 searchTarget() const { return searchTarget_; }
    bool doesSearchBackDirection() const { return doesSearchBackDirection_; }
    bool doesSearchIgnoreSpace() const { return doesSearchIgnoreSpace_; }
    bool doesSearchIgnoreCase() const { return doesSearchIgnoreCase_; }
    bool doesSearchWrapAround() const { return doesSearchWrapAround_; }
    void setDoesSearchWrapAround(bool doesSearchWrapAround)
    {
        doesSearchWrapAround_ = doesSearchWrapAround;
    }

    // The next match after the selection (before it when searching backwards).
    _UFemSearchCardStringRange searchStringWithCardArray_currentSelectedCardStringRange(
        std::span<UFemCard* const> cardArray,
        _UFemSearchCardStringRange currentSelectedCardStringRange, UErrorPtr* error) const;
    // The first match in the range (the last when searching backwards), wrapping around as set.
    _UFemSearchCardStringRange searchStringWithCardArray_searchCardStringRange(
        std::span<UFemCard* const> cardArray, _UFemSearchCardStringRange searchCardStringRange,
        UErrorPtr* error) const;
    // Where the search string matches inside the range of one text; UFemRangeNotFound when it
    // does not. A range located at UFemRangeNotFound means the whole text.
    quint64 searchStringWithTargetString(
        const QString& targetString, URange targetSearchRange, UErrorPtr* error) const;
    // The match itself: its first character and its length in the text (inner blanks count);
    // located at UFemRangeNotFound when there is none.
    URange matchRangeInTargetString(const QString& targetString, URange targetSearchRange) const;

private:
    UFemStringSearchManager() = default;

    URange matchContains(QStringView text, URange range) const;
    URange matchContainsIgnoringSpace(QStringView text, URange range) const;
    URange matchBeginsWith(QStringView text, URange range, bool mustReachEnd) const;
    URange matchEndsWith(QStringView text, URange range) const;
    bool isSameCharacter(char16_t textCharacter, char16_t searchCharacter) const;

    _UFemSearchCardStringRange searchStringOfNoWrapAroundSearch(
        std::span<UFemCard* const> cardArray,
        _UFemSearchCardStringRange searchCardStringRange) const;
    // The text a card is searched in and the parts of it that are searched, in text order.
    QString searchTextOfCard(UFemCard& card, std::vector<URange>& parts) const;

    QString searchString_;
    // The search string as compared: blanks removed with ignore space, lower case with ignore case.
    QString preparedSearchString_;
    qint64 searchFunction_ = UFemStringSearchFunctionContains;
    qint64 searchTarget_ = UFemStringSearchTargetCardString;
    bool doesSearchBackDirection_ = false;
    bool doesSearchIgnoreSpace_ = false;
    bool doesSearchIgnoreCase_ = false;
    bool doesSearchWrapAround_ = false;
};
