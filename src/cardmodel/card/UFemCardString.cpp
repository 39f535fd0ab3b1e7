#include "cardmodel/card/UFemCardString.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UTextExcerpt.h"

#include <array>

namespace {

constexpr qsizetype initialLineCapacity = 128;
constexpr quint64 cardColumnTableSize = 16;
const QString commaBefore = QStringLiteral(" , ");
const QString commaAfterLast = QStringLiteral(" ,");
const QString commentAfterColumns = QStringLiteral("    \\ ");
const QString commentAlone = QStringLiteral("\\ ");
const QString tabBefore = QStringLiteral("\t");
const QString tabCommentAfterColumns = QStringLiteral("\t\\ ");
const QString errorTailCommaType
    = QStringLiteral("    ") + QChar(UFemErrorTailCharacter) + QStringLiteral(" Error : ");
const QString errorTailOtherType
    = QStringLiteral("\t") + QChar(UFemErrorTailCharacter) + QStringLiteral(" Error : ");

void appendErrorCardString(UTextExcerpt& line, const ErrorCard& card,
    UFemColumnSeparatingCharacterType type, bool doesOmitDescription)
{
    card.appendErrorCardString_NoCardErrorDescription(line);
    if (!doesOmitDescription) {
        line += type == UFemColumnSeparatingCharacterTypeComma ? errorTailCommaType
                                                               : errorTailOtherType;
        line += card.cardErrorDescriptionString().value_or(QString());
    }
}

// Appends the label and the columns; false when the card has none (a null card).
bool appendColumns(UTextExcerpt& line, UFemCard& card, UFemColumnSeparatingCharacterType type)
{
    const bool isComma = type == UFemColumnSeparatingCharacterTypeComma;
    std::array<UFemCardColumn*, cardColumnTableSize> table {};
    quint64 next = 0;
    bool hasColumns = false;
    do {
        const quint64 count
            = card.getCardColumnsToCardColumnTable(table.data(), table.size(), &next);
        for (quint64 i = 0; i < count && !line.isCut(); ++i) {
            if (!hasColumns) {
                // Slot 0 stands for the label.
                line += card.cardLabelString();
                hasColumns = true;
                continue;
            }
            line += isComma ? commaBefore : tabBefore;
            if (const std::optional<QString> text = table[i]->columnString())
                line += *text;
        }
    } while (next != 0 && !line.isCut());
    if (hasColumns && isComma)
        line += commaAfterLast;
    return hasColumns;
}

const ErrorCard& asErrorCard(const UFemCard& card)
{
    const auto* errorCard = dynamic_cast<const ErrorCard*>(&card);
    if (errorCard == nullptr)
        UFemRaiseProgramError(QStringLiteral("This is not an ErrorCard."));
    return *errorCard;
}

} // namespace

QString UFemComposeCardString(UFemCard& card, UFemColumnSeparatingCharacterType type,
    bool doesOmitComment, bool doesOmitCardErrorDescription)
{
    return UFemComposeCardStringExcerpt(
        card, type, doesOmitComment, doesOmitCardErrorDescription, UTextExcerpt::Unlimited);
}

QString UFemComposeCardStringExcerpt(UFemCard& card, UFemColumnSeparatingCharacterType type,
    bool doesOmitComment, bool doesOmitCardErrorDescription, qsizetype maxLength)
{
    if (card.cardType() == UFemErrorCardType) {
        // The kept line is shared when it is whole and nothing follows it.
        UTextExcerpt line(maxLength);
        appendErrorCardString(line, asErrorCard(card), type, doesOmitCardErrorDescription);
        return line.take();
    }
    UTextExcerpt line(maxLength, initialLineCapacity);
    const bool hasColumns = appendColumns(line, card, type);
    if (!doesOmitComment) {
        if (const std::optional<QString> comment = card.commentString()) {
            if (!hasColumns)
                line += commentAlone;
            else
                line += type == UFemColumnSeparatingCharacterTypeComma ? commentAfterColumns
                                                                       : tabCommentAfterColumns;
            line += *comment;
        }
    }
    return line.take();
}

QString UFemCardString(UFemCard& card)
{
    return UFemComposeCardString(card, UFemColumnSeparatingCharacterTypeComma, false, false);
}

QString UFemCardStringWithSeparator(UFemCard& card, UFemColumnSeparatingCharacterType type)
{
    return UFemComposeCardString(card, type, false, false);
}

QString UFemCardStringWithoutComment(UFemCard& card)
{
    return UFemComposeCardString(card, UFemColumnSeparatingCharacterTypeComma, true, false);
}

QString UFemCardStringWithoutCommentWithSeparator(
    UFemCard& card, UFemColumnSeparatingCharacterType type)
{
    return UFemComposeCardString(card, type, true, false);
}

UAttributedString UFemComposeAttributedCardString(UFemCard& card,
    UFemColumnSeparatingCharacterType type, bool doesOmitComment, bool doesOmitCardErrorDescription)
{
    return UFemComposeAttributedCardStringExcerpt(
        card, type, doesOmitComment, doesOmitCardErrorDescription, UTextExcerpt::Unlimited);
}

UAttributedString UFemComposeAttributedCardStringExcerpt(UFemCard& card,
    UFemColumnSeparatingCharacterType type, bool doesOmitComment, bool doesOmitCardErrorDescription,
    qsizetype maxLength)
{
    UAttributedString attributed;
    const qint32 cardType = card.cardType();
    if (cardType == UFemErrorCardType) {
        attributed.append(UFemComposeCardStringExcerpt(
                              card, type, doesOmitComment, doesOmitCardErrorDescription, maxLength),
            UFemCardStringAttributesKeyForError);
        return attributed;
    }
    if (UFemIsNormalCardType(cardType) || cardType == UFemSpecialCardType) {
        const QString columns = UFemComposeCardStringExcerpt(
            card, type, true, doesOmitCardErrorDescription, maxLength);
        attributed.append(columns,
            cardType == UFemSpecialCardType ? UFemCardStringAttributesKeyForSpecial
                                            : UFemCardStringAttributesKeyForNormal);
        // A line that fills the excerpt shows no comment.
        if (columns.size() >= maxLength)
            return attributed;
    } else if (cardType != UFemNullCardType) {
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Is this not 'Normal', Null', 'Special', or 'Error' card either."),
            cardType);
    }
    if (!doesOmitComment) {
        if (const std::optional<QString> comment = card.commentString()) {
            UTextExcerpt tail(maxLength - attributed.string.size());
            tail += cardType == UFemNullCardType ? commentAlone : commentAfterColumns;
            tail += *comment;
            attributed.append(tail.take(), UFemCardStringAttributesKeyForComment);
        }
    }
    return attributed;
}

UAttributedString UFemAttributedCardString(UFemCard& card)
{
    return UFemComposeAttributedCardString(
        card, UFemColumnSeparatingCharacterTypeComma, false, false);
}

UAttributedString UFemAttributedCardStringOmittingErrorDescription(UFemCard& card)
{
    return UFemComposeAttributedCardString(
        card, UFemColumnSeparatingCharacterTypeComma, false, true);
}
