#include "calculation/results/UFemResultDataManager_ClipboardCardValueImpl.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/data/UFemCardDataController.h"
#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "foundation/errors/UErrorRangeHighlightedString.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UUnicharString.h"

#include <algorithm>
#include <limits>

namespace {

const char* const clipboardRecoverySuggestion
    = "To get Clipboard Card Value, Clipboard must contain string with card "
      "name and the value, like\nelem_01 , 12.3 \nelem_02 , 13.5\n...";

bool isSeparator(char16_t unit, UFemColumnSeparatingCharacterType type)
{
    return (unit == UFemCommaCharacter && UFemIsCommaSeparator(type))
        || (unit == UFemTabCharacter && UFemIsTabSeparator(type));
}

// The error of a line that does not read, showing the text up to the marked range.
UErrorPtr markedError(
    const UUnicharString& source, const QString& description, quint64 location, quint64 length)
{
    const quint64 size = source.length();
    location = std::min(location, size);
    length = std::min(length, size - location);
    return UFemClipboardCardValueStringError_withDescription(description,
        ULocalizedString(clipboardRecoverySuggestion),
        UMakeErrorRangeHighlightedString(source.string(), 0, location + length, location, length));
}

UErrorPtr characterError(const UUnicharString& source, const char* description, quint64 location)
{
    return markedError(source, ULocalizedString(description), location, 1);
}

} // namespace

UFemResultDataManager_ClipboardCardValueImpl::UFemResultDataManager_ClipboardCardValueImpl(
    const UFemCardDataController* dataController, RepeatedNameAlert repeatedNameAlert)
    : dataController_(dataController)
    , repeatedNameAlert_(std::move(repeatedNameAlert))
{
}

bool UFemResultDataManager_ClipboardCardValueImpl::
    loadClipboardCardValueWithClipboardCardValueString(const QString& clipboardCardValueString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error)
{
    const UUnicharString source(clipboardCardValueString);
    if (UErrorPtr failure = loadLines(source, columnSeparatingCharacterType)) {
        clipboardCardValueDictionary_.clear();
        clipboardCardValueCount_ = 0;
        UFemSetError(error, failure);
        return false;
    }
    if (clipboardCardValueCount_ != quint64(clipboardCardValueDictionary_.size())
        && repeatedNameAlert_)
        repeatedNameAlert_(ULocalizedString("Some card name for ClipboardCardValue are repeated."),
            ULocalizedString("The values are overwritten by latter values."));
    return true;
}

UErrorPtr UFemResultDataManager_ClipboardCardValueImpl::loadLines(
    const UUnicharString& source, UFemColumnSeparatingCharacterType type)
{
    clipboardCardValueDictionary_.clear();
    clipboardCardValueCount_ = 0;
    const quint64 cardCount = dataController_ != nullptr ? dataController_->numberOfCards() : 0;
    if (clipboardCardValueTable_.size() < cardCount)
        clipboardCardValueTable_.resize(cardCount);
    quint64 index = 0;
    for (;;) {
        if (UErrorPtr error = readLine(source, index, type))
            return error;
        if (index >= source.length())
            return nullptr;
        // Text copied on Windows ends its lines with CR LF: one line end, not a blank line.
        index = UFemIndexAfterLineEnd(source, index, source.length());
    }
}

// One line from `index`; leaves `index` on its line end, or at the end of the text. A blank last
// line ends the text.
UErrorPtr UFemResultDataManager_ClipboardCardValueImpl::readLine(
    const UUnicharString& source, quint64& index, UFemColumnSeparatingCharacterType type)
{
    const quint64 end = source.length();
    URange range {};
    UErrorPtr error;
    char16_t stop = UFemReadModelColumnString(source, index, end, range, type, &error);
    if (error)
        return error;
    if (range.length == 0)
        return index >= end ? nullptr
                            : characterError(source, "Unexpected Character exists.", index);
    if (!isSeparator(stop, type))
        return characterError(
            source, "Unexpected Character exists without comma or tab character.", index);
    const QString cardNameString = source.substringWithRange(range);
    ++index;
    stop = UFemReadModelColumnString(source, index, end, range, type, &error);
    if (error)
        return error;
    if (range.length == 0) {
        if (isSeparator(stop, type))
            return characterError(
                source, "Unexpected Character exists without comma or tab character.", index);
        return markedError(source,
            ULocalizedFormattedString("Value column for card: %@ is empty.", cardNameString), index,
            1);
    }
    URange valueRange {};
    double value = 0.0;
    if (!UFemParseRealColumnString(
            source.stringView().mid(qsizetype(range.location), qsizetype(range.length)), valueRange,
            value, &error))
        return UFemClipboardCardValueStringError_withBaseError(error);
    storeValue(cardNameString, value);
    if (UErrorPtr lineEndError = readLineEnd(source, index, stop, type))
        return lineEndError;
    ++clipboardCardValueCount_;
    return nullptr;
}

// What may follow the value: empty columns and a comment.
UErrorPtr UFemResultDataManager_ClipboardCardValueImpl::readLineEnd(const UUnicharString& source,
    quint64& index, char16_t stop, UFemColumnSeparatingCharacterType type) const
{
    const quint64 end = source.length();
    URange range {};
    UErrorPtr error;
    while (isSeparator(stop, type)) {
        ++index;
        stop = UFemReadModelColumnString(source, index, end, range, type, &error);
        if (error)
            return UFemClipboardCardValueStringError_withBaseError(error);
        if (range.length != 0)
            return markedError(source, ULocalizedString("Unexpected Column exists."),
                range.location, range.length);
    }
    if (stop == UFemCommentCharacter) {
        ++index;
        UFemReadModelCommentString(source, index, end, range, &error);
        if (error)
            return UFemClipboardCardValueStringError_withBaseError(error);
    }
    return nullptr;
}

void UFemResultDataManager_ClipboardCardValueImpl::storeValue(
    const QString& cardNameString, double value)
{
    const quint64 slot = clipboardCardValueCount_;
    if (slot >= clipboardCardValueTable_.size()) {
        // Slots are indexes, so growing the table never invalidates the dictionary.
        constexpr quint64 smallGrowth = 1024;
        constexpr quint64 largeTableSize = 4096;
        const quint64 capacity = clipboardCardValueTable_.size();
        clipboardCardValueTable_.resize(
            capacity > largeTableSize ? capacity * 5 / 4 : capacity + smallGrowth);
    }
    clipboardCardValueTable_[slot] = value;
    clipboardCardValueDictionary_.insert(cardNameString, slot);
}

bool UFemResultDataManager_ClipboardCardValueImpl::getClipboardCardValue(
    double* value, const UFemCard& card, UErrorPtr*) const
{
    return getClipboardCardValue(value, card.cardNameString().value_or(QString()));
}

bool UFemResultDataManager_ClipboardCardValueImpl::getClipboardCardValue(
    double* value, const QString& cardNameString) const
{
    const auto entry = clipboardCardValueDictionary_.constFind(cardNameString);
    if (entry == clipboardCardValueDictionary_.constEnd()) {
        *value = std::numeric_limits<double>::quiet_NaN();
        return false;
    }
    *value = clipboardCardValueTable_[entry.value()];
    return true;
}
