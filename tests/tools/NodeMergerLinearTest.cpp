#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "foundation/errors/UFemErrorsNodeMerger.h"
#include "tools/merger/UFemToolNodeMerger.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {

using Location = std::array<double, 3>;

constexpr double Spacing = 0.25;
constexpr int GridSide = 14;

// The grouping by its definition, every pair compared: in selection order each free node starts a
// group of the later free nodes within the distance of it on every axis.
struct PairwiseGrouping {
    QStringList groups;
    // The first three members of the group that would pass 16.
    QStringList overMaximum;
};

PairwiseGrouping pairwiseGrouping(const std::vector<Location>& nodes, double distance)
{
    const auto within = [&](const Location& a, const Location& b) {
        for (int axis = 0; axis < 3; ++axis) {
            if (!(std::abs(a[axis] - b[axis]) <= distance))
                return false;
        }
        return true;
    };
    PairwiseGrouping result;
    std::vector<bool> joined(nodes.size());
    for (std::size_t r = 0; r < nodes.size(); ++r) {
        if (joined[r])
            continue;
        QStringList group = { QStringLiteral("N%1").arg(r) };
        for (std::size_t q = r + 1; q < nodes.size(); ++q) {
            if (joined[q] || !within(nodes[r], nodes[q]))
                continue;
            if (group.size() == qsizetype(UFemToolNodeMerger::maximumNodeCountOnSameLocation))
                return { {}, group.mid(0, 3) };
            group.append(QStringLiteral("N%1").arg(q));
            joined[q] = true;
        }
        if (group.size() >= 2)
            result.groups.append(group.join(' '));
    }
    return result;
}

// The merger's grouping of the same nodes, read from model text as the program reads them.
PairwiseGrouping mergerGrouping(const std::vector<Location>& nodes, double distance)
{
    UFemInstallCardClasses();
    QString text;
    for (std::size_t n = 0; n < nodes.size(); ++n)
        text += QStringLiteral("Node , N%1 ,  , %2 , %3 , %4 ,\n")
                    .arg(n)
                    .arg(nodes[n][0], 0, 'g', 17)
                    .arg(nodes[n][1], 0, 'g', 17)
                    .arg(nodes[n][2], 0, 'g', 17);
    UFemDataController model;
    UErrorPtr error;
    EXPECT_TRUE(model.resetWithModelText(text, false, &error));
    UFemCardVector cards;
    for (const UFemCardPtr& card : model.cardArray()) {
        if (card->cardType() == UFemNodeCardType)
            cards.push_back(card);
    }
    const auto groups
        = UFemToolNodeMerger::nodeCardListArrayOnSameLocation(cards, distance, &error);
    PairwiseGrouping result;
    if (!groups) {
        EXPECT_TRUE(error);
        result.overMaximum.append(error ? error->localizedDescription() : QString());
        return result;
    }
    for (const auto& group : *groups) {
        QStringList names;
        for (const UFemCardPtr& card : group)
            names.append(*card->cardNameString());
        result.groups.append(names.join(' '));
    }
    return result;
}

std::vector<Location> grid(double jitter, std::mt19937& random)
{
    std::uniform_real_distribution<double> shift(-jitter, jitter);
    std::vector<Location> nodes;
    for (int k = 0; k < GridSide; ++k) {
        for (int j = 0; j < GridSide; ++j) {
            for (int i = 0; i < GridSide; ++i)
                nodes.push_back({ i * Spacing + shift(random), j * Spacing + shift(random),
                    k * Spacing + shift(random) });
        }
    }
    return nodes;
}

// Up to eight nodes around each of `centres` random places, in shuffled order.
std::vector<Location> clusters(int centres, double radius, std::mt19937& random)
{
    std::uniform_real_distribution<double> place(0.0, 1.0);
    std::uniform_real_distribution<double> shift(-radius, radius);
    std::uniform_int_distribution<int> size(1, 8);
    std::vector<Location> nodes;
    for (int c = 0; c < centres; ++c) {
        const Location centre { place(random), place(random), place(random) };
        for (int n = size(random); n > 0; --n)
            nodes.push_back({ centre[0] + shift(random), centre[1] + shift(random),
                centre[2] + shift(random) });
    }
    std::shuffle(nodes.begin(), nodes.end(), random);
    return nodes;
}

} // namespace

