#include "GraphicViewTestSupport.h"

#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/window/UFemWindow.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsEditCard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <functional>

namespace {

const QString plateModelText = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                              "ShellProp , P , Steel , 0.05 ,\n"
                                              "Node , A ,  , -1 , 0 , -0.5 ,\n"
                                              "Node , B ,  , 1 , 0 , -0.5 ,\n"
                                              "Node , C ,  , 1 , 0 , 0.5 ,\n"
                                              "Node , D ,  , -1 , 0 , 0.5 ,\n"
                                              "Quad , Q , P , A , B , C , D ,\n");
constexpr quint64 quadRow = 6;
constexpr quint64 nodeARow = 2;

// Widget positions (y down) of the 400 x 300 view.
constexpr QPointF onPlate { 200, 150 };
constexpr QPointF onEmptySpace { 5, 5 };

constexpr quint64 none = UFemRangeNotFound;

class GraphicViewEditorTest : public GraphicViewFixture {
protected:
    GraphicViewEditorTest()
        : GraphicViewFixture(plateModelText)
    {
    }

    QLineEdit& field() const
    {
        return *harness.window->ufemWindow().optionalCardStringEditorTextFieldOutlet;
    }
    QLineEdit& rowField() const
    {
        return *harness.window->ufemWindow().optionalCardStringEditorCardRowIndexTextFieldOutlet;
    }
    bool isEditorOpen() const { return harness.window->isOptionalCardStringEditorValid(); }
    QString lineOfRow(quint64 row) const { return UFemCardString(*harness.windowCard(row)); }

    void mouse(QEvent::Type type, QPointF at)
    {
        const Qt::MouseButtons buttons
            = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }

    void doubleClick(QPointF at)
    {
        for (const QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                 QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease })
            mouse(type, at);
    }
};

} // namespace

