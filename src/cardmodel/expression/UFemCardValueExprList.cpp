#include "cardmodel/expression/UFemCardValueExprList.h"

#include "cardmodel/expression/UFemCardValueExprListParser.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "foundation/UFemFolderItemKeys.h"

#include <QVariantMap>

namespace {

constexpr qsizetype matchCapacity = 4;
constexpr int displacementOrderHint = 2100;
constexpr int vonMisesStressOrderHint = 2200;
constexpr int bothOrderHint = 2300;
constexpr int colorByValueOrderHint = 2100;

QVariantMap folderItem(const QString& name, int orderHint, const QString& listString)
{
    return {
        { UFemFolderItemNameStringPreferencesKey, name },
        { UFemFolderItemOrderHintNumberPreferencesKey, orderHint },
        { UFemFolderItemObjectPreferencesKey, listString },
    };
}

} // namespace

void UFemCardValueExprList::reset()
{
    cardValueExprListComponentArray_.clear();
}

bool UFemCardValueExprList::setCardValueExprListString(
    const QString& cardValueExprListString, UErrorPtr* error)
{
    cardValueExprListString_ = cardValueExprListString;
    reset();
    ComponentArray components;
    UErrorPtr parseError;
    if (!UFemCardValueExprListParser(cardValueExprListString).parse(components, &parseError)) {
        UFemSetError(error, parseError);
        return false;
    }
    cardValueExprListComponentArray_ = std::move(components);
    return isValid();
}

CardValueExprListComponent::CardValueExpressionArray
UFemCardValueExprList::cardValueExpressionArrayWithCard(UFemCard& card) const
{
    CardValueExprListComponent::CardValueExpressionArray expressions;
    expressions.reserve(matchCapacity);
    for (const auto& component : cardValueExprListComponentArray_) {
        if (component->cardFilter() && !component->cardFilter()->isCardValid(card))
            continue;
        const auto& own = component->cardValueExpressionArray();
        expressions.insert(expressions.end(), own.begin(), own.end());
    }
    return expressions;
}

// The shipped texts end with ";", which the list language requires of its last component.
QVariantList UFemCardValueExprList::defaultResultTableViewCardValueExprListStringFolderArray()
{
    return {
        folderItem(QStringLiteral("Displacement"), displacementOrderHint,
            QStringLiteral("#( type:Node ) : Displacement;")),
        folderItem(QStringLiteral("VonMisesStress"), vonMisesStressOrderHint,
            QStringLiteral("#( type:Elem ) : VonMisesStress;")),
        folderItem(QStringLiteral("Displacement & VonMisesStress"), bothOrderHint,
            QStringLiteral("#( type:Node ) : Displacement;\n#( type:Elem ) : VonMisesStress;")),
    };
}

QVariantList
UFemCardValueExprList::defaultGraphicViewColorByValueCardValueExprListStringFolderArray()
{
    return { folderItem(QStringLiteral("VonMisesStress"), colorByValueOrderHint,
        QStringLiteral("#( type:Elem ) : VonMisesStress;")) };
}
