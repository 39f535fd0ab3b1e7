// The division of Quad and Hexa cards and the Quad conversions: model text built in a storage,
// the model itself untouched.

#include "tools/divider/UFemToolElementDivider.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/card/UFemNodeCard.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/text/UFemModelText.h"
#include "cards/elements/Hexa.h"
#include "cards/elements/Quad4c.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsElementDivider.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "platform/UAvailableMemory.h"
#include "tools/divider/UFemToolElementDividerMemoryEstimate.h"
#include "tools/divider/UFemToolElementDividerStorage.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

using NodeLocation = UFemToolElementDivider::NodeLocation;

const QString Separator = QStringLiteral(" , ");
constexpr quint64 QuadCorners = 4;
constexpr quint64 HexaCorners = 8;

struct Cell {
    ElementDividerObjectType objectType;
    quint64 corners;
};

std::optional<Cell> cellOf(const UFemCard& card)
{
    const std::optional<ElementDividerObjectType> type
        = UFemToolElementDivider::dividedObjectTypeOf(card);
    if (!type)
        return std::nullopt;
    return Cell { *type,
        *type == UFemToolElementDividerHexa8ObjectType ? HexaCorners : QuadCorners };
}

[[nodiscard]] std::optional<QString> failRun(
    bool* didExistWarning, UErrorPtr* error, UErrorPtr made)
{
    if (didExistWarning != nullptr)
        *didExistWarning = true;
    UFemSetError(error, std::move(made));
    return std::nullopt;
}

std::optional<QString> storageText(UFemToolElementDividerStorage& storage, bool* didExistWarning)
{
    if (didExistWarning != nullptr)
        *didExistWarning = storage.didExistWarning();
    return storage.takeModelText();
}

// The element's corners: the names of its Node cards and their locations.
[[nodiscard]] bool readCorners(const UFemCard& card, quint64 corners, std::vector<QString>& names,
    std::vector<NodeLocation>& locations, UErrorPtr* error)
{
    names.assign(corners, QString());
    locations.assign(corners, NodeLocation {});
    for (quint64 n = 0; n < corners; ++n) {
        const UFemCardName* name = card.nodeCardNameForDrawingWithNodeNo(n);
        const UFemCard* node = name != nullptr ? name->card() : nullptr;
        const auto* nodeCard = dynamic_cast<const UFemNodeCard*>(node);
        if (nodeCard == nullptr) {
            UFemSetError(error,
                UFemToolElementDividerNodeForElementNotExistError_withNodeNameString(
                    name != nullptr ? name->cardNameString() : QString()));
            return false;
        }
        names[n] = node->cardNameString().value_or(QString());
        nodeCard->getNodeLocation(locations[n].data());
    }
    return true;
}

bool isGridCorner(quint64 index, quint64 numberOfDivide, quint64 dimensions)
{
    const quint64 side = numberOfDivide + 1;
    for (quint64 d = 0; d < dimensions; ++d, index /= side) {
        const quint64 coordinate = index % side;
        if (coordinate != 0 && coordinate != numberOfDivide)
            return false;
    }
    return true;
}

// The grid of the card's cell with every point but the corners offered to the registry; a
// renamed point takes its new name.
[[nodiscard]] bool makeRegisteredGrid(UFemToolElementDividerStorage& storage, const UFemCard& card,
    const Cell& cell, quint64 numberOfDivide, qint32 namingOption, std::vector<QString>& names,
    UErrorPtr* error)
{
    std::vector<QString> cornerNames;
    std::vector<NodeLocation> cornerLocations;
    if (!readCorners(card, cell.corners, cornerNames, cornerLocations, error))
        return false;
    const quint64 points
        = UFemToolElementDivider::numberOfGridPoints(cell.objectType, numberOfDivide);
    names.assign(points, QString());
    std::vector<NodeLocation> locations(points);
    if (!UFemToolElementDivider::getDividingNode(names, locations, cell.objectType, cornerNames,
            cornerLocations, numberOfDivide, namingOption, error))
        return false;
    const quint64 dimensions = cell.objectType == UFemToolElementDividerHexa8ObjectType ? 3 : 2;
    for (quint64 index = 0; index < points; ++index) {
        if (names[index].isNull() || isGridCorner(index, numberOfDivide, dimensions))
            continue;
        if (std::optional<QString> renamed
            = storage.addDividingNode(names[index], locations[index].data()))
            names[index] = std::move(*renamed);
    }
    return true;
}

