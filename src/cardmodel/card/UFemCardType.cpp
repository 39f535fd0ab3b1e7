#include "cardmodel/card/UFemCardType.h"

#include "foundation/errors/UException.h"

#include <array>
#include <utility>

namespace {

struct CardTypeWords {
    qint32 cardType;
    std::array<const char16_t*, 3> words;
};

// In the order the words are tried.
const std::array<CardTypeWords, 12> cardTypeWordTable { {
    { UFemNodeCardType, { u"NodeCardType", u"Node", nullptr } },
    { UFemElementCardType, { u"ElementCardType", u"Element", u"Elem" } },
    { UFemElementPropCardType, { u"ElementPropCardType", u"ElementProp", u"ElemProp" } },
    { UFemMaterialCardType, { u"MaterialCardType", u"Material", nullptr } },
    { UFemCaseCardType, { u"CaseCardType", u"Case", nullptr } },
    { UFemRestraintCardType, { u"RestraintCardType", u"Restraint", nullptr } },
    { UFemForceCardType, { u"ForceCardType", u"Force", nullptr } },
    { UFemCoordCardType, { u"CoordCardType", u"Coord", nullptr } },
    { UFemValueCardType, { u"ValueCardType", u"Value", nullptr } },
    { UFemNullCardType, { u"NullCardType", u"Null", nullptr } },
    { UFemSpecialCardType, { u"SpecialCardType", u"Special", nullptr } },
    { UFemErrorCardType, { u"ErrorCardType", u"Error", nullptr } },
} };

} // namespace

bool UFemIsNormalCardType(qint32 cardType)
{
    return cardType >= UFemGenericNormalCardType && cardType <= UFemValueCardType;
}

qint32 UFemCardTypeWithCardTypeString(const QString& cardTypeString)
{
    for (const CardTypeWords& entry : cardTypeWordTable) {
        for (const char16_t* word : entry.words) {
            if (word != nullptr && cardTypeString == QStringView(word))
                return entry.cardType;
        }
    }
    return UFemUnexpectedCardType;
}

QString UFemCardTypeDisplayString(qint32 cardType)
{
    switch (cardType) {
    case UFemNodeCardType:
        return QStringLiteral("Node Card Type");
    case UFemElementCardType:
        return QStringLiteral("Element Card Type");
    case UFemElementPropCardType:
        return QStringLiteral("Element Property Card Type");
    case UFemMaterialCardType:
        return QStringLiteral("Material Card Type");
    case UFemCaseCardType:
        return QStringLiteral("Case Card Type");
    case UFemRestraintCardType:
        return QStringLiteral("Restraint Card Type");
    case UFemForceCardType:
        return QStringLiteral("Force Card Type");
    case UFemCoordCardType:
        return QStringLiteral("Coord Card Type");
    case UFemValueCardType:
        return QStringLiteral("Value Card Type");
    case UFemErrorCardType:
        return QStringLiteral("Error Card Type");
    default:
        return QStringLiteral("**UnexpectedCardType**");
    }
}

std::optional<bool> UFemCardTypeAllowsSomeCard(qint32 cardType)
{
    switch (cardType) {
    case UFemNullCardType:
    case UFemRestraintCardType:
    case UFemForceCardType:
    case UFemSpecialCardType:
    case UFemErrorCardType:
        return true;
    case UFemNodeCardType:
    case UFemElementCardType:
    case UFemElementPropCardType:
    case UFemMaterialCardType:
    case UFemCaseCardType:
    case UFemCoordCardType:
    case UFemValueCardType:
        return false;
    default:
        return std::nullopt;
    }
}

bool UFemCardTypeIsAllowedHaveSomeCard(qint32 cardType)
{
    const std::optional<bool> allows = UFemCardTypeAllowsSomeCard(cardType);
    if (!allows)
        UFemRaiseProgramError(QStringLiteral("Unexpected CARD_TYPE came"));
    return *allows;
}
