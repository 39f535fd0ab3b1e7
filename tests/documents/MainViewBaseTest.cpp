#include "WindowTestSupport.h"

#include "appkit/CommandItem.h"
#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "cardmodel/text/UFemModelText.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/mainview/UFemProjectInfoOverlay.h"
#include "foundation/UFemNotFound.h"
#include "platform/UUndoManager.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A main view that keeps an explicit search range, as the card table does with its text
// selection, and records what the base asks of it.
class StubMainView : public UFemMainViewController {
public:
    explicit StubMainView(UFemWindowController& window)
        : UFemMainViewController(window)
    {
    }

    quint64 cardRowIndexToAddCard(UErrorPtr*) override { return rowToAdd; }
    _UFemSearchCardStringRange selectedSearchCardStringRange(UErrorPtr*) override { return range; }
    bool selectSearchCardStringRange(
        const _UFemSearchCardStringRange& selected, UErrorPtr*) override
    {
        range = selected;
        ++selections;
        return true;
    }
    _UFemSearchCardStringRange replaceSelectedSearchCardStringRange(
        const QString& replaceString, bool* isReplaced, UErrorPtr*) override
    {
        replacements.append(replaceString);
        *isReplaced = replaces;
        return range;
    }
    void applyAndCloseCardStringFieldEditor() override { ++editorClosings; }
    bool respondsToScrollToSelection() const override { return true; }
    void scrollToSelection() override { ++scrolls; }

    quint64 rowToAdd = UFemNotFound;
    _UFemSearchCardStringRange range;
    bool replaces = true;
    QStringList replacements;
    int selections = 0;
    int editorClosings = 0;
    int scrolls = 0;
};

// Node N1 named twice on its line (name and comment), once on the rod and once on the restraint.
const QString ReplaceModelText
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                     "RodProp , RP , Steel , 0.5 ,\n"
                     "Node , N1 ,  , 0 , 0 , 0 ,    \\ N1 at origin\n"
                     "Node , N2 ,  , 1.5 , 0 , 0 ,\n"
                     "Rod , R1 , RP , N1 , N2 ,\n"
                     "FixNode , F1 , N1 , YES , YES , YES , NO , NO , NO ,\n");

struct MainViewHarness : WindowHarness {
    explicit MainViewHarness(const QString& modelText = WindowModelText)
        : WindowHarness(UFemDocumentTypeModel, modelText,
            [](UFemWindowController& window, UFemViewType) {
                return std::make_unique<StubMainView>(window);
            })
        , view(static_cast<StubMainView&>(*window->mainViewController()))
    {
    }

    void perform(const QString& command, int tag = 0)
    {
        view.performCommand(CommandItem(command, tag));
    }
    bool validate(const QString& command)
    {
        CommandItem item(command);
        return view.validateCommand(item);
    }
    QString cardText(quint64 row) const { return UFemCardString(*model().cardAtCardRowIndex(row)); }

    StubMainView& view;
    FakeFindPanel findPanel;
};

int count(const QStringList& names, const QString& name)
{
    return int(names.count(name));
}

} // namespace

