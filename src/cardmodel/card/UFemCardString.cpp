#include "cardmodel/card/UFemCardString.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UException.h"

#include <array>

namespace {

constexpr qsizetype initialLineCapacity = 128;
constexpr quint64 cardColumnTableSize = 16;
const QString commaBefore = QStringLiteral(" , ");
const QString commaAfterLast = QStringLiteral(" ,");
const QString commentAfterColumns = QStringLiteral("    \\ ");
const QString commentAlone = QStringLiteral("\\ ");
const QString errorTailCommaType
    = QStringLiteral("    ") + QChar(UFemErrorTailCharacter) + QStringLiteral(" Error : ");
const QString errorTailOtherType
    = QStringLiteral("\t") + QChar(UFemErrorTailCharacter) + QStringLiteral(" Error : ");

QString errorCardString(
    const ErrorCard& card, UFemColumnSeparatingCharacterType type, bool doesOmitDescription)
{
    QString line = card.errorCardString_NoCardErrorDescription();
    if (!doesOmitDescription) {
        line += type == UFemColumnSeparatingCharacterTypeComma ? errorTailCommaType
                                                               : errorTailOtherType;
        line += card.cardErrorDescriptionString().value_or(QString());
    }
    return line;
}

// Appends the label and the columns; false when the card has none (a null card).
bool appendColumns(QString& line, UFemCard& card, UFemColumnSeparatingCharacterType type)
{
    const bool isComma = type == UFemColumnSeparatingCharacterTypeComma;
    std::array<UFemCardColumn*, cardColumnTableSize> table {};
    quint64 next = 0;
    bool hasColumns = false;
    do {
        const quint64 count
            = card.getCardColumnsToCardColumnTable(table.data(), table.size(), &next);
        for (quint64 i = 0; i < count; ++i) {
            if (!hasColumns) {
                // Slot 0 stands for the label.
                line += card.cardLabelString();
                hasColumns = true;
                continue;
            }
            line += isComma ? commaBefore : QStringLiteral("\t");
            if (const std::optional<QString> text = table[i]->columnString())
                line += *text;
        }
    } while (next != 0);
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
    if (card.cardType() == UFemErrorCardType)
        return errorCardString(asErrorCard(card), type, doesOmitCardErrorDescription);
    QString line;
    line.reserve(initialLineCapacity);
    const bool hasColumns = appendColumns(line, card, type);
    if (!doesOmitComment) {
        if (const std::optional<QString> comment = card.commentString()) {
            if (!hasColumns)
                line += commentAlone;
            else
                line += type == UFemColumnSeparatingCharacterTypeComma ? commentAfterColumns
                                                                       : QStringLiteral("\t\\ ");
            line += *comment;
        }
    }
    return line;
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
    UAttributedString attributed;
    const qint32 cardType = card.cardType();
    if (cardType == UFemErrorCardType) {
        attributed.append(
            UFemComposeCardString(card, type, doesOmitComment, doesOmitCardErrorDescription),
            UFemCardStringAttributesKeyForError);
        return attributed;
    }
    if (UFemIsNormalCardType(cardType)) {
        attributed.append(UFemComposeCardString(card, type, true, doesOmitCardErrorDescription),
            UFemCardStringAttributesKeyForNormal);
    } else if (cardType == UFemSpecialCardType) {
        attributed.append(UFemComposeCardString(card, type, true, doesOmitCardErrorDescription),
            UFemCardStringAttributesKeyForSpecial);
    } else if (cardType != UFemNullCardType) {
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Is this not 'Normal', Null', 'Special', or 'Error' card either."),
            cardType);
    }
    if (!doesOmitComment) {
        if (const std::optional<QString> comment = card.commentString()) {
            const QString& lead = cardType == UFemNullCardType ? commentAlone : commentAfterColumns;
            attributed.append(lead + *comment, UFemCardStringAttributesKeyForComment);
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
