#include "ElementDividerTestSupport.h"

#include "appkit/WindowController.h"
#include "foundation/errors/UFemErrorsNodeMerger.h"
#include "tools/merger/UFemToolNodeMerger.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// Two Quads whose shared edge was written twice: N2/N5 and N3/N6 lie on one place; X is a
// material.
const QString SeamModel = QStringLiteral("Material , X , 210000 , 0.3 ,\n"
                                         "ShellProp , S1 , X , 0.1 ,\n"
                                         "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                         "Node , N2 ,  , 1 , 0 , 0 ,\n"
                                         "Node , N3 ,  , 1 , 1 , 0 ,\n"
                                         "Node , N4 ,  , 0 , 1 , 0 ,\n"
                                         "Node , N5 ,  , 1 , 0 , 0 ,\n"
                                         "Node , N6 ,  , 1 , 1 , 0 ,\n"
                                         "Node , N7 ,  , 2 , 0 , 0 ,\n"
                                         "Node , N8 ,  , 2 , 1 , 0 ,\n"
                                         "Quad , Q1 , S1 , N1 , N2 , N3 , N4 ,\n"
                                         "Quad , Q2 , S1 , N5 , N7 , N8 , N6 ,\n");
const QStringList AllNodes = { "N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8" };

struct MergerPanel {
    MergerPanel()
        : model(SeamModel)
        , merger(model.harness.tracker, model.harness.sheets)
    {
        model.harness.tracker.windowDidActivate(model.harness.window);
        model.harness.window->setSelectedCardArray(model.cards(AllNodes));
        model.harness.finishEventTurn();
        before = model.harness.model().modelTextOfAllCards();
    }

    struct Setting {
        QString distance = QStringLiteral("1.0E-08");
        int keepTag = UFemToolNodeMerger::keepFirstNodeTag;
        bool useClipboardList = false;
        bool keepAsComment = false;
    };
    // Opens the panel, sets it and runs; answers the alert it gave.
    Alert run(const Setting& setting, bool execute = true)
    {
        const std::size_t alertsBefore = model.harness.sheets.alerts.size();
        merger.openNodeMergerWindow();
        merger.nodeMergeDistanceTextField()->setText(setting.distance);
        merger.keepNodeOptionPopup()->setCurrentIndex(
            merger.keepNodeOptionPopup()->findData(setting.keepTag));
        merger.doesUseNodeNameListInClipboardCheckButton()->setChecked(setting.useClipboardList);
        merger.doesKeepRemovedNodeCardAsCommentCheckButton()->setChecked(setting.keepAsComment);
        if (execute)
            merger.applyNodeMerger();
        else
            merger.writeNodeNameListToClipboard();
        EXPECT_EQ(model.harness.sheets.alerts.size(), alertsBefore + 1);
        return model.harness.sheets.alerts.empty() ? Alert() : model.harness.sheets.alerts.back();
    }
    bool isModelUnchanged() const { return model.harness.model().modelTextOfAllCards() == before; }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }
    static void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

    DividerModel model;
    UFemToolNodeMerger merger;
    QString before;
};

} // namespace

