#include "cardmodel/card/UFemCardTextColumns.h"

#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "cardmodel/text/UFemStringViewSource.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsParsingString.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UTextExcerpt.h"

#include <algorithm>

namespace {

// Text left behind by replaced columns is dropped once it outweighs the live text by this much.
constexpr qsizetype ColumnTextSlack = 64;
constexpr qsizetype InitialLineCapacity = 128;

const QString CommaBetweenColumns = QStringLiteral(" , ");
const QString CommaAfterLastColumn = QStringLiteral(" ,");
const QString CommentAfterColumns = QStringLiteral("    \\ ");
const QString CommentWithoutColumns = QStringLiteral("\\ ");
const QString TabComment = QStringLiteral("\t\\ ");
const QString TabBetweenColumns = QStringLiteral("\t");

bool isSeparator(char16_t unit, UFemColumnSeparatingCharacterType type)
{
    return (unit == UFemCommaCharacter && UFemIsCommaSeparator(type))
        || (unit == UFemTabCharacter && UFemIsTabSeparator(type));
}

} // namespace

void UFemCardTextColumns::reset()
{
    cardType_ = UFemNotSetCardType;
    columnText_.clear();
    columnSlots_.clear();
    liveTextLength_ = 0;
    hasColumnArray_ = false;
    commentString_.reset();
    errorCardString_.reset();
    errorObject_.reset();
    cardIdentifierNumber_ = ~quint64(0);
}

UFemCardTextColumnsPtr UFemCardTextColumns::copy() const
{
    auto columns = std::make_shared<UFemCardTextColumns>(*this);
    columns->cardIdentifierNumber_ = ~quint64(0);
    return columns;
}

qint32 UFemCardTextColumns::cardType() const
{
    if (cardType_ != UFemNotSetCardType)
        return cardType_;
    if (columnSlots_.isEmpty())
        return UFemNullCardType;
    if (columnSlots_.front().length == 0) {
        for (const ColumnSlot& column : columnSlots_) {
            if (column.length > 0)
                return UFemGenericNormalCardType;
        }
        return UFemNullCardType;
    }
    return columnView(0).front() == u'#' ? UFemSpecialCardType : UFemGenericNormalCardType;
}

bool UFemCardTextColumns::isNormalCard() const
{
    return UFemIsNormalCardType(cardType());
}

void UFemCardTextColumns::requireNoErrorLine() const
{
    if (errorCardString_)
        UFemRaiseProgramError(QStringLiteral("errorCardString!=nil"));
}

quint64 UFemCardTextColumns::numberOfColumns() const
{
    requireNoErrorLine();
    return quint64(columnSlots_.size());
}

std::optional<QString> UFemCardTextColumns::columnStringAtIndex(quint64 index) const
{
    requireNoErrorLine();
    if (index >= quint64(columnSlots_.size()) || columnSlots_[qsizetype(index)].length == 0)
        return std::nullopt;
    return columnView(qsizetype(index)).toString();
}

std::optional<QString> UFemCardTextColumns::commentString() const
{
    requireNoErrorLine();
    return commentString_;
}

UFemCardTextColumns::ColumnSlot& UFemCardTextColumns::slotAt(quint64 index)
{
    hasColumnArray_ = true;
    if (index >= quint64(columnSlots_.size())) {
        // Grown geometrically: resize alone would reallocate for every column of a long line.
        const qsizetype size = qsizetype(index) + 1;
        if (size > columnSlots_.capacity())
            columnSlots_.reserve(std::max(size, 2 * columnSlots_.capacity()));
        columnSlots_.resize(size);
    }
    return columnSlots_[qsizetype(index)];
}

void UFemCardTextColumns::storeColumn(QStringView text, quint64 index)
{
    ColumnSlot& slot = slotAt(index);
    liveTextLength_ += text.size() - slot.length;
    slot = { columnText_.size(), text.size() };
    columnText_ += text;
    compactColumnText();
}

void UFemCardTextColumns::compactColumnText()
{
    if (columnText_.size() <= 2 * liveTextLength_ + ColumnTextSlack)
        return;
    QString text;
    text.reserve(liveTextLength_);
    for (ColumnSlot& slot : columnSlots_) {
        const QStringView column = QStringView(columnText_).mid(slot.location, slot.length);
        slot.location = text.size();
        text += column;
    }
    columnText_ = std::move(text);
}

bool UFemCardTextColumns::setColumnString(const QString& string, quint64 index, UErrorPtr* error)
{
    requireNoErrorLine();
    UErrorPtr readError;
    std::optional<QString> text = UFemTrimmedColumnStringOrNil(string, &readError);
    if (readError) {
        UFemSetError(error, readError);
        return false;
    }
    storeColumn(text ? QStringView(*text) : QStringView(), index);
    return true;
}