TEST(MergerLinear, GroupsAreThePairwiseGroupsOnRegularAndRandomMeshes)
{
    std::mt19937 random(20261207);
    std::vector<Location> doubled = grid(0.0, random);
    for (int n = 0; n < 300; ++n)
        doubled.push_back(doubled[std::size_t(n * 7)]);
    struct Case {
        const char* name;
        std::vector<Location> nodes;
        double distance;
    };
    const std::vector<Case> cases {
        { "grid at the spacing", grid(0.0, random), Spacing },
        { "jittered grid", grid(0.03, random), Spacing * 1.2 },
        { "grid at twice the spacing: too many", grid(0.0, random), Spacing * 2 },
        { "grid with exact doubles at 0", doubled, 0.0 },
        { "clusters", clusters(400, 0.004, random), 0.008 },
        { "exact doubles at random places", clusters(1000, 0.0, random), 0.02 },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const PairwiseGrouping expected = pairwiseGrouping(test.nodes, test.distance);
        const PairwiseGrouping actual = mergerGrouping(test.nodes, test.distance);
        if (!expected.overMaximum.isEmpty()) {
            ASSERT_EQ(actual.overMaximum.size(), 1);
            EXPECT_EQ(actual.overMaximum[0],
                UFemToolNodeMergerNodeCountOnSameLocationOverMaxCountErrorWithMaxCount(
                    UFemToolNodeMerger::maximumNodeCountOnSameLocation, test.distance,
                    expected.overMaximum)
                    ->localizedDescription());
            continue;
        }
        EXPECT_TRUE(actual.overMaximum.isEmpty());
        EXPECT_GT(expected.groups.size(), 10);
        EXPECT_EQ(actual.groups, expected.groups);
    }
}

namespace {

// `count` nodes from `origin`, `step` apart.
std::vector<Location> line(int count, const Location& origin, const Location& step)
{
    std::vector<Location> nodes;
    for (int n = 0; n < count; ++n)
        nodes.push_back(
            { origin[0] + n * step[0], origin[1] + n * step[1], origin[2] + n * step[2] });
    return nodes;
}

// A block of nodes `spacing` apart, `sides` nodes along each axis.
std::vector<Location> block(const std::array<int, 3>& sides, double spacing)
{
    std::vector<Location> nodes;
    for (int k = 0; k < sides[2]; ++k) {
        for (int j = 0; j < sides[1]; ++j) {
            for (int i = 0; i < sides[0]; ++i)
                nodes.push_back({ i * spacing, 0.5 + j * spacing, k * spacing });
        }
    }
    return nodes;
}

} // namespace

// Lines, whose cells lie along one axis (or, on a diagonal, scattered), a plate and a lattice: the
// same groups as comparing every pair, at the spacing, a hair either side of it and beyond it.
TEST(MergerOnALine, PlatesAndLatticesGroupAsEveryPairComparedAtAndAroundTheSpacing)
{
    std::mt19937 random(20261208);
    std::vector<Location> shuffled = line(1200, { 0, 0, 0 }, { 0, 0.1, 0 });
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    std::vector<Location> twoPieces = line(600, { 0, 0, 0 }, { Spacing, 0, 0 });
    for (const Location& node : line(600, { 1000, 0, 0 }, { Spacing, 0, 0 }))
        twoPieces.push_back(node);
    struct Shape {
        const char* name;
        std::vector<Location> nodes;
        double spacing;
    };
    const std::vector<Shape> shapes {
        { "line along x", line(1200, { 0, 0, 0 }, { Spacing, 0, 0 }), Spacing },
        { "diagonal line", line(1200, { 1, -2, 3 }, { 0.1, 0.1, 0.1 }), 0.1 },
        { "shuffled line along y", shuffled, 0.1 },
        { "two pieces of a line", twoPieces, Spacing },
        { "plate", block({ 35, 1, 35 }, 0.3), 0.3 },
        { "lattice", block({ 11, 11, 11 }, Spacing), Spacing },
    };
    for (const Shape& shape : shapes) {
        for (const double factor : { 1.0 - 1e-9, 1.0, 1.0 + 1e-9, 1.5 }) {
            const double distance = shape.spacing * factor;
            SCOPED_TRACE(testing::Message() << shape.name << " at " << factor);
            const PairwiseGrouping expected = pairwiseGrouping(shape.nodes, distance);
            const PairwiseGrouping actual = mergerGrouping(shape.nodes, distance);
            EXPECT_TRUE(expected.overMaximum.isEmpty());
            EXPECT_TRUE(actual.overMaximum.isEmpty());
            EXPECT_EQ(actual.groups, expected.groups);
        }
    }
}
