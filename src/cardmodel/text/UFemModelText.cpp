#include "cardmodel/text/UFemModelText.h"

#include "cardmodel/card/UFemCardString.h"

namespace {

constexpr qsizetype capacityPerCard = 128;

template <typename Cards>
QString modelTextOf(const Cards& cards, quint64 count, UFemColumnSeparatingCharacterType type)
{
    QString text;
    if (count == 0)
        return text;
    text.reserve(qsizetype(count) * capacityPerCard);
    for (const UFemCardPtr& card : cards) {
        text += UFemCardStringWithSeparator(*card, type);
        text += QChar(UFemLineFeedCharacter);
    }
    return text;
}

template <typename Cards>
std::vector<UFemCardTextColumnsPtr> textColumnsOf(const Cards& cards, quint64 count)
{
    std::vector<UFemCardTextColumnsPtr> records;
    records.reserve(count);
    for (const UFemCardPtr& card : cards)
        records.push_back(card->cardTextColumns());
    return records;
}

} // namespace

QString UFemModelText(const UFemCardArray& cardArray, UFemColumnSeparatingCharacterType type)
{
    return modelTextOf(cardArray, cardArray.count(), type);
}

QString UFemModelText(
    const std::vector<UFemCardPtr>& cardArray, UFemColumnSeparatingCharacterType type)
{
    return modelTextOf(cardArray, cardArray.size(), type);
}

std::vector<UFemCardTextColumnsPtr> UFemCardTextColumnsArray(const UFemCardArray& cardArray)
{
    return textColumnsOf(cardArray, cardArray.count());
}

std::vector<UFemCardTextColumnsPtr> UFemCardTextColumnsArray(
    const std::vector<UFemCardPtr>& cardArray)
{
    return textColumnsOf(cardArray, cardArray.size());
}
