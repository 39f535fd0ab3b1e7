#include "ElementDividerTestSupport.h"

#include "appkit/WindowController.h"
#include "tools/divider/UFemToolElementDivider.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

const QString Before = QStringLiteral("clipboard before");
const QString LessThanTwo = QStringLiteral("'Number of dividing' is less than 2.");
const QString WarningInformation
    = QStringLiteral("Error description and model text has written in clipboard. Paste it on an "
                     "text editor software and check it.");

// The divider over a document window that is main, with the clipboard set aside.
struct DividerPanel {
    explicit DividerPanel(const QString& modelText = TwoQuadModel)
        : model(modelText)
        , divider(model.harness.tracker, model.harness.sheets)
    {
        model.harness.tracker.windowDidActivate(model.harness.window);
        QGuiApplication::clipboard()->setText(Before);
    }

    void select(const QStringList& names)
    {
        model.harness.window->setSelectedCardArray(model.cards(names));
    }
    // Opens the panel, sets it up and presses Apply; answers the one alert it gave.
    Alert run(const QString& tab, const QString& numberText = QStringLiteral("2"), int tag = 1)
    {
        const std::size_t alertsBefore = model.harness.sheets.alerts.size();
        divider.openElementDividerWindow();
        EXPECT_EQ(divider.numberOfDivideTextField()->text(), "2");
        for (int index = 0; index < divider.functionSelectTab()->count(); ++index) {
            if (divider.functionSelectTab()->widget(index)->objectName() == tab)
                divider.functionSelectTab()->setCurrentIndex(index);
        }
        divider.numberOfDivideTextField()->setText(numberText);
        divider.changeDirectionPopup()->setCurrentIndex(
            divider.changeDirectionPopup()->findData(tag));
        divider.applyElementDivider();
        EXPECT_FALSE(divider.isVisible());
        EXPECT_EQ(model.harness.sheets.alerts.size(), alertsBefore + 1);
        return model.harness.sheets.alerts.empty() ? Alert() : model.harness.sheets.alerts.back();
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }

    DividerModel model;
    UFemToolElementDivider divider;
};

} // namespace

TEST(DividerEstimate, APanelRunPastTheAvailableMemoryAlertsWithoutAskingToQuit)
{
    DividerPanel panel(TwoQuadModel
        + QStringLiteral("Node , I ,  , 0 , 0 , 1 ,\nNode , J ,  , 2 , 0 , 1 ,\n"
                         "Node , K ,  , 2 , 4 , 1 ,\nNode , L ,  , 0 , 4 , 1 ,\n"
                         "SolidProp , P , Steel ,\n"
                         "Hexa , H1 , P , A , B , C , D , I , J , K , L ,\n"));
    panel.select({ "H1" });
    const Alert alert = panel.run(UFemToolElementDividerDivideElementsTab, "999");
    EXPECT_TRUE(alert.messageText.startsWith("Memory allocation failed. Dividing the elements"));
    EXPECT_FALSE(alert.informativeText.contains("Quit")) << alert.informativeText.toStdString();
    EXPECT_EQ(panel.clipboard(), Before);
}

TEST(ElementDividerPanelTest, NumberOfDivideIsCheckedAfterTheWindowAndTheSelection)
{
    DividerPanel panel;
    panel.select({ "Q1", "A" });
    EXPECT_EQ(panel.divider.changeDirectionPopup()->count(), 4);
    for (const char* text : { "1", "0", "-3", "abc", "" }) {
        const Alert alert = panel.run(UFemToolElementDividerDivideElementsTab, text);
        EXPECT_EQ(alert.messageText, LessThanTwo) << text;
        EXPECT_EQ(alert.informativeText, "'Number of dividing' must be 2 or more.");
    }
    const Alert tooBig = panel.run(UFemToolElementDividerDivideElementsTab, "1000");
    EXPECT_EQ(tooBig.messageText, "aNumOfDivide is too big.");
    EXPECT_EQ(panel.clipboard(), Before);

    const Alert done = panel.run(UFemToolElementDividerDivideElementsTab, "2");
    EXPECT_EQ(done.messageText, "'Dividing Elements' completed.");
    EXPECT_EQ(done.informativeText,
        "Model text of divided elements has written in clipboard. Paste it on model or an text "
        "editor software.");
    bool warning = true;
    UErrorPtr error;
    EXPECT_EQ(panel.clipboard(),
        UFemToolElementDivider::modelTextToAddByDividingElement(
            panel.model.cards({ "Q1", "A" }), 2, 0, nullptr, &warning, &error));
}