TEST(NodeMergerPanelTest, RefusalsAlertInTheirOrderAndChangeNothing)
{
    MergerPanel panel;
    EXPECT_EQ(panel.merger.nodeMergeDistanceTextField()->text(), "1.0E-08");
    EXPECT_EQ(panel.merger.keepNodeOptionPopup()->itemData(1).toInt(), 2);
    const QString emptyDistance
        = QStringLiteral("'Node Merge Distance' is empty or smaller than 0.0.");
    const QString noList = QStringLiteral("No Node Card Name List in clipboard.");
    struct Case {
        const char* distance;
        bool useClipboardList;
        const char* clipboard;
        QString message;
    };
    const QString fiveUnknown
        = UFemToolNodeMergerSpecifiedKeepNodeCardNameListNodeCardNameError_withNodeCardErrorString(
            "A1 : Specified Card Name is not exist.\nA2 : Specified Card Name is not exist.\nS1 : "
            "Specified Card Name is not Node Card Type. ( Card Type: "
            + UFemCardTypeDisplayString(UFemElementPropCardType) + " )\n... (more)")
              ->localizedDescription();
    const Case cases[] = {
        { "", false, "", emptyDistance },
        { "-1", false, "", emptyDistance },
        { "1.0E-08", true, "", noList },
        { "1.0E-08", true, " ,\n", noList },
        { "1.0E-08", true, "A1\nA2, S1\tA4\nA5", fiveUnknown },
        { "1.0E-08", true, "N2\nN3\nN1", "Several Node Card Name specified is not used." },
        { "1e-9", false, "", "'Merging Nodes' completed." },
    };
    for (const Case& each : cases) {
        if (QString(each.distance) == "1e-9") {
            // Nothing within the distance.
            panel.model.harness.window->setSelectedCardArray(
                panel.model.cards({ "N1", "N2", "N3" }));
            EXPECT_EQ(panel.run({ each.distance }).messageText,
                "No nodes exist on same location or closer than 'Node Merge Distance'.");
            continue;
        }
        panel.setClipboard(each.clipboard);
        const Alert alert = panel.run({ each.distance, 1, each.useClipboardList });
        EXPECT_EQ(alert.messageText, each.message) << each.distance << " " << each.clipboard;
        EXPECT_EQ(panel.clipboard(), each.clipboard);
        EXPECT_TRUE(panel.isModelUnchanged());
    }
    EXPECT_EQ(panel.model.harness.sheets.alerts[5].informativeText,
        "Node Name below is specified in clipboard, but it's not included in selected Node card, "
        "or No node on same location.\nN1 ( 1 cards )");

    // A distance that does not read keeps the panel open.
    panel.merger.openNodeMergerWindow();
    panel.merger.nodeMergeDistanceTextField()->setText("abc");
    panel.merger.applyNodeMerger();
    EXPECT_TRUE(panel.merger.isVisible());
    panel.merger.cancelNodeMerger();
    EXPECT_FALSE(panel.merger.isVisible());

    panel.model.harness.window->setSelectedCardArray(panel.model.cards({ "N1", "Q1" }));
    EXPECT_EQ(
        panel.run({}).messageText, "Node Card is not selected or Just 1 Node Card is selected.");
    WindowController other(std::make_unique<QWidget>(), panel.model.harness.tracker);
    panel.model.harness.tracker.windowDidActivate(&other);
    EXPECT_EQ(panel.run({}).messageText, "Document window is not selected.");
    EXPECT_TRUE(panel.isModelUnchanged());
}

TEST(NodeMergerPanelTest, KeepRulesOrderTheListAndCheckOnlyLeavesTheModel)
{
    MergerPanel panel;
    const Alert checked = panel.run({ "0", UFemToolNodeMerger::keepLastNodeTag }, false);
    EXPECT_EQ(checked.messageText, "Node List on same location has written in clipboard.");
    EXPECT_EQ(checked.informativeText, "You can paste it on a text editor software.");
    EXPECT_EQ(panel.clipboard(), "N5, N2, \nN6, N3, \n");
    EXPECT_TRUE(panel.isModelUnchanged());

    // The clipboard list names the node kept in its group; the other group keeps its first.
    panel.setClipboard("N6");
    EXPECT_EQ(panel.run({ "1.0E-08", 1, true }, false).messageText,
        "Node List on same location has written in clipboard.");
    EXPECT_EQ(panel.clipboard(), "N2, N5, \nN6, N3, \n");

    panel.setClipboard("N6");
    const Alert merged = panel.run({ "1.0E-08", UFemToolNodeMerger::keepLastNodeTag, true, true });
    EXPECT_EQ(merged.messageText, "'Merging Nodes' completed.");
    EXPECT_EQ(merged.informativeText,
        "Merged Node List has written in clipboard. You can paste it on a text editor software.");
    EXPECT_EQ(panel.clipboard(), "N5, N2, \nN6, N3, \n");
    const QString text = panel.model.harness.model().modelTextOfAllCards();
    EXPECT_TRUE(text.contains("\\ <RemovedByNodeMerge> Node , N2 ,  , 1 , 0 , 0 ,\n"));
    EXPECT_TRUE(text.contains("Quad , Q1 , S1 , N1 , N5 , N6 , N4 ,\n"));
}