// "label , name , column , node , ... ," with the nodes at the grid indexes.
QString elementLine(const QString& label, const QString& name, const QString& column,
    const std::vector<QString>& names, std::initializer_list<quint64> indexes)
{
    QString line = label + Separator + name + Separator + column;
    for (quint64 index : indexes)
        line += Separator + names[index];
    line += QStringLiteral(" ,");
    return line;
}

QString padded(quint64 value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

void addDividedElementLines(UFemToolElementDividerStorage& storage, const UFemCard& card,
    const Cell& cell, quint64 n, const std::vector<QString>& names)
{
    const QString label = card.cardLabelString();
    const QString name = card.cardNameString().value_or(QString()) + QLatin1Char('_');
    const QString column
        = card.columnStringAtIndex(UFemToolElementDividerQuadPropertyColumn).value_or(QString());
    const int w = int(QString::number(n).size());
    const QString prefix = name + padded(n, w);
    const quint64 row = n + 1;
    if (cell.objectType == UFemToolElementDividerQuad4ObjectType) {
        for (quint64 r = 1; r <= n; ++r) {
            for (quint64 c = 1; c <= n; ++c) {
                const quint64 p = (r - 1) * row + (c - 1);
                storage.addDividedElementCardString(
                    elementLine(label, prefix + padded(r, w) + padded(c, w), column, names,
                        { p, p + 1, p + row + 1, p + row }));
            }
        }
        return;
    }
    const quint64 layer = row * row;
    for (quint64 k = 1; k <= n; ++k) {
        for (quint64 i = 1; i <= n; ++i) {
            for (quint64 j = 1; j <= n; ++j) {
                const quint64 p = (k - 1) * layer + (i - 1) * row + (j - 1);
                const quint64 q = p + layer;
                storage.addDividedElementCardString(
                    elementLine(label, prefix + padded(k, w) + padded(i, w) + padded(j, w), column,
                        names, { p, p + 1, p + row + 1, p + row, q, q + 1, q + row + 1, q + row }));
            }
        }
    }
}

UFemToolElementDividerStorage makeStorage(
    const UFemCardVector& cards, const UFemNumberFormatter* formatter)
{
    UFemToolElementDividerStorage storage(UFemToolElementDivider::nodeLocationEpsilon(cards));
    storage.setNodeLocationNumberFormatter(formatter);
    return storage;
}

// The conversion's line of a Quad card with the grid points of its extra nodes.
QString changedQuadLine(
    const UFemCard& card, qint32 changeDirection, const std::vector<QString>& names)
{
    const QString name = card.cardNameString().value_or(QString());
    const QString column
        = card.columnStringAtIndex(UFemToolElementDividerQuadPropertyColumn).value_or(QString());
    switch (changeDirection) {
    case UFemToolElementDivider::changeToQuad8Direction:
        return elementLine(
            QStringLiteral("Quad8"), name, column, names, { 0, 2, 8, 6, 1, 5, 7, 3 });
    case UFemToolElementDivider::changeToQuad9Direction:
        return elementLine(
            QStringLiteral("Quad9"), name, column, names, { 0, 2, 8, 6, 1, 5, 7, 3, 4 });
    default:
        return elementLine(QStringLiteral("Quad16"), name, column, names,
            { 0, 3, 15, 12, 1, 2, 7, 11, 14, 13, 8, 4, 5, 6, 10, 9 });
    }
}

QString quadLineOfNodeNames(const UFemCard& card)
{
    QString line = Quad4c::cardClassObject().cardLabelString() + Separator
        + card.cardNameString().value_or(QString()) + Separator
        + card.columnStringAtIndex(UFemToolElementDividerQuadPropertyColumn).value_or(QString());
    for (quint64 n = 0; n < QuadCorners; ++n) {
        const UFemCardName* name = card.nodeCardNameForDrawingWithNodeNo(n);
        line += Separator + (name != nullptr ? name->cardNameString() : QString());
    }
    return line + QStringLiteral(" ,");
}

} // namespace

std::optional<ElementDividerObjectType> UFemToolElementDivider::dividedObjectTypeOf(
    const UFemCard& card)
{
    if (&card.cardClass() == &Quad4c::cardClassObject())
        return UFemToolElementDividerQuad4ObjectType;
    if (&card.cardClass() == &Hexa::cardClassObject())
        return UFemToolElementDividerHexa8ObjectType;
    return std::nullopt;
}

