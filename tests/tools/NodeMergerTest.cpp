#include "ElementDividerTestSupport.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "foundation/errors/UFemErrorsNodeMerger.h"
#include "tools/merger/UFemToolNodeMerger.h"

#include <gtest/gtest.h>

#include <new>

namespace {

using Groups = std::vector<UFemToolNodeMerger::NodeGroup>;

// "Node , name ,  , x , y , z ," for each.
QString nodeLines(const std::vector<std::pair<QString, std::array<double, 3>>>& nodes)
{
    QString text;
    for (const auto& [name, at] : nodes)
        text += QStringLiteral("Node , %1 ,  , %2 , %3 , %4 ,\n")
                    .arg(name)
                    .arg(at[0], 0, 'g', 17)
                    .arg(at[1], 0, 'g', 17)
                    .arg(at[2], 0, 'g', 17);
    return text;
}

// Twenty nodes far from the others and from each other, so that grouping takes its sorting path.
QString fillerNodes()
{
    std::vector<std::pair<QString, std::array<double, 3>>> nodes;
    for (int k = 0; k < 20; ++k)
        nodes.push_back({ QStringLiteral("F%1").arg(k), { 100.0 + 7 * k, 3.0 * k, -2.0 * k } });
    return nodeLines(nodes);
}

UFemCardVector allNodes(const DividerModel& model)
{
    UFemCardVector nodes;
    for (quint64 row = 0; row < model.harness.window->windowCardTable().count(); ++row) {
        if (model.harness.windowCard(row)->cardType() == UFemNodeCardType)
            nodes.push_back(model.harness.windowCard(row));
    }
    return nodes;
}

QStringList groupNames(const Groups& groups)
{
    QStringList names;
    for (const auto& group : groups) {
        QStringList members;
        for (const UFemCardPtr& card : group)
            members.append(*card->cardNameString());
        names.append(members.join(' '));
    }
    return names;
}

// The groups of all nodes of the model, with and without the far filler nodes.
QStringList grouped(const QString& nodes, double distance, bool withFiller)
{
    DividerModel model(nodes + (withFiller ? fillerNodes() : QString()));
    UErrorPtr error;
    const std::optional<Groups> groups
        = UFemToolNodeMerger::nodeCardListArrayOnSameLocation(allNodes(model), distance, &error);
    EXPECT_TRUE(groups.has_value());
    return groups ? groupNames(*groups) : QStringList();
}

} // namespace

TEST(NodeMergerTest, GroupsMeasureFromTheFirstMemberWithTheDistanceIncluded)
{
    const double d = 0.5;
    const QString exactlyApart = nodeLines({ { "A", { 1, 2, 3 } }, { "B", { 1.5, 2, 3 } },
        { "C", { 9, 9, 9 } }, { "D", { 9, 9.5 + 1e-9, 9 } } });
    // P-Q and Q-R are within d, P-R is not: R stays alone.
    const QString chain = nodeLines({ { "P", { 0, 0, 0 } }, { "Q", { 0, 0, 0.375 } },
        { "R", { 0, 0, 0.75 } }, { "S", { 0.25, 0.25, 0.25 } } });
    const QString identical
        = nodeLines({ { "U", { 5, 5, 5 } }, { "V", { 5, 5, 5 + 1e-12 } }, { "W", { 5, 5, 5 } } });
    for (bool withFiller : { false, true }) {
        EXPECT_EQ(grouped(exactlyApart, d, withFiller), QStringList({ "A B" })) << withFiller;
        EXPECT_EQ(grouped(chain, d, withFiller), QStringList({ "P Q S" })) << withFiller;
        EXPECT_EQ(grouped(identical, 0.0, withFiller), QStringList({ "U W" })) << withFiller;
    }
    // Groups come in the order of their first members, members in model order.
    EXPECT_EQ(grouped(nodeLines({ { "G1", { 0, 0, 0 } }, { "H1", { 1, 1, 1 } },
                          { "G2", { 0, 0, 0 } }, { "H2", { 1, 1, 1 } }, { "G3", { 0, 0, 0 } } }),
                  1e-8, true),
        QStringList({ "G1 G2 G3", "H1 H2" }));
    DividerModel one(nodeLines({ { "A", { 0, 0, 0 } } }));
    UErrorPtr error;
    EXPECT_EQ(UFemToolNodeMerger::nodeCardListArrayOnSameLocation(allNodes(one), 1.0, &error),
        std::nullopt);
    EXPECT_EQ(error, nullptr);
}

TEST(NodeMergerTest, SixteenNodesOnOneLocationMergeAndSeventeenFail)
{
    for (int count : { 16, 17 }) {
        std::vector<std::pair<QString, std::array<double, 3>>> nodes;
        for (int k = 0; k < count; ++k)
            nodes.push_back({ QStringLiteral("M%1").arg(k), { 2, 2, 2 } });
        DividerModel model(nodeLines(nodes) + fillerNodes());
        UErrorPtr error;
        const std::optional<Groups> groups
            = UFemToolNodeMerger::nodeCardListArrayOnSameLocation(allNodes(model), 1e-8, &error);
        if (count == 16) {
            ASSERT_TRUE(groups.has_value());
            ASSERT_EQ(groups->size(), 1u);
            EXPECT_EQ(groups->front().size(), 16u);
            continue;
        }
        EXPECT_EQ(groups, std::nullopt);
        ASSERT_NE(error, nullptr);
        const UErrorPtr expected
            = UFemToolNodeMergerNodeCountOnSameLocationOverMaxCountErrorWithMaxCount(
                16, 1e-8, { "M0", "M1", "M2" });
        EXPECT_EQ(error->code(), expected->code());
        EXPECT_EQ(error->localizedDescription(), expected->localizedDescription());
        EXPECT_EQ(error->localizedRecoverySuggestion(), expected->localizedRecoverySuggestion());
    }
}

