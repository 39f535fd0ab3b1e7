#include "GraphicViewTestSupport.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "graphicview/tasks/UFemRubberbandCardIndexTableCalcThreadTaskContext.h"

#include <QKeyEvent>

#include <mutex>

namespace {

const QString plateModelText = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                              "ShellProp , P , Steel , 0.05 ,\n"
                                              "Node , A ,  , -1 , 0 , -0.5 ,\n"
                                              "Node , B ,  , 1 , 0 , -0.5 ,\n"
                                              "Node , C ,  , 1 , 0 , 0.5 ,\n"
                                              "Node , D ,  , -1 , 0 , 0.5 ,\n"
                                              "Quad , Q , P , A , B , C , D ,\n");

class GraphicViewRubberBandTest : public GraphicViewFixture {
protected:
    GraphicViewRubberBandTest()
        : GraphicViewFixture(plateModelText)
    {
    }

    void mouse(QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers)
    {
        const Qt::MouseButtons buttons
            = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
        QApplication::sendEvent(view, &event);
    }

    // A drag in widget positions, then the frame that applies it.
    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, from, modifiers);
        mouse(QEvent::MouseMove, to, modifiers);
        view->repaint();
        mouse(QEvent::MouseButtonRelease, to, modifiers);
        view->repaint();
    }
};

constexpr QPointF nearTopLeft { 5, 5 };
constexpr QPointF nearBottomRight { 395, 295 };

} // namespace

// Shift adds the cards inside to the selection; a plain drag replaces it. The request ends with
// the frame, leaving the mask at all five kinds.
TEST_F(GraphicViewRubberBandTest, ShiftAddsAndAPlainDragReplaces)
{
    harness.window->addCardToSelectedCardArray(cardNamed(QStringLiteral("A")));
    drag({ 190, 140 }, { 210, 160 }, Qt::ShiftModifier);
    EXPECT_EQ(selectedNames(), (QStringList { "A", "Q" }));
    EXPECT_FALSE(controller->doesDrawRubberbandCard());
    EXPECT_EQ(controller->rubberbandPickMaskCardTypeIndexes(), 31u);
    drag({ 190, 140 }, { 210, 160 });
    EXPECT_EQ(selectedNames(), QStringList { "Q" });
    drag(nearTopLeft, nearBottomRight);
    EXPECT_EQ(selectedNames(), (QStringList { "A", "B", "C", "D", "Q" }));
}

// A band still pending when a picture is rendered is applied by it instead of leaving its layer
// waiting for a list no one makes.
TEST_F(GraphicViewRubberBandTest, ARenderedPictureAppliesAPendingBand)
{
    mouse(QEvent::MouseButtonPress, nearTopLeft, Qt::NoModifier);
    mouse(QEvent::MouseMove, nearBottomRight, Qt::NoModifier);
    mouse(QEvent::MouseButtonRelease, nearBottomRight, Qt::NoModifier);
    ASSERT_TRUE(controller->doesDrawRubberbandCard());
    EXPECT_FALSE(controller->renderToImage(UGLDrawingOutputTypeScreen).isNull());
    EXPECT_FALSE(controller->doesDrawRubberbandCard());
    EXPECT_EQ(selectedNames(), (QStringList { "A", "B", "C", "D", "Q" }));
}

TEST_F(GraphicViewRubberBandTest, HoldingNBandsNodesOnly)
{
    QKeyEvent holdN(QEvent::KeyPress, Qt::Key_N, Qt::NoModifier);
    ASSERT_TRUE(controller->ufemMainViewKeyDown(*view, holdN));
    drag(nearTopLeft, nearBottomRight);
    EXPECT_EQ(selectedNames(), (QStringList { "A", "B", "C", "D" }));
    EXPECT_EQ(controller->rubberbandPickMaskCardTypeIndexes(), 31u);
}

// The band's list holds only the cards not selected before.
TEST_F(GraphicViewRubberBandTest, TheListHoldsOnlyNewCards)
{
    harness.window->addCardToSelectedCardArray(cardNamed(QStringLiteral("A")));
    harness.window->addCardToSelectedCardArray(cardNamed(QStringLiteral("Q")));
    controller->renderToImage(UGLDrawingOutputTypeScreen);
    EXPECT_EQ(controller->picker().startUpdateRubberbandCardIndexTable(
                  QRectF(0, 0, 400, 300), 31, false, 0, harness.window->selectedCardSet()),
        0u);
    auto& task = static_cast<UFemRubberbandCardIndexTableCalcThreadTaskContext&>(
        controller->rubberbandCardIndexTableCalcThreadTaskContext());
    task.waitAllThreadDone();
    UFemGraphicViewDrawingCardIndexList& list = task.cardIndexList();
    std::lock_guard lock(list.lockCondition());
    EXPECT_TRUE(list.isValid());
    const UFemGraphicViewDrawingCardValueDataCache& cache
        = controller->drawingCacheManager().drawingCardValueDataCache();
    QStringList names;
    for (quint64 i = 0; i < list.cardIndexCount(); ++i)
        names.append(
            cache.cardValueData(list.cardIndexTable()[i]).card->cardNameString().value_or(""));
    names.sort();
    EXPECT_EQ(names, (QStringList { "B", "C", "D" }));
}

// The selected plate is drawn in the lit selection colour at half strength over the base.
TEST_F(GraphicViewRubberBandTest, TheSelectionLayerIsDrawn)
{
    const QColor before
        = controller->renderToImage(UGLDrawingOutputTypeScreen).pixelColor(150, 180);
    harness.window->addCardToSelectedCardArray(cardNamed(QStringLiteral("Q")));
    harness.finishEventTurn();
    const QColor after = controller->renderToImage(UGLDrawingOutputTypeScreen).pixelColor(150, 180);
    EXPECT_NEAR(before.red(), 0, 3);
    EXPECT_NEAR(after.red(), 100, 3);
    EXPECT_NEAR(after.green(), 101, 3);
    EXPECT_NEAR(after.blue(), 201, 3);
}