TEST(MainViewBaseTest, CopyCutAndPasteAsCommaOrTabText)
{
    MainViewHarness harness;
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.clear();
    harness.perform(QStringLiteral("copy:"));
    EXPECT_EQ(harness.beepCount(), 1);
    EXPECT_FALSE(harness.validate(QStringLiteral("copy:")));
    EXPECT_FALSE(harness.validate(QStringLiteral("paste:")));

    const UFemCardVector nodes = { harness.windowCard(2), harness.windowCard(3) };
    harness.window->setSelectedCardArray(nodes);
    EXPECT_TRUE(harness.validate(QStringLiteral("cut:")));
    harness.perform(QStringLiteral("copy:"));
    EXPECT_EQ(clipboard.text(),
        QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 1.5 , 0 , 0 ,\n"));
    EXPECT_FALSE(clipboard.mimeData()->hasFormat(QStringLiteral("text/tab-separated-values")));
    const QString tabText = UFemModelText(nodes, UFemColumnSeparatingCharacterTypeTab);
    harness.perform(QStringLiteral("copyAsTabSeparatedText:"));
    EXPECT_EQ(clipboard.text(), tabText);
    EXPECT_TRUE(clipboard.text().contains(QLatin1Char('\t')));

    harness.perform(QStringLiteral("cutAsTabSeparatedText:"));
    EXPECT_EQ(clipboard.text(), tabText);
    EXPECT_EQ(harness.model().cardCount(), 10u);
    EXPECT_TRUE(harness.window->selectedCardArray().empty());
    EXPECT_EQ(harness.model().undoManager()->undoActionName(), QStringLiteral("Cut 2 Cards"));
    harness.finishEventTurn();

    EXPECT_TRUE(harness.validate(QStringLiteral("paste:")));
    harness.perform(QStringLiteral("pasteAsTabSeparatedText:"));
    EXPECT_EQ(harness.model().cardCount(), 12u);
    EXPECT_EQ(harness.cardText(10), QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,"));
    EXPECT_FALSE(harness.model().cardAtCardRowIndex(11)->isErrorCard());
    EXPECT_EQ(harness.model().undoManager()->undoActionName(), QStringLiteral("Paste 2 Cards"));
    harness.finishEventTurn();

    auto* tabular = new QMimeData;
    tabular->setData(QStringLiteral("text/tab-separated-values"), "Node\tN7\t\t7\t0\t0\n");
    clipboard.setMimeData(tabular);
    harness.view.rowToAdd = 0;
    harness.perform(QStringLiteral("paste:"));
    EXPECT_EQ(harness.cardText(0), QStringLiteral("Node , N7 ,  , 7 , 0 , 0 ,"));
    harness.finishEventTurn();

    harness.model().undoManager()->undo();
    harness.model().undoManager()->undo();
    harness.model().undoManager()->undo();
    EXPECT_EQ(harness.model().cardCount(), 12u);
    EXPECT_EQ(harness.cardText(2), QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,"));
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

TEST(MainViewBaseTest, InsertDeleteSelectAllAndTheLockedModel)
{
    MainViewHarness harness;
    harness.view.rowToAdd = 1;
    harness.perform(QStringLiteral("insert:"));
    EXPECT_EQ(harness.model().cardCount(), 13u);
    EXPECT_TRUE(harness.model().cardAtCardRowIndex(1)->isNullCard());
    EXPECT_EQ(harness.model().undoManager()->undoActionName(), QStringLiteral("Insert"));
    harness.finishEventTurn();

    harness.perform(QStringLiteral("selectAll:"));
    EXPECT_EQ(harness.window->selectedCardArray().size(), 13u);
    harness.window->setSelectedCardArray({ harness.windowCard(1) });
    harness.perform(QStringLiteral("delete_:"));
    EXPECT_EQ(harness.model().cardCount(), 12u);
    EXPECT_TRUE(harness.window->selectedCardArray().empty());
    harness.finishEventTurn();

    harness.model().setLockedOutside(true);
    EXPECT_FALSE(harness.validate(QStringLiteral("insert:")));
    EXPECT_FALSE(harness.validate(QStringLiteral("undo:")));
    EXPECT_TRUE(harness.validate(QStringLiteral("selectAll:")));
    harness.perform(QStringLiteral("insert:"));
    EXPECT_EQ(harness.model().cardCount(), 12u);
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts[0].messageText,
        harness.model().errorIfLocked()->localizedDescription());
    harness.model().undoManager()->setActionName(QStringLiteral("unchanged"));
    harness.perform(QStringLiteral("undo:"));
    EXPECT_EQ(harness.beepCount(), 1);
    EXPECT_EQ(harness.model().cardCount(), 12u);
}

TEST(MainViewBaseTest, FindNextSelectsTheNextMatchAndBeepsOnTheSameOne)
{
    MainViewHarness harness;
    harness.perform(QStringLiteral("findNext:"));
    EXPECT_EQ(harness.beepCount(), 1);

    harness.findPanel.search = QStringLiteral("N2");
    harness.findPanel.message = QStringLiteral("old");
    harness.perform(QStringLiteral("findNext:"));
    EXPECT_EQ(harness.findPanel.message, QString());
    EXPECT_EQ(harness.view.range.startCardIndex, 3u);
    EXPECT_EQ(harness.view.range.endCardIndex, 3u);
    EXPECT_EQ(harness.view.range.startStringLocation, 7u);
    EXPECT_EQ(harness.view.range.endStringLocation, 9u);
    harness.perform(QStringLiteral("findNext:"));
    EXPECT_EQ(harness.view.range.startCardIndex, 4u);
    harness.perform(QStringLiteral("findPrevious:"));
    EXPECT_EQ(harness.view.range.startCardIndex, 3u);

    harness.findPanel.search = QStringLiteral("Steel , 210000");
    harness.perform(QStringLiteral("findNext:"));
    EXPECT_EQ(harness.view.range.startCardIndex, 0u);
    const int selections = harness.view.selections;
    harness.perform(QStringLiteral("findNext:"));
    EXPECT_EQ(harness.view.selections, selections);
    EXPECT_EQ(harness.beepCount(), 2);
}

TEST(MainViewBaseTest, ReplaceAllCountsEveryOccurrenceInOneModelChangeAndOneUndoStep)
{
    MainViewHarness harness(ReplaceModelText);
    harness.findPanel.search = QStringLiteral("N1");
    harness.findPanel.replacement = QStringLiteral("NODE1");
    NotificationLog log({ UFemModelDataDidChangeNotification }, { &harness.model() });
    harness.perform(QStringLiteral("replaceAll:"));
    EXPECT_EQ(harness.findPanel.message, QStringLiteral("4 replaced"));
    EXPECT_EQ(count(log.names, UFemModelDataDidChangeNotification), 1);
    EXPECT_EQ(harness.view.editorClosings, 1);
    EXPECT_EQ(
        harness.cardText(2), QStringLiteral("Node , NODE1 ,  , 0 , 0 , 0 ,    \\ NODE1 at origin"));
    EXPECT_EQ(harness.cardText(4), QStringLiteral("Rod , R1 , RP , NODE1 , N2 ,"));
    EXPECT_EQ(harness.cardText(5),
        QStringLiteral("FixNode , F1 , NODE1 , YES , YES , YES , NO , NO , NO ,"));
    EXPECT_EQ(harness.model().cardAtCardRowIndex(4)->checkErrorToRun(), nullptr);
    harness.finishEventTurn();

    UUndoManager& undo = *harness.model().undoManager();
    undo.undo();
    EXPECT_FALSE(undo.canUndo());
    EXPECT_EQ(harness.cardText(2), QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,    \\ N1 at origin"));
    EXPECT_EQ(harness.cardText(5),
        QStringLiteral("FixNode , F1 , N1 , YES , YES , YES , NO , NO , NO ,"));

    harness.findPanel.search = QStringLiteral("absent");
    harness.perform(QStringLiteral("replaceAll:"));
    EXPECT_EQ(harness.findPanel.message, QStringLiteral("Not Found"));
    EXPECT_EQ(harness.beepCount(), 1);

    harness.findPanel.search = QStringLiteral("N2");
    harness.model().setLockedOutside(true);
    harness.perform(QStringLiteral("replaceAll:"));
    EXPECT_EQ(harness.view.editorClosings, 3);
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts[0].messageText,
        harness.model().errorIfLocked()->localizedDescription());
    EXPECT_EQ(harness.cardText(3), QStringLiteral("Node , N2 ,  , 1.5 , 0 , 0 ,"));
}

TEST(MainViewBaseTest, ReplaceSelectionAndUseSelectionForFind)
{
    MainViewHarness harness;
    harness.findPanel.loaded = false;
    harness.perform(QStringLiteral("replaceSelection:"));
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_TRUE(harness.sheets.alerts[0].messageText.contains(
        QStringLiteral("'Find Panel' is not loaded. Set 'Replace String' with it.")));
    EXPECT_TRUE(harness.view.replacements.isEmpty());

    harness.findPanel.loaded = true;
    harness.findPanel.replacement = QStringLiteral("X");
    harness.view.replaces = false;
    harness.perform(QStringLiteral("replaceSelection:"));
    EXPECT_EQ(harness.view.replacements, QStringList({ QStringLiteral("X") }));
    EXPECT_EQ(harness.beepCount(), 1);

    harness.window->setSelectedCardArray({ harness.windowCard(2), harness.windowCard(3) });
    harness.perform(QStringLiteral("useSelectionForFind:"));
    EXPECT_EQ(harness.beepCount(), 2);
    harness.window->setSelectedCardArray({ harness.windowCard(3) });
    harness.perform(QStringLiteral("useSelectionForFind:"));
    EXPECT_EQ(harness.findPanel.search, QStringLiteral("Node , N2 ,  , 1.5 , 0 , 0 ,"));
}

TEST(MainViewBaseTest, ProblemCardNavigationWrapsFallsBackAndBeeps)
{
    // Row 1 reads as an error card; rows 3 and 5 refer to cards the model lacks.
    MainViewHarness harness(QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"
                                           "Bogus , X1 ,\n"
                                           "Node , N2 ,  , 1 , 0 , 0 ,\n"
                                           "Rod , R1 , RPX , N1 , N2 ,\n"
                                           "Node , N3 ,  , 2 , 0 , 0 ,\n"
                                           "Rod , R2 , RPX , N2 , N3 ,\n"));
    UFemWindowController& window = *harness.window;
    auto selectedRow
        = [&] { return window.windowCardTable().indexOfCard(window.selectedCardArray().front()); };
    harness.view.range = { 5, UFemRangeNotFound, 5, UFemRangeNotFound };
    harness.perform(QStringLiteral("fineNextErrorCard:"));
    EXPECT_EQ(selectedRow(), 1u);
    EXPECT_EQ(harness.view.scrolls, 1);

    harness.view.range = { 2, UFemRangeNotFound, 2, UFemRangeNotFound };
    harness.perform(QStringLiteral("fineNextErrorCard:"));
    EXPECT_EQ(selectedRow(), 1u);
    harness.perform(QStringLiteral("fineNextIncompleteCard:"));
    EXPECT_EQ(selectedRow(), 3u);
    harness.perform(QStringLiteral("findPreviousIncompleteCard:"));
    EXPECT_EQ(selectedRow(), 1u);

    harness.view.range = {};
    harness.perform(QStringLiteral("findPreviousIncompleteCard:"));
    EXPECT_EQ(selectedRow(), 5u);
    harness.view.range = { 9, UFemRangeNotFound, 99, UFemRangeNotFound };
    harness.perform(QStringLiteral("findPreviousIncompleteCard:"));
    EXPECT_EQ(selectedRow(), 5u);
    harness.perform(QStringLiteral("fineNextIncompleteCard:"));
    EXPECT_EQ(selectedRow(), 1u);

    UErrorPtr error;
    ASSERT_TRUE(harness.model().removeCardAtIndex(1, &error));
    harness.view.range = { 4, UFemRangeNotFound, 4, UFemRangeNotFound };
    harness.perform(QStringLiteral("fineNextErrorCard:"));
    EXPECT_EQ(selectedRow(), 2u);
    harness.perform(QStringLiteral("findPreviousErrorCard:"));
    EXPECT_EQ(selectedRow(), 2u);
    EXPECT_EQ(harness.beepCount(), 0);

    window.setCardFilterString(QStringLiteral("type:Node"));
    harness.perform(QStringLiteral("fineNextErrorCard:"));
    EXPECT_EQ(harness.beepCount(), 1);
    window.setCardFilterString(QStringLiteral("type:Material"));
    ASSERT_EQ(window.windowCardTable().count(), 0u);
    harness.perform(QStringLiteral("findPreviousErrorCard:"));
    harness.perform(QStringLiteral("findPreviousIncompleteCard:"));
    EXPECT_EQ(harness.beepCount(), 3);
}

TEST(MainViewBaseTest, RetryAllErrorCardsTurnsResolvedLinesIntoCards)
{
    MainViewHarness harness(QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"
                                           "Node , N1 ,  , 5 , 0 , 0 ,\n"));
    ASSERT_TRUE(harness.model().cardAtCardRowIndex(1)->isErrorCard());
    UErrorPtr error;
    ASSERT_TRUE(harness.model().removeCardAtIndex(0, &error));
    harness.perform(QStringLiteral("retryAllErrorCards:"));
    EXPECT_FALSE(harness.model().cardAtCardRowIndex(0)->isErrorCard());
    EXPECT_EQ(harness.cardText(0), QStringLiteral("Node , N1 ,  , 5 , 0 , 0 ,"));
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

TEST(MainViewBaseTest, OverlayGeometryOfALowViewAndItsLabelColumn)
{
    const UFemProjectInfoOverlayGeometry low
        = UFemProjectInfoOverlayGeometryOf(QRectF(0, 0, 600, 200), 90, 100, false);
    EXPECT_DOUBLE_EQ(low.box.height(), 160);
    EXPECT_DOUBLE_EQ(low.box.width(), 480);
    EXPECT_DOUBLE_EQ(low.box.left(), 60);
    EXPECT_DOUBLE_EQ(low.box.top(), 20);
    EXPECT_DOUBLE_EQ(low.labelRightEdge - low.box.left(), 90 + (480 - 198) / 2.0);
    EXPECT_DOUBLE_EQ(low.valueLeft, low.labelRightEdge + 8);
    EXPECT_DOUBLE_EQ(low.valueRight, low.box.right() - 20);

    const UFemProjectInfoOverlayGeometry wide
        = UFemProjectInfoOverlayGeometryOf(QRectF(0, 0, 1000, 600), 90, 600, true);
    EXPECT_DOUBLE_EQ(wide.box.width(), 650);
    EXPECT_DOUBLE_EQ(wide.box.height(), 316);
    EXPECT_DOUBLE_EQ(wide.box.top(), 20 + 0.4 * (600 - 316 - 40));
    EXPECT_DOUBLE_EQ(wide.labelRightEdge - wide.box.left(), 112);
    EXPECT_DOUBLE_EQ(wide.valueLeft - wide.box.left(), 120);

    const UFemProjectInfoOverlayGeometry narrow
        = UFemProjectInfoOverlayGeometryOf(QRectF(0, 0, 300, 300), 90, 100, true);
    EXPECT_DOUBLE_EQ(narrow.box.width(), 260);
    EXPECT_DOUBLE_EQ(narrow.box.height(), 260);
    EXPECT_GE(narrow.labelRightEdge - narrow.box.left(), 112);
}

TEST(MainViewBaseTest, OverlayIsDrawnOnlyWhenAskedAndThereIsSomethingToShow)
{
    MainViewHarness harness;
    const QRectF visible(0, 0, 600, 300);
    auto render = [&] {
        QImage image(600, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        harness.view.ufemMainView_drawOverlaidProjectInfoIfNeeded(painter, visible);
        return image;
    };
    harness.document->title = QStringLiteral("Beam");
    EXPECT_EQ(render().pixel(300, 150), qRgb(255, 255, 255));

    harness.window->setDoesDrawOverlaidProjectInfo(true);
    const QImage drawn = render();
    const QRectF box = UFemProjectInfoOverlayGeometryOf(visible, UFemProjectInfoOverlayLabelWidth(),
        UFemProjectInfoOverlayValueWidth(
            *UFemProjectInfoTextsOfDocument(*harness.document, harness.model())),
        false)
                           .box;
    EXPECT_LT(qRed(drawn.pixel(int(box.left()) + 4, int(box.bottom()) - 4)), 80);
    EXPECT_EQ(drawn.pixel(int(box.left()) - 4, int(box.top()) - 4), qRgb(255, 255, 255));
    const auto texts = UFemProjectInfoTextsOfDocument(*harness.document, harness.model());
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->version, QStringLiteral("---"));

    harness.document->title.reset();
    EXPECT_FALSE(UFemProjectInfoTextsOfDocument(*harness.document, harness.model()));
    EXPECT_EQ(render().pixel(300, 150), qRgb(255, 255, 255));
}
