#pragma once

#include <memory>
#include <vector>

class UFemCardFilter;
class UFemCardValueExpression;

// One component of a card value expression list: an optional card filter (none accepts every
// card) and its expressions, never empty. Immutable once made.
class CardValueExprListComponent {
public:
    using CardValueExpressionArray = std::vector<std::shared_ptr<const UFemCardValueExpression>>;

    static std::shared_ptr<const CardValueExprListComponent>
    cardValueExprListComponentWithCardFilter(std::shared_ptr<const UFemCardFilter> cardFilter,
        CardValueExpressionArray cardValueExpressionArray);

    const std::shared_ptr<const UFemCardFilter>& cardFilter() const { return cardFilter_; }
    const CardValueExpressionArray& cardValueExpressionArray() const
    {
        return cardValueExpressionArray_;
    }

private:
    CardValueExprListComponent(std::shared_ptr<const UFemCardFilter> cardFilter,
        CardValueExpressionArray cardValueExpressionArray);

    const std::shared_ptr<const UFemCardFilter> cardFilter_;
    const CardValueExpressionArray cardValueExpressionArray_;
};