namespace {

// Two Quads whose shared edge was written twice: N2/N5 and N3/N6 lie on one place.
const QString SplitSeamModel = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                              "ShellProp , S1 , Steel , 0.1 ,\n"
                                              "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                              "Node , N2 ,  , 1 , 0 , 0 ,\n"
                                              "Node , N3 ,  , 1 , 1 , 0 , \\ seam\n"
                                              "Node , N4 ,  , 0 , 1 , 0 ,\n"
                                              "Node , N5 ,  , 1 , 0 , 0 ,\n"
                                              "Node , N6 ,  , 1 , 1 , 0 ,\n"
                                              "Node , N7 ,  , 2 , 0 , 0 ,\n"
                                              "Node , N8 ,  , 2 , 1 , 0 ,\n"
                                              "Quad , Q1 , S1 , N1 , N2 , N3 , N4 ,\n"
                                              "Quad , Q2 , S1 , N5 , N7 , N8 , N6 ,\n");

Groups seamGroups(const DividerModel& model)
{
    UErrorPtr error;
    return *UFemToolNodeMerger::nodeCardListArrayOnSameLocation(allNodes(model), 1e-8, &error);
}

QStringList modelLines(const DividerModel& model)
{
    return model.harness.model().modelTextOfAllCards().split('\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(NodeMergerTest, MergeMakesCommentsRenamesAndUndoesAsOneStep)
{
    DividerModel model(SplitSeamModel);
    model.harness.finishEventTurn();
    const QString before = model.harness.model().modelTextOfAllCards();
    const Groups groups = seamGroups(model);
    ASSERT_EQ(groupNames(groups), QStringList({ "N2 N5", "N3 N6" }));
    UErrorPtr error;
    ASSERT_TRUE(UFemToolNodeMerger::mergeNode(groups, true, &error));
    UUndoManager& undo = model.harness.document->undoManager();
    EXPECT_EQ(undo.undoActionName(), "Merge Nodes ( Remove 2 node cards )");
    const QStringList lines = modelLines(model);
    EXPECT_EQ(lines[6], "\\ <RemovedByNodeMerge> Node , N5 ,  , 1 , 0 , 0 ,");
    EXPECT_EQ(lines[7], "\\ <RemovedByNodeMerge> Node , N6 ,  , 1 , 1 , 0 ,");
    EXPECT_EQ(lines.back(), "Quad , Q2 , S1 , N2 , N7 , N8 , N3 ,");
    EXPECT_EQ(lines.size(), 12);

    model.harness.finishEventTurn();
    undo.undo();
    EXPECT_EQ(model.harness.model().modelTextOfAllCards(), before);
    EXPECT_FALSE(undo.canUndo());
    undo.redo();
    EXPECT_EQ(modelLines(model).back(), "Quad , Q2 , S1 , N2 , N7 , N8 , N3 ,");

    // Without the comments the nodes go.
    DividerModel removing(SplitSeamModel);
    ASSERT_TRUE(UFemToolNodeMerger::mergeNode(seamGroups(removing), false, &error));
    EXPECT_EQ(modelLines(removing).size(), 10);
    EXPECT_FALSE(removing.harness.model().modelTextOfAllCards().contains("N5"));
}

TEST(NodeMergerTest, RenamingThatFailsRollsTheRemovalBack)
{
    DividerModel model(SplitSeamModel);
    model.harness.finishEventTurn();
    const QString before = model.harness.model().modelTextOfAllCards();
    // Once the nodes are gone, the last card using N5 goes too, so N5 can no longer be renamed.
    UFemDataController& data = model.harness.model();
    bool removedQ2 = false;
    const UNotificationObservation observation = UNotificationCenter::defaultCenter().observe(
        UFemModelDataDidChangeNotification, &data, [&](const UNotification&) {
            if (std::exchange(removedQ2, true))
                return;
            UErrorPtr failure;
            EXPECT_TRUE(data.removeCardsWithCardArray(model.cards({ "Q2" }), &failure));
        });
    UErrorPtr error;
    EXPECT_FALSE(UFemToolNodeMerger::mergeNode(seamGroups(model), false, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(error->localizedDescription().contains("N5"))
        << error->localizedDescription().toStdString();
    EXPECT_EQ(data.modelTextOfAllCards(), before);
    model.harness.finishEventTurn();
    EXPECT_FALSE(model.harness.document->undoManager().canUndo());
    EXPECT_FALSE(model.harness.document->undoManager().canRedo());
}

// Memory running out part-way (here once the nodes are gone) is the memory error, not a program
// error, and the model is as it was.
TEST(NodeMergerTest, MemoryRunningOutRollsBackWithTheMemoryError)
{
    DividerModel model(SplitSeamModel);
    model.harness.finishEventTurn();
    const QString before = model.harness.model().modelTextOfAllCards();
    UFemDataController& data = model.harness.model();
    bool failed = false;
    const UNotificationObservation observation = UNotificationCenter::defaultCenter().observe(
        UFemModelDataDidChangeNotification, &data, [&](const UNotification&) {
            if (!std::exchange(failed, true))
                throw std::bad_alloc();
        });
    UErrorPtr error;
    EXPECT_FALSE(UFemToolNodeMerger::mergeNode(seamGroups(model), false, &error));
    EXPECT_TRUE(failed);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 81001);
    EXPECT_EQ(data.modelTextOfAllCards(), before);
    model.harness.finishEventTurn();
    EXPECT_FALSE(model.harness.document->undoManager().canUndo());
}