double UFemToolElementDivider::nodeLocationEpsilon(const UFemCardVector& cards)
{
    constexpr double relativeEpsilon = 1e-6;
    auto* model = cards.empty()
        ? nullptr
        : dynamic_cast<UFemDataController*>(cards.front()->dataController());
    if (model == nullptr || model->nodeCardArray().count() == 0)
        return UFemToolElementDividerStorage::defaultNodeLocationEpsilon;
    double box[6];
    UFemGetNodeBoundingBox(box, model->nodeCardArray());
    double largest = 0.0;
    for (double bound : box)
        largest = std::max(largest, std::abs(bound));
    return largest > 0.0 ? largest * relativeEpsilon
                         : UFemToolElementDividerStorage::defaultNodeLocationEpsilon;
}

std::optional<QString> UFemToolElementDivider::modelTextToAddByDividingElement(
    const UFemCardVector& cards, quint64 numberOfDivide, qint32 namingOption,
    const UFemNumberFormatter* formatter, bool* didExistWarning, UErrorPtr* error)
{
    if (numberOfDivide == 1) {
        if (didExistWarning != nullptr)
            *didExistWarning = false;
        return UFemModelText(cards);
    }
    if (numberOfDivide == 0)
        return failRun(didExistWarning, error,
            UFemFewChanceError_withDescription(
                QStringLiteral("aNumOfDivide is less than 1."), QString()));
    if (numberOfDivide > maximumNumberOfDivide)
        return failRun(didExistWarning, error,
            UFemFewChanceError_withDescription(
                QStringLiteral("aNumOfDivide is too big."), QString()));
    const UFemToolElementDividerMemoryEstimate estimate
        = UFemToolElementDividerMemoryEstimate::forDivision(cards, numberOfDivide);
    if (const quint64 available = UAvailableMemoryBytes(); estimate.peakBytes > available)
        return failRun(didExistWarning, error,
            UFemToolElementDividerMallocFailedError_withMemoryBytes(estimate.peakBytes, available));
    try {
        UFemToolElementDividerStorage storage = makeStorage(cards, formatter);
        storage.reserveDividedElementCharacters(qsizetype(estimate.dividedElementCharacters));
        std::vector<QString> names;
        for (const UFemCardPtr& card : cards) {
            const std::optional<Cell> cell = cellOf(*card);
            if (!cell) {
                storage.addUnchangedCardString(UFemCardString(*card));
                continue;
            }
            UErrorPtr failure;
            if (!makeRegisteredGrid(
                    storage, *card, *cell, numberOfDivide, namingOption, names, &failure))
                return failRun(didExistWarning, error, failure);
            addDividedElementLines(storage, *card, *cell, numberOfDivide, names);
        }
        // The registry holds the names too; they go with it as the text is written.
        names = {};
        return storageText(storage, didExistWarning);
    } catch (const std::bad_alloc&) {
        return failRun(didExistWarning, error, UFemMallocFailedError());
    }
}

std::optional<QString> UFemToolElementDivider::modelTextToAddByChangingQuad4QuadXX(
    const UFemCardVector& cards, qint32 changeDirection, qint32 namingOption,
    const UFemNumberFormatter* formatter, bool* didExistWarning, UErrorPtr* error)
{
    quint64 numberOfDivide = 0;
    if (changeDirection == changeToQuad16Direction)
        numberOfDivide = 3;
    else if (changeDirection == changeToQuad8Direction || changeDirection == changeToQuad9Direction)
        numberOfDivide = 2;
    else if (changeDirection != changeToQuadDirection)
        UFemRaiseProgramError(QStringLiteral("Unknown aQuad4QuadXXChangeDirection."));
    try {
        UFemToolElementDividerStorage storage = makeStorage(cards, formatter);
        std::vector<QString> names;
        const Cell quad { UFemToolElementDividerQuad4ObjectType, QuadCorners };
        for (const UFemCardPtr& card : cards) {
            if (&card->cardClass() != &Quad4c::cardClassObject()) {
                storage.addUnchangedCardString(UFemCardString(*card));
            } else if (numberOfDivide == 0) {
                storage.addDividedElementCardString(quadLineOfNodeNames(*card));
            } else {
                UErrorPtr failure;
                if (!makeRegisteredGrid(
                        storage, *card, quad, numberOfDivide, namingOption, names, &failure))
                    return failRun(didExistWarning, error, failure);
                storage.addDividedElementCardString(changedQuadLine(*card, changeDirection, names));
            }
        }
        return storageText(storage, didExistWarning);
    } catch (const std::bad_alloc&) {
        return failRun(didExistWarning, error, UFemMallocFailedError());
    }
}
