#include "tools/divider/UFemToolElementDividerMemoryEstimate.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardString.h"
#include "tools/divider/UFemToolElementDivider.h"
#include "tools/divider/UFemToolElementDividerStorageNodeInfo.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace {

constexpr double BytesPerCharacter = 2.0;
// A grid point's name and location while its card is divided.
constexpr double BytesPerGridPoint = sizeof(QString) + sizeof(UFemToolElementDivider::NodeLocation);
// A registry entry: its slot in the entry vector (which doubles as it grows) and in the name hash
// (a node of name and index, its bucket, and the old table beside the new one while it grows).
constexpr double RegistryBytesPerNode = 2.0 * sizeof(UFemToolElementDividerStorageNodeInfo) + 64.0;
// A name built by appending: a header, the characters and a terminator in a block rounded up to a
// power of two, and the allocator's own word.
constexpr double StringHeaderBytes = 18.0;
constexpr double AllocatorBytes = 16.0;
// Node lines: "Node , ", " ,  , " and a " ," after each coordinate with its blank or line feed.
constexpr double NodeLineFixedCharacters = 22.0;
// A written-file coordinate: twelve digits with sign, point and exponent.
constexpr double CoordinateCharacters = 17.0;
constexpr double ColumnSeparatorCharacters = 3.0;

// The points of one kind in a divided cell: how many, the length of their names and in how many
// of the new elements each appears.
struct PointKind {
    double count;
    double nameCharacters;
    double uses;
};

double stringBytes(double characters)
{
    return double(std::bit_ceil(quint64(StringHeaderBytes + BytesPerCharacter * characters)))
        + AllocatorBytes;
}

double digitsOf(quint64 value)
{
    double digits = 1.0;
    for (; value >= 10; value /= 10)
        digits += 1.0;
    return digits;
}

double optionalLength(const std::optional<QString>& text)
{
    return text ? double(text->size()) : 0.0;
}

struct Totals {
    double gridPoints = 0.0;
    double nameBytes = 0.0;
    double newNodes = 0.0;
    double elementCharacters = 0.0;
    double nodeLineCharacters = 0.0;
    double unchangedCharacters = 0.0;
    double utf8PerCharacter = 1.0;
};

// Edges, faces and the inside of a Quad (2) or Hexa (3) divided N times: names join the corner
// names of their edge, face or cell ('_' between) and end in '_', N and their place in N's digits.
std::vector<PointKind> pointKinds(
    int dimensions, quint64 numberOfDivide, double cornerNames, double corners)
{
    const double w = digitsOf(numberOfDivide);
    const double inner = double(numberOfDivide) - 1.0;
    const double averageName = cornerNames / corners;
    std::vector<PointKind> kinds;
    const double edges = dimensions == 3 ? 12.0 : 4.0;
    kinds.push_back({ edges * inner, 2.0 * averageName + 2.0 + 2.0 * w, 2.0 });
    kinds.push_back({ dimensions == 3 ? 6.0 * inner * inner : inner * inner,
        4.0 * averageName + 4.0 + 3.0 * w, 4.0 });
    if (dimensions == 3)
        kinds.push_back({ inner * inner * inner, 8.0 * averageName + 8.0 + 4.0 * w, 8.0 });
    return kinds;
}

void addDividedCard(Totals& totals, UFemCard& card, int dimensions, quint64 numberOfDivide)
{
    const double corners = dimensions == 3 ? 8.0 : 4.0;
    double cornerNames = 0.0;
    double cornerUtf8 = 0.0;
    for (quint64 c = 0; c < quint64(corners); ++c) {
        const UFemCardName* name = card.nodeCardNameForDrawingWithNodeNo(c);
        const QString text = name != nullptr ? name->cardNameString() : QString();
        cornerNames += double(text.size());
        cornerUtf8 += double(text.toUtf8().size());
    }
    if (cornerNames > 0.0)
        totals.utf8PerCharacter = std::max(totals.utf8PerCharacter, cornerUtf8 / cornerNames);
    const double n = double(numberOfDivide);
    const double elements = std::pow(n, dimensions);
    totals.gridPoints = std::max(totals.gridPoints, std::pow(n + 1.0, dimensions));
    const double w = digitsOf(numberOfDivide);
    const double elementName = optionalLength(card.cardNameString()) + 1.0 + w + dimensions * w;
    const double fixedLine = double(card.cardLabelString().size()) + elementName
        + optionalLength(card.columnStringAtIndex(UFemToolElementDividerQuadPropertyColumn))
        + (2.0 + corners) * ColumnSeparatorCharacters + 3.0;
    totals.elementCharacters += elements * fixedLine + cornerNames;
    for (const PointKind& kind : pointKinds(dimensions, numberOfDivide, cornerNames, corners)) {
        totals.newNodes += kind.count;
        totals.nameBytes += kind.count * stringBytes(kind.nameCharacters);
        totals.elementCharacters += kind.count * kind.nameCharacters * kind.uses;
        totals.nodeLineCharacters += kind.count
            * (NodeLineFixedCharacters + kind.nameCharacters + 3.0 * CoordinateCharacters);
    }
}

} // namespace

UFemToolElementDividerMemoryEstimate UFemToolElementDividerMemoryEstimate::forDivision(
    const UFemCardVector& cards, quint64 numberOfDivide)
{
    Totals totals;
    for (const UFemCardPtr& card : cards) {
        const std::optional<ElementDividerObjectType> type
            = UFemToolElementDivider::dividedObjectTypeOf(*card);
        if (!type)
            totals.unchangedCharacters += double(UFemCardString(*card).size()) + 1.0;
        else
            addDividedCard(totals, *card, *type == UFemToolElementDividerHexa8ObjectType ? 3 : 2,
                numberOfDivide);
    }
    const double elementLines = BytesPerCharacter * totals.elementCharacters;
    const double unchanged = BytesPerCharacter * totals.unchangedCharacters;
    const double registry = totals.nameBytes + totals.newNodes * RegistryBytesPerNode;
    const double nodeLines = BytesPerCharacter * totals.nodeLineCharacters;
    const double text = elementLines + nodeLines + unchanged;
    const std::array<double, 4> stages = {
        totals.gridPoints * BytesPerGridPoint + registry + elementLines + unchanged,
        registry + elementLines + nodeLines + 2.0 * unchanged,
        text + elementLines,
        text + text / BytesPerCharacter * totals.utf8PerCharacter,
    };
    const double peak = *std::ranges::max_element(stages);
    constexpr double largest = 1.8e19;
    return { quint64(std::min(peak, largest)),
        quint64(std::min(totals.elementCharacters, largest)) };
}
