#include "GraphicViewTestSupport.h"

#include "HangGuard.h"
#include "SelectPassLatch.h"

#include "appkit/UToolTipWindow.h"
#include "graphicview/UFemGraphicViewCamera.h"

#include <QCursor>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace {

constexpr int tipGridSide = 12;
constexpr quint64 tipElementRecord = 0;
constexpr QSize tipWindowSize { 700, 500 };
// The pointer first rests on the middle of Quad Q4_6.
constexpr double tipRestX = 4.5;
constexpr double tipRestZ = 6.5;
constexpr int tipZoomDragDistance = 100;
// Turns of the event loop, each after the picking pass has ended, that a tip may take: the view
// asks on a later turn, and a tip whose select geometry is being built asks again once built.
constexpr int tipSettleTurns = 4;

std::optional<QString> shownTip()
{
    const UToolTipWindow& window = UToolTipWindow::sharedToolTipWindow();
    return window.isVisible() ? window.toolTipString() : std::nullopt;
}

class TipAfterCameraChange : public GraphicViewFixture {
protected:
    TipAfterCameraChange()
        : GraphicViewFixture(quadGridModelText(tipGridSide), true, QSize())
    {
        harness.window->window()->resize(tipWindowSize);
        harness.window->window()->show();
        harness.finishEventTurn();
        // Elements only: no node marker lies beside the pointer.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier);
        QApplication::sendEvent(view, &key);
    }
    ~TipAfterCameraChange() override { UToolTipWindow::sharedToolTipWindow().close(); }

    // Where the grid point (x, 0, z) lands, in view points (y up).
    QPointF viewPointOf(double x, double z) const
    {
        const double at[3] = { x, 0, z };
        double onEye[3];
        controller->camera().getPositionOnEyeCoord(onEye, at);
        return { view->width() / 2.0 + onEye[0], view->height() / 2.0 + onEye[1] };
    }
    QPointF pointerViewPoint() const
    {
        const QPoint position = view->mapFromGlobal(QCursor::pos());
        return { double(position.x()), double(view->height() - position.y()) };
    }
    // The grid as the camera shows it, unturned: how far one unit of x and of z goes on screen.
    QPointF cellSize() const { return viewPointOf(1, 1) - viewPointOf(0, 0); }
    // The Quad under a view point, or none when the point lies off the grid or so near an edge
    // that a pick there may find the neighbour.
    std::optional<QString> quadNameAt(QPointF point) const
    {
        const QPointF origin = viewPointOf(0, 0);
        const QPointF cell = cellSize();
        const double x = (point.x() - origin.x()) / cell.x();
        const double z = (point.y() - origin.y()) / cell.y();
        const double i = std::floor(x);
        const double k = std::floor(z);
        if (i < 0 || k < 0 || i >= tipGridSide || k >= tipGridSide)
            return std::nullopt;
        const double margin = std::min({ (x - i) * cell.x(), (i + 1 - x) * cell.x(),
            (z - k) * cell.y(), (k + 1 - z) * cell.y() });
        if (margin <= UFemGraphicViewPicker::pickPointRadius + 1)
            return std::nullopt;
        return QStringLiteral("Q%1_%2").arg(int(i)).arg(int(k));
    }
    std::optional<QString> tipOfQuad(const QString& name)
    {
        return cardNamed(name)->toolTipString();
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(
            type, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons, {});
        QApplication::sendEvent(view, &event);
    }
    void settle()
    {
        for (int turn = 0; turn < tipSettleTurns; ++turn) {
            controller->selectBufferHitObjectWritingThreadTaskContext().waitAllThreadDone();
            QApplication::processEvents();
        }
    }
    void resetView()
    {
        harness.window->window()->resize(tipWindowSize);
        harness.finishEventTurn();
        controller->fitObjectInView();
        settle();
    }
    // Rests the pointer on the middle of the Quad it first rests on.
    void restPointer()
    {
        const QPointF at = viewPointOf(tipRestX, tipRestZ);
        QCursor::setPos(view->mapToGlobal(QPoint(qRound(at.x()), qRound(view->height() - at.y()))));
        hover();
    }
    // A move where the pointer rests, as a move of the pointer to there sends it.
    void hover() { mouse(QEvent::MouseMove, view->mapFromGlobal(QCursor::pos()), Qt::NoButton); }

