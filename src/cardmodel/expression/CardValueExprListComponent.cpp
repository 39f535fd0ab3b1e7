#include "cardmodel/expression/CardValueExprListComponent.h"

#include "cardmodel/expression/UFemCardValueExpression.h"
#include "cardmodel/filter/UFemCardFilter.h"

CardValueExprListComponent::CardValueExprListComponent(
    std::shared_ptr<const UFemCardFilter> cardFilter,
    CardValueExpressionArray cardValueExpressionArray)
    : cardFilter_(std::move(cardFilter))
    , cardValueExpressionArray_(std::move(cardValueExpressionArray))
{
}

std::shared_ptr<const CardValueExprListComponent>
CardValueExprListComponent::cardValueExprListComponentWithCardFilter(
    std::shared_ptr<const UFemCardFilter> cardFilter,
    CardValueExpressionArray cardValueExpressionArray)
{
    return std::shared_ptr<const CardValueExprListComponent>(
        new CardValueExprListComponent(std::move(cardFilter), std::move(cardValueExpressionArray)));
}
