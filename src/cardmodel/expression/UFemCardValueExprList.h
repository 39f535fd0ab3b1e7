#pragma once

#include "cardmodel/expression/CardValueExprListComponent.h"
#include "foundation/errors/UError.h"

#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

class UFemCard;

// Which values to show for which cards: components "#(<CardFilter>):<expression>,<expression>;"
// (the filter part optional), in text order. Main thread only; matching only reads.
class UFemCardValueExprList {
public:
    using ComponentArray = std::vector<std::shared_ptr<const CardValueExprListComponent>>;

    // Parses the text. false without an error when it holds no component (blank, or only
    // components whose expressions are all blank); false with the error on a syntax error.
    [[nodiscard]] bool setCardValueExprListString(
        const QString& cardValueExprListString, UErrorPtr* error);
    const QString& cardValueExprListString() const { return cardValueExprListString_; }
    const ComponentArray& cardValueExprListComponentArray() const
    {
        return cardValueExprListComponentArray_;
    }
    bool isValid() const { return !cardValueExprListComponentArray_.empty(); }
    void reset();

    // The expressions of every component whose filter accepts the card (or that has none), in
    // component order; the same expression may come twice.
    CardValueExprListComponent::CardValueExpressionArray cardValueExpressionArrayWithCard(
        UFemCard& card) const;

    // The presets, as folder items: the result table's three and the colour-by-value one.
    static QVariantList defaultResultTableViewCardValueExprListStringFolderArray();
    static QVariantList defaultGraphicViewColorByValueCardValueExprListStringFolderArray();

private:
    QString cardValueExprListString_;
    ComponentArray cardValueExprListComponentArray_;
};