    // The content moves right by one cell under a pointer that stays.
    void growWindowByTwoCells()
    {
        const QSize size = harness.window->window()->size();
        harness.window->window()->resize(size.width() + qRound(2 * cellSize().x()), size.height());
        harness.finishEventTurn();
    }
    void moveByOneCell()
    {
        controller->updateEyeAndObjectLocationWithObjectMoveMode(
            UFemGraphicViewCamera::objectMoveModeMove, cellSize().x(), 0);
    }
    // The view moves under a tip throughout a drag: it shows none until the drag ends. The
    // pointer is left where it rests: moving it would send a move of its own, which asks for the
    // tip as the end of the drag should.
    void zoomDrag()
    {
        controller->setObjectMoveMode(UFemGraphicViewCamera::objectMoveModeZoom);
        const QPoint from = view->mapFromGlobal(QCursor::pos());
        const QPoint to = from - QPoint(0, tipZoomDragDistance);
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        EXPECT_EQ(shownTip(), std::nullopt);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        controller->setObjectMoveMode(UFemGraphicViewController::objectMoveModePointer);
    }
};

} // namespace

// A tip shown, or still to come from a pass that a camera change cancels, names the card under
// the pointer in the view after the change, never the one that lay there before it. A resize's
// tip is the case seen by hand: the pointer's move handled before the window's new size.
TEST_F(TipAfterCameraChange, NamesTheCardUnderThePointerInTheNewView)
{
    struct Change {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> apply;
    };
    const std::vector<Change> changes {
        { "window resize", {}, [this] { growWindowByTwoCells(); } },
        { "fit", [this] { moveByOneCell(); }, [this] { controller->fitObjectInView(); } },
        { "zoom drag", {}, [this] { zoomDrag(); } },
    };
    for (const bool isPassHeld : { false, true }) {
        for (const Change& change : changes) {
            SCOPED_TRACE(testing::Message()
                << change.name << (isPassHeld ? ", tip's pass held" : ", tip shown"));
            const HangGuard guard(change.name);
            resetView();
            if (change.prepare)
                change.prepare();
            restPointer();
            settle();
            const std::optional<QString> before = quadNameAt(pointerViewPoint());
            ASSERT_TRUE(before.has_value());
            ASSERT_EQ(shownTip(), tipOfQuad(*before));
            SelectPassLatch latch(
                tipElementRecord, &controller->selectBufferHitObjectWritingThreadTaskContext());
            if (isPassHeld) {
                controller->clearSelectModeObjectDisplayList();
                controller->picker().setSelectGeometryBuiltObserver(
                    [&latch](quint64 record) { latch.hold(record); });
                hover();
                ASSERT_TRUE(latch.waitForArrival());
                EXPECT_EQ(shownTip(), std::nullopt);
            }
            change.apply();
            EXPECT_NE(shownTip(), tipOfQuad(*before));
            EXPECT_FALSE(latch.wasHeldToTheLimit());
            controller->selectBufferHitObjectWritingThreadTaskContext().waitAllThreadDone();
            controller->picker().setSelectGeometryBuiltObserver({});
            settle();
            const std::optional<QString> after = quadNameAt(pointerViewPoint());
            ASSERT_TRUE(after.has_value());
            ASSERT_NE(after, before);
            EXPECT_EQ(shownTip(), tipOfQuad(*after));
        }
    }
}

// What the view shows changes with the model too: after an edit the tip names the card as it is
// now, not as it was.
TEST_F(TipAfterCameraChange, AfterAnEditTheTipNamesTheCardAsItIsNow)
{
    resetView();
    restPointer();
    settle();
    const std::optional<QString> before = quadNameAt(pointerViewPoint());
    ASSERT_TRUE(before.has_value());
    ASSERT_EQ(shownTip(), tipOfQuad(*before));
    UErrorPtr error;
    ASSERT_TRUE(harness.model().resetWithModelText(
        quadGridModelText(tipGridSide)
            .replace(QStringLiteral("Quad , Q"), QStringLiteral("Quad , R")),
        true, &error));
    EXPECT_EQ(shownTip(), std::nullopt);
    settle();
    const QString renamed = QStringLiteral("R") + before->mid(1);
    EXPECT_EQ(shownTip(), tipOfQuad(renamed));
}