TEST(ElementDividerPanelTest, WindowAndSelectionChecksRefuseWithTheirAlerts)
{
    DividerPanel panel;
    panel.select({ "A", "B" });
    const Alert noElement = panel.run(UFemToolElementDividerDivideElementsTab);
    EXPECT_EQ(noElement.messageText, "Element card is not selected.");
    EXPECT_EQ(
        noElement.informativeText, "Select element cards which you want to divide, and apply.");

    // A window of another kind as main (the model edit window) is no document window.
    WindowController other(std::make_unique<QWidget>(), panel.model.harness.tracker);
    panel.model.harness.tracker.windowDidActivate(&other);
    panel.select({ "Q1" });
    for (const QString& tab :
        { UFemToolElementDividerDivideElementsTab, UFemToolElementDividerChangeQuad4QuadXXTab }) {
        const Alert noWindow = panel.run(tab);
        EXPECT_EQ(noWindow.messageText, "Document window is not selected.");
        EXPECT_EQ(noWindow.informativeText,
            "Select element cards which you want to divide, and apply while selecting the window.");
    }
    EXPECT_EQ(panel.clipboard(), Before);

    // A Rod alone passes the check and comes back unchanged.
    panel.model.harness.tracker.windowDidActivate(panel.model.harness.window);
    panel.select({ "R1" });
    EXPECT_EQ(panel.run(UFemToolElementDividerDivideElementsTab, "3").messageText,
        "'Dividing Elements' completed.");
    EXPECT_TRUE(panel.clipboard().contains("( 1 cards )\nRod , R1 , RP , A , E ,\n"));
    EXPECT_TRUE(linesStartingWith(panel.clipboard(), "Node , ").isEmpty());
}

TEST(ElementDividerPanelTest, ConversionsAlertByTheirDirectionAndErrorsKeepTheClipboard)
{
    DividerPanel panel(TwoQuadModel + QStringLiteral("Quad , Q3 , S1 , A , B , G , D ,\n"));
    panel.select({ "Q1" });
    const std::pair<int, QString> directions[] = { { 1, "Quad to Quad8" }, { 2, "Quad to Quad9" },
        { 3, "Quad to Quad16" }, { 9, "QuadXX to Quad" } };
    for (const auto& [tag, name] : directions) {
        const Alert alert = panel.run(UFemToolElementDividerChangeQuad4QuadXXTab, "2", tag);
        EXPECT_EQ(alert.messageText, "'Changing " + name + "' completed.");
        EXPECT_EQ(alert.informativeText,
            "Model text of changed Quad has written in clipboard. Paste it on model or an text "
            "editor software.");
    }
    EXPECT_EQ(linesStartingWith(panel.clipboard(), "Quad , "),
        QStringList({ "Quad , Q1 , S1 , A , B , C , D ," }));

    QGuiApplication::clipboard()->setText(Before);
    panel.select({ "Q1", "Q3" });
    const Alert missing = panel.run(UFemToolElementDividerChangeQuad4QuadXXTab, "2", 3);
    EXPECT_EQ(missing.messageText, "Node card 'G' is not created yet.");
    EXPECT_EQ(panel.clipboard(), Before);
}

TEST(ElementDividerPanelTest, NameClashesEndWithTheWarningAlertAndTheWarningsInTheText)
{
    // The edges (A_B, C) and (A, B_C) both name their middle A_B_C_21, at different places.
    DividerPanel panel(QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                      "ShellProp , S1 , Steel , 0.1 ,\n"
                                      "Node , A_B ,  , 0 , 0 , 0 ,\nNode , C ,  , 2 , 0 , 0 ,\n"
                                      "Node , X ,  , 2 , 2 , 0 ,\nNode , Y ,  , 0 , 2 , 0 ,\n"
                                      "Node , A ,  , 0 , 5 , 0 ,\nNode , B_C ,  , 2 , 5 , 0 ,\n"
                                      "Node , Z ,  , 2 , 7 , 0 ,\nNode , W ,  , 0 , 7 , 0 ,\n"
                                      "Quad , Q1 , S1 , A_B , C , X , Y ,\n"
                                      "Quad , Q2 , S1 , A , B_C , Z , W ,\n"));
    panel.select({ "Q1", "Q2" });
    const Alert alert = panel.run(UFemToolElementDividerDivideElementsTab);
    EXPECT_EQ(alert.messageText, "'Dividing Elements' has some error or warning.");
    EXPECT_EQ(alert.informativeText, WarningInformation);
    const QString text = panel.clipboard();
    EXPECT_TRUE(text.contains("\\ *** Warning ***Warning - Same node name 'A_B_C_21' created on "
                              "different location, so changed to name 'A_B_C_21_@2@'.\n\n"));
    const auto nodes = dividerNodes(text);
    EXPECT_EQ(nodes.at("A_B_C_21")[1], 0.0);
    EXPECT_EQ(nodes.at("A_B_C_21_@2@")[1], 5.0);
    EXPECT_EQ(linesStartingWith(text, "Quad , Q2_211 , S1 , A , A_B_C_21_@2@ , ").size(), 1);
}