bool UFemCardTextColumns::setCommentString(const QString& string, UErrorPtr* error)
{
    requireNoErrorLine();
    URange range;
    UErrorPtr readError;
    UFemTrimmedCommentStringRange(string, range, &readError);
    if (readError) {
        UFemSetError(error, readError);
        return false;
    }
    commentString_ = string.mid(qsizetype(range.location), qsizetype(range.length));
    return true;
}

void UFemCardTextColumns::setErrorObject(UErrorPtr error)
{
    cardType_ = UFemErrorCardType;
    errorObject_ = std::move(error);
}

std::optional<QString> UFemCardTextColumns::cardErrorDescriptionString() const
{
    if (cardType() != UFemErrorCardType)
        return std::nullopt;
    return errorObject_ ? errorObject_->localizedCardErrorDescription()
                        : ULocalizedString("Unknown Error.");
}

char16_t UFemCardTextColumns::readModelStringCharactersFromString(
    const UStringGettingCharactersProtocol& source, quint64& index,
    UFemColumnSeparatingCharacterType type)
{
    reset();
    const quint64 start = index;
    const quint64 end = source.length();
    UErrorPtr firstError;
    // The tokens' source ranges; their texts are fetched in one piece once the line has read.
    URange tokens;
    for (quint64 column = 0;; ++column) {
        URange token;
        char16_t stop = UFemReadModelColumnString(source, index, end, token, type, &firstError);
        if (firstError)
            break;
        // A token is already a trimmed single column, so it needs no second reading.
        if (token.length > 0) {
            if (tokens.length == 0)
                tokens.location = token.location;
            tokens.length = token.location + token.length - tokens.location;
            slotAt(column)
                = { qsizetype(token.location - tokens.location), qsizetype(token.length) };
            liveTextLength_ += qsizetype(token.length);
        }
        if (isSeparator(stop, type)) {
            ++index;
            continue;
        }
        if (tokens.length > 0)
            columnText_ = source.substringWithRange(tokens);
        if (stop != UFemCommentCharacter)
            return stop;
        ++index;
        URange comment;
        stop = UFemReadModelCommentString(source, index, end, comment, &firstError);
        if (firstError)
            break;
        if (comment.length > 0)
            commentString_ = source.substringWithRange(comment);
        return stop;
    }
    columnText_.clear();
    columnSlots_.clear();
    liveTextLength_ = 0;
    index = start;
    URange line;
    UErrorPtr lineError;
    const char16_t stop = UFemReadModelLineString(source, index, end, line, &lineError);
    if (lineError)
        return keepLineWithRefusedCharacter(source, start, index, lineError);
    errorCardString_ = source.substringWithRange(line);
    setErrorObject(firstError);
    return stop;
}

namespace {

// The excerpt ends where the kept line ends, so that the error reads the same after a round trip.
UErrorPtr refusedCharacterError(const UStringGettingCharactersProtocol& source, quint64 lineStart,
    quint64 keptEnd, quint64 refused)
{
    const char16_t unit = source.characterAtIndex(refused);
    const QString code = QStringLiteral("%1").arg(quint32(unit), 4, 16, QLatin1Char('0')).toUpper();
    return UFemReadingCharacterError_withDescription(
        ULocalizedFormattedString(
            "Illegal character or control character U+%@ exists at column %lu of the line.", code,
            refused - lineStart + 1),
        ULocalizedFormattedString("Remove the character or replace it."),
        UFemModelTextExcerpt(source, lineStart, keptEnd, refused, 1));
}

} // namespace

// One character no reader takes must not refuse a whole model: its line is kept as read (up to a
// written error tail), the error naming the character and its place in the line.
char16_t UFemCardTextColumns::keepLineWithRefusedCharacter(
    const UStringGettingCharactersProtocol& source, quint64 start, quint64& index,
    const UErrorPtr& lineError)
{
    const quint64 end = source.length();
    const quint64 lineEnd = UFemLineEndIndex(source, start, end);
    const quint64 refused = UFemRefusedCharacterIndex(source, start, lineEnd);
    quint64 keptEnd = UFemWrittenErrorTailIndex(source, start, lineEnd);
    while (keptEnd > start
        && (source.characterAtIndex(keptEnd - 1) == UFemBlankCharacter
            || source.characterAtIndex(keptEnd - 1) == UFemTabCharacter))
        --keptEnd;
    errorCardString_ = source.substringWithRange({ start, keptEnd - start });
    setErrorObject(
        refused < lineEnd ? refusedCharacterError(source, start, keptEnd, refused) : lineError);
    index = lineEnd;
    return lineEnd < end ? source.characterAtIndex(lineEnd) : 0;
}

bool UFemCardTextColumns::setCardString(const QString& string, UErrorPtr* error)
{
    const UFemStringViewSource source(string);
    UFemCardTextColumns read;
    quint64 index = 0;
    const char16_t stop = read.readModelStringCharactersFromString(
        source, index, UFemColumnSeparatingCharacterTypeComma);
    if (stop != 0 && UFemIndexAfterLineEnd(source, index, source.length()) < source.length()) {
        UFemSetError(error, UFemCardStringContainsSomeLinesError());
        return false;
    }
    *this = std::move(read);
    return true;
}

