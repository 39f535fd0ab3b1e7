#include "GraphicViewTestSupport.h"

#include "cardmodel/data/UFemWindowCardTable.h"

#include <QKeyEvent>

namespace {

const QString plateModelText = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                              "ShellProp , P , Steel , 0.05 ,\n"
                                              "Node , A ,  , -1 , 0 , -0.5 ,\n"
                                              "Node , B ,  , 1 , 0 , -0.5 ,\n"
                                              "Node , C ,  , 1 , 0 , 0.5 ,\n"
                                              "Node , D ,  , -1 , 0 , 0.5 ,\n"
                                              "Quad , Q , P , A , B , C , D ,\n");

// Widget positions (y down) of the 400 x 300 view.
constexpr QPointF onPlate { 200, 150 };
constexpr QPointF onEmptySpace { 5, 5 };

class GraphicViewInteractionTest : public GraphicViewFixture {
protected:
    GraphicViewInteractionTest()
        : GraphicViewFixture(plateModelText)
    {
    }

    void mouse(QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButtons buttons
            = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
        QApplication::sendEvent(view, &event);
    }

    void click(QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, at, modifiers);
        mouse(QEvent::MouseButtonRelease, at, modifiers);
    }
};

} // namespace

// A plain click selects the card hit alone, Shift toggles it, a plain click on empty space
// clears while a Shift-click there keeps the selection.
TEST_F(GraphicViewInteractionTest, ClicksSelectReplaceAndExtend)
{
    harness.window->addCardToSelectedCardArray(cardNamed(QStringLiteral("A")));
    click(onPlate);
    EXPECT_EQ(selectedNames(), QStringList { "Q" });
    click(onEmptySpace, Qt::ShiftModifier);
    EXPECT_EQ(selectedNames(), QStringList { "Q" });
    harness.window->addCardToSelectedCardArray(cardNamed(QStringLiteral("B")));
    click(onPlate, Qt::ControlModifier);
    EXPECT_EQ(selectedNames(), QStringList { "B" });
    click(onEmptySpace);
    EXPECT_EQ(selectedNames(), QStringList {});
}

// Escape clears the selection unless a modifier is held; such keys go on to the view's parent.
TEST_F(GraphicViewInteractionTest, EscapeClearsWithoutModifiers)
{
    harness.window->addCardToSelectedCardArray(cardNamed(QStringLiteral("Q")));
    QKeyEvent shiftEscape(QEvent::KeyPress, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_FALSE(controller->ufemMainViewKeyDown(*view, shiftEscape));
    EXPECT_EQ(selectedNames(), QStringList { "Q" });
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(controller->ufemMainViewKeyDown(*view, escape));
    EXPECT_EQ(selectedNames(), QStringList {});
    QKeyEvent other(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
    EXPECT_FALSE(controller->ufemMainViewKeyDown(*view, other));
}

// A drag in pointer mode spans the band from the press to the pointer, both corners included,
// in view points with y up; the release hands it to the next frame with the mask of the moment.
TEST_F(GraphicViewInteractionTest, ADragSpansTheRubberBand)
{
    QKeyEvent holdN(QEvent::KeyPress, Qt::Key_N, Qt::NoModifier);
    ASSERT_TRUE(controller->ufemMainViewKeyDown(*view, holdN));
    mouse(QEvent::MouseButtonPress, { 100, 50 });
    mouse(QEvent::MouseMove, { 60, 80 });
    EXPECT_EQ(controller->rubberbandRect(), QRectF(60, 220, 41, 31));
    EXPECT_TRUE(controller->doesDrawRubberbandRect());
    EXPECT_FALSE(controller->doesAddSelectedCardFromRubberbandCard());
    EXPECT_EQ(controller->rubberbandPickMaskCardTypeIndexes(), 2u);
    mouse(QEvent::MouseButtonRelease, { 60, 80 });
    EXPECT_TRUE(controller->doesDrawRubberbandCard());
    EXPECT_FALSE(controller->doesDrawRubberbandRect());
    EXPECT_TRUE(controller->doesAddSelectedCardFromRubberbandCard());
}