// The double click picks the plate and opens the editor on its whole line; a double click on
// empty space applies the edited line and clears the selection.
TEST_F(GraphicViewEditorTest, DoubleClickOpensTheEditorOnTheWholeLine)
{
    const QString line = lineOfRow(quadRow);
    doubleClick(onPlate);
    ASSERT_TRUE(isEditorOpen());
    EXPECT_EQ(field().text(), line);
    EXPECT_EQ(field().selectedText(), line);
    EXPECT_EQ(rowField().text(), QString::number(quadRow + 1));
    EXPECT_EQ(selectedNames(), QStringList { "Q" });
    UErrorPtr error;
    EXPECT_EQ(controller->selectedSearchCardStringRange(&error),
        (_UFemSearchCardStringRange { quadRow, 0, quadRow, quint64(line.size()) }));

    const QString rotated = QStringLiteral("Quad , Q , P , B , C , D , A ,");
    field().setText(rotated);
    doubleClick(onEmptySpace);
    EXPECT_FALSE(isEditorOpen());
    EXPECT_EQ(selectedNames(), QStringList {});
    EXPECT_EQ(lineOfRow(quadRow), rotated);
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

// The end of editing writes the line back; a card edited out of the window's filter leaves its
// row to the next card, which is then selected, or to nothing when it was the last.
TEST_F(GraphicViewEditorTest, EditingACardOutOfTheFilterSelectsTheCardNowAtItsRow)
{
    harness.window->setCardFilterString(QStringLiteral("type:Node"));
    struct Case {
        QString edited;
        QStringList selectedAfter;
    };
    for (const Case& c : { Case { "B", { "C" } }, Case { "D", {} } }) {
        UFemWindowCardTable& cards = harness.window->windowCardTable();
        quint64 row = 0;
        while (row < cards.count() && cards.cardAtIndex(row)->cardNameString() != c.edited)
            ++row;
        ASSERT_LT(row, cards.count()) << c.edited.toStdString();
        UErrorPtr error;
        ASSERT_TRUE(controller->selectSearchCardStringRange({ row, 0, row, 4 }, &error));
        ASSERT_TRUE(isEditorOpen());
        EXPECT_EQ(field().selectedText(), "Node");
        const QString material = QStringLiteral("Material , M%1 , 1 , 0.3 ,").arg(c.edited);
        field().setText(material);
        emit field().editingFinished();
        EXPECT_FALSE(isEditorOpen()) << c.edited.toStdString();
        EXPECT_EQ(selectedNames(), c.selectedAfter) << c.edited.toStdString();
        EXPECT_TRUE(harness.model().modelTextOfAllCards().contains(material));
    }
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

// Find, find next and replace of the window reach the 3-D view through the optional editor;
// without an open editor a replacement reports nothing, not even an error.
TEST_F(GraphicViewEditorTest, FindAndReplaceGoThroughTheOptionalEditor)
{
    FakeFindPanel panel;
    panel.replacement = QStringLiteral("-2");
    controller->ufemMainView_replaceSelection();
    EXPECT_EQ(harness.beepCount(), 1);
    EXPECT_TRUE(harness.sheets.alerts.empty());
    bool isReplaced = true;
    UErrorPtr error;
    EXPECT_EQ(controller->replaceSelectedSearchCardStringRange("x", &isReplaced, &error),
        _UFemSearchCardStringRange {});
    EXPECT_FALSE(isReplaced);
    EXPECT_EQ(error, nullptr);

    panel.search = QStringLiteral("C ,");
    controller->ufemMainView_findNext();
    ASSERT_TRUE(isEditorOpen());
    EXPECT_EQ(field().selectedText(), panel.search);
    EXPECT_EQ(selectedNames(), QStringList { "C" });
    controller->ufemMainView_findNext();
    ASSERT_TRUE(isEditorOpen());
    EXPECT_EQ(selectedNames(), QStringList { "Q" });
    EXPECT_EQ(field().selectedText(), panel.search);

    const QString nodeA = lineOfRow(nodeARow);
    const auto start = quint64(nodeA.indexOf(QStringLiteral("-1")));
    ASSERT_TRUE(
        controller->selectSearchCardStringRange({ nodeARow, start, nodeARow, start + 2 }, &error));
    controller->ufemMainView_replaceSelection();
    EXPECT_EQ(lineOfRow(nodeARow), QStringLiteral("Node , A ,  , -2 , 0 , -0.5 ,"));
    EXPECT_EQ(controller->selectedSearchCardStringRange(&error),
        (_UFemSearchCardStringRange { nodeARow, start, nodeARow, start + 2 }));
    EXPECT_EQ(harness.beepCount(), 1);
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

// Characters over several rows are refused with the error; whole rows are clamped to the last
// card.
TEST_F(GraphicViewEditorTest, SearchRangesItCannotShowAreRefused)
{
    struct Case {
        _UFemSearchCardStringRange range;
        bool accepted;
        QString error;
        QStringList selected;
    };
    const QString multiRow = QStringLiteral(
        "Unexpected error occurred. Multi-Row String Range selection. ( Not supported. )");
    const Case cases[] = {
        { { 2, 0, 3, 4 }, false, multiRow, { "A" } },
        { { 2, none, 3, none }, true, {}, { "A", "B" } },
        { { 5, none, 99, none }, true, {}, { "D", "Q" } },
    };
    for (const Case& c : cases) {
        harness.window->setSelectedCardArray({ harness.windowCard(nodeARow) });
        UErrorPtr error;
        EXPECT_EQ(controller->selectSearchCardStringRange(c.range, &error), c.accepted);
        EXPECT_EQ(error != nullptr ? error->localizedDescription() : QString(), c.error);
        EXPECT_EQ(selectedNames(), c.selected);
        EXPECT_FALSE(isEditorOpen());
    }
}

namespace {

using GraphicViewFindPastEndTest = GraphicViewEditorTest;

} // namespace

// A found card that has left the window's cards cannot be shown: the selection and the editor
// stay as they were and the answer says why, so a find never ends in silence.
TEST_F(GraphicViewFindPastEndTest, RowsPastTheWindowsCardsAreRefusedWithTheReason)
{
    const quint64 count = harness.window->windowCardTable().count();
    const _UFemSearchCardStringRange ranges[] = {
        { count, none, count, none },
        { count, 0, count, 3 },
        { count + 5, none, count + 9, none },
    };
    for (const _UFemSearchCardStringRange& range : ranges) {
        harness.window->setSelectedCardArray({ harness.windowCard(nodeARow) });
        UErrorPtr error;
        EXPECT_FALSE(controller->selectSearchCardStringRange(range, &error));
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->localizedDescription(),
            QStringLiteral("Unexpected error occurred. The card to select is no longer among the "
                           "window's cards."));
        EXPECT_EQ(selectedNames(), QStringList { "A" });
        EXPECT_FALSE(isEditorOpen());
    }
}

// Typing into the editor of a locked model is refused with one alert per refused key, as in the
// card table; keys that change nothing pass, and once unlocked the same key types.
TEST_F(GraphicViewEditorTest, ALockedModelRefusesTypingInTheEditor)
{
    UErrorPtr error;
    ASSERT_TRUE(controller->selectSearchCardStringRange({ nodeARow, 0, nodeARow, 0 }, &error));
    ASSERT_TRUE(isEditorOpen());
    const QString line = field().text();
    struct Case {
        bool isLocked;
        int key;
        QString text;
        bool changes;
        std::size_t alerts;
    };
    const Case cases[] = {
        { true, Qt::Key_X, QStringLiteral("x"), false, 1 },
        { true, Qt::Key_Delete, QString(), false, 2 },
        { true, Qt::Key_End, QString(), false, 2 },
        { false, Qt::Key_X, QStringLiteral("x"), true, 2 },
    };
    for (const Case& c : cases) {
        harness.model().setLockedOutside(c.isLocked);
        QKeyEvent typing(QEvent::KeyPress, c.key, {}, c.text);
        QApplication::sendEvent(&field(), &typing);
        EXPECT_EQ(field().text() != line, c.changes) << c.key;
        EXPECT_EQ(harness.sheets.alerts.size(), c.alerts) << c.key;
    }
    EXPECT_EQ(harness.sheets.alerts.at(0).messageText,
        UFemModelDataLockedError()->localizedDescription());
}

namespace {

using GraphicViewLockedEditTest = GraphicViewEditorTest;

} // namespace

// On a locked model the double-click editor refuses edits that come past the keys too, each with
// the alert, and Return then leaves the card as it was without a word of success; a line edited
// before the lock came is refused with the alert when Return applies it.
TEST_F(GraphicViewLockedEditTest, EditsOfALockedModelAreRefusedAloud)
{
    const QString line = lineOfRow(quadRow);
    const QString lockedText = UFemModelDataLockedError()->localizedDescription();
    auto pressReturn = [this] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, {}, QStringLiteral("\r"));
        QApplication::sendEvent(&field(), &press);
    };
    QGuiApplication::clipboard()->setText(QStringLiteral(" , X"));
    const std::pair<const char*, std::function<void()>> edits[] = {
        { "paste", [this] { field().paste(); } },
        { "input method",
            [this] {
                QInputMethodEvent composed;
                composed.setCommitString(QStringLiteral("x"));
                QApplication::sendEvent(&field(), &composed);
            } },
    };
    doubleClick(onPlate);
    ASSERT_TRUE(isEditorOpen());
    harness.model().setLockedOutside(true);
    std::size_t alerts = 0;
    for (const auto& [name, edit] : edits) {
        field().end(false);
        edit();
        EXPECT_EQ(field().text(), line) << name;
        ASSERT_EQ(harness.sheets.alerts.size(), ++alerts) << name;
        EXPECT_EQ(harness.sheets.alerts.back().messageText, lockedText) << name;
    }
    pressReturn();
    EXPECT_FALSE(isEditorOpen());
    EXPECT_EQ(lineOfRow(quadRow), line);
    EXPECT_EQ(harness.sheets.alerts.size(), alerts);

    harness.model().setLockedOutside(false);
    doubleClick(onPlate);
    ASSERT_TRUE(isEditorOpen());
    field().end(false);
    field().paste();
    EXPECT_EQ(field().text(), line + " , X");
    harness.model().setLockedOutside(true);
    pressReturn();
    EXPECT_FALSE(isEditorOpen());
    EXPECT_EQ(lineOfRow(quadRow), line);
    ASSERT_EQ(harness.sheets.alerts.size(), alerts + 1);
    EXPECT_EQ(harness.sheets.alerts.back().messageText, lockedText);
}