QString UFemCardTextColumns::cardStringWithColumnSeparatingCharacterType(
    UFemColumnSeparatingCharacterType type, bool doesOmitComment,
    bool doesOmitCardErrorDescription) const
{
    return cardStringExcerpt(
        type, doesOmitComment, doesOmitCardErrorDescription, UTextExcerpt::Unlimited);
}

QString UFemCardTextColumns::cardStringExcerpt(UFemColumnSeparatingCharacterType type,
    bool doesOmitComment, bool doesOmitCardErrorDescription, qsizetype maxLength) const
{
    // A kept line is handed out shared when it is whole, so it takes no room of its own.
    UTextExcerpt line(maxLength, errorCardString_ ? 0 : InitialLineCapacity);
    appendCardString(line, type, doesOmitComment, doesOmitCardErrorDescription);
    return line.take();
}

void UFemCardTextColumns::appendCardString(UTextExcerpt& line,
    UFemColumnSeparatingCharacterType type, bool doesOmitComment,
    bool doesOmitCardErrorDescription) const
{
    if (errorCardString_) {
        line += *errorCardString_;
        return;
    }
    const bool isComma = type == UFemColumnSeparatingCharacterTypeComma;
    const bool hasColumns = !columnSlots_.isEmpty();
    for (qsizetype column = 0; column < columnSlots_.size() && !line.isCut(); ++column) {
        if (column > 0)
            line += isComma ? CommaBetweenColumns : TabBetweenColumns;
        line += columnView(column);
    }
    if (hasColumns && isComma)
        line += CommaAfterLastColumn;
    if (!doesOmitComment && commentString_) {
        if (hasColumns)
            line += isComma ? CommentAfterColumns : TabComment;
        else
            line += CommentWithoutColumns;
        line += *commentString_;
    }
    if (!doesOmitCardErrorDescription && cardType() == UFemErrorCardType && !line.isCut()) {
        const QStringView format(isComma ? u"    %C Error : %@" : u"\t%C Error : %@");
        line += UFormattedString(format, UFemErrorTailCharacter, *cardErrorDescriptionString());
    }
}

QString UFemCardTextColumns::cardString() const
{
    return cardStringWithColumnSeparatingCharacterType(
        UFemColumnSeparatingCharacterTypeComma, false, false);
}

QString UFemCardTextColumns::cardStringWithColumnSeparatingCharacterType(
    UFemColumnSeparatingCharacterType type) const
{
    return cardStringWithColumnSeparatingCharacterType(type, false, false);
}

QString UFemCardTextColumns::cardStringWithDoesOmitComment(
    bool doesOmitComment, bool doesOmitCardErrorDescription) const
{
    return cardStringWithColumnSeparatingCharacterType(
        UFemColumnSeparatingCharacterTypeComma, doesOmitComment, doesOmitCardErrorDescription);
}

UAttributedString UFemCardTextColumns::attributedCardStringWithColumnSeparatingCharacterType(
    UFemColumnSeparatingCharacterType type, bool doesOmitComment,
    bool doesOmitCardErrorDescription) const
{
    const qint32 kind = cardType();
    UAttributedString attributed;
    if (kind == UFemErrorCardType) {
        attributed.append(
            cardStringWithColumnSeparatingCharacterType(type, true, doesOmitCardErrorDescription),
            UFemCardStringAttributesKeyForError);
        return attributed;
    }
    if (kind == UFemSpecialCardType || isNormalCard()) {
        attributed.append(
            cardStringWithColumnSeparatingCharacterType(type, true, doesOmitCardErrorDescription),
            kind == UFemSpecialCardType ? UFemCardStringAttributesKeyForSpecial
                                        : UFemCardStringAttributesKeyForNormal);
    } else if (kind != UFemNullCardType) {
        UFemRaiseProgramError(
            QStringLiteral("Is this not 'Normal', Null', 'Special', or 'Error' card either."));
    }
    if (!doesOmitComment && commentString_) {
        const QString& lead
            = kind == UFemNullCardType ? CommentWithoutColumns : CommentAfterColumns;
        attributed.append(lead + *commentString_, UFemCardStringAttributesKeyForComment);
    }
    return attributed;
}

UAttributedString UFemCardTextColumns::attributedCardString() const
{
    return attributedCardStringWithColumnSeparatingCharacterType(
        UFemColumnSeparatingCharacterTypeComma, false, false);
}

UAttributedString UFemCardTextColumns::attributedCardStringWithDoesOmitComment(
    bool doesOmitComment, bool doesOmitCardErrorDescription) const
{
    return attributedCardStringWithColumnSeparatingCharacterType(
        UFemColumnSeparatingCharacterTypeComma, doesOmitComment, doesOmitCardErrorDescription);
}
