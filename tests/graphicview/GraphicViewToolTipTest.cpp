#include "appkit/UToolTipWindow.h"
#include "graphicview/UFemGraphicView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMouseEvent>

#include <functional>

namespace {

constexpr QSize viewSize { 300, 200 };

// Answers a tip naming the view point it was asked for; draws and handles nothing else.
class TipDelegate : public UFemGraphicViewDelegate {
public:
    void ufemGraphicViewDrawRect(
        UFemGraphicView&, QPainter&, const QRectF&, const UGLDrawRectInfo&) override
    {
    }
    double screenImageResolutionPer72() const override { return 1.0; }
    double printImageResolutionPer72() const override { return 1.0; }
    void ufemGraphicViewSizeDidChange(UFemGraphicView&) override { }
    bool doesDrawOverlaidProjectInfo() const override { return false; }
    void hideOverlaidProjectInfo() override { }
    void ufemGraphicViewMouseDown(UFemGraphicView&, const UFemGraphicViewMouseEvent&) override { }
    void ufemGraphicViewMouseDragged(UFemGraphicView&, const UFemGraphicViewMouseEvent&) override {
    }
    void ufemGraphicViewMouseUp(UFemGraphicView&, const UFemGraphicViewMouseEvent&) override { }
    bool ufemMainViewKeyDown(UFemGraphicView&, QKeyEvent&) override { return false; }
    bool ufemMainViewKeyUp(UFemGraphicView&, QKeyEvent&) override { return false; }
    std::optional<QString> toolTipStringWithViewPoint(QPointF viewPoint) override
    {
        askedPoints.push_back(viewPoint);
        if (!hasTip)
            return std::nullopt;
        return QStringLiteral("Node at %1, %2").arg(viewPoint.x()).arg(viewPoint.y());
    }

    bool hasTip = true;
    std::vector<QPointF> askedPoints;
};

class GraphicViewToolTip : public ::testing::Test {
protected:
    GraphicViewToolTip()
    {
        view.setDelegate(&delegate);
        view.setFixedSize(viewSize);
        view.move(50, 60);
        view.show();
        QApplication::processEvents();
    }
    ~GraphicViewToolTip() override { tipWindow().close(); }

    static UToolTipWindow& tipWindow() { return UToolTipWindow::sharedToolTipWindow(); }

    // The pointer at `position` of the view, then a move without a button there.
    void movePointerTo(QPoint position)
    {
        QCursor::setPos(view.mapToGlobal(position));
        QMouseEvent move(QEvent::MouseMove, QPointF(position), QPointF(view.mapToGlobal(position)),
            Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }

    TipDelegate delegate;
    UFemGraphicView view;
};

} // namespace

TEST_F(GraphicViewToolTip, NoDelayShowsTheTipOfTheViewPointAtOnce)
{
    EXPECT_TRUE(view.useToolTip());
    EXPECT_EQ(view.timeIntervalToDisplayToolTip(), 0.0);
    movePointerTo(QPoint(10, 30));
    EXPECT_FALSE(view.isToolTipTimerPending());
    ASSERT_EQ(delegate.askedPoints.size(), 1U);
    EXPECT_EQ(delegate.askedPoints[0], QPointF(10.0, viewSize.height() - 30.0));
    ASSERT_TRUE(tipWindow().isVisible());
    EXPECT_EQ(tipWindow().toolTipString(), QStringLiteral("Node at 10, 170"));
    EXPECT_EQ(tipWindow().toolTipWindowPosition(), QPointF(view.mapToGlobal(QPoint(12, 65))));

    // No tip there closes the window; so does a pointer that left the view.
    delegate.hasTip = false;
    movePointerTo(QPoint(20, 30));
    EXPECT_FALSE(tipWindow().isVisible());
    delegate.hasTip = true;
    movePointerTo(QPoint(20, 30));
    EXPECT_TRUE(tipWindow().isVisible());
    QCursor::setPos(view.mapToGlobal(QPoint(viewSize.width() + 5, 30)));
    view.displayToolTipWindow();
    EXPECT_FALSE(tipWindow().isVisible());
    EXPECT_EQ(delegate.askedPoints.size(), 3U);

    view.setUseToolTip(false);
    movePointerTo(QPoint(40, 40));
    EXPECT_FALSE(tipWindow().isVisible());
    EXPECT_EQ(delegate.askedPoints.size(), 3U);
}

TEST_F(GraphicViewToolTip, ADelayClosesTheTipAndShowsItOnceThePointerRests)
{
    movePointerTo(QPoint(10, 30));
    ASSERT_TRUE(tipWindow().isVisible());
    view.setTimeIntervalToDisplayToolTip(0.05);
    movePointerTo(QPoint(50, 50));
    EXPECT_FALSE(tipWindow().isVisible());
    EXPECT_TRUE(view.isToolTipTimerPending());
    // A further move replaces the pending timer.
    movePointerTo(QPoint(60, 50));
    const QDeadlineTimer deadline(5000);
    while (view.isToolTipTimerPending() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(view.isToolTipTimerPending());
    ASSERT_TRUE(tipWindow().isVisible());
    EXPECT_EQ(tipWindow().toolTipString(), QStringLiteral("Node at 60, 150"));
    EXPECT_EQ(delegate.askedPoints.size(), 2U);

    // Leaving the view closes the tip, and a pending one never comes.
    movePointerTo(QPoint(70, 50));
    QCursor::setPos(view.mapToGlobal(QPoint(-20, -20)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    EXPECT_FALSE(view.isToolTipTimerPending());
    EXPECT_FALSE(tipWindow().isVisible());
}

namespace {

using GraphicViewToolTipHidesTest = GraphicViewToolTip;

} // namespace

// Neither a shown tip nor a pending one outlives its view's place on screen: the view hidden
// (swapped out), its window giving up the focus, a sheet or a panel coming up.
TEST_F(GraphicViewToolTipHidesTest, TheTipGoesWithItsViewAndUnderNewWindows)
{
    QWidget other;
    QWidget panel(nullptr, Qt::Tool);
    QDialog sheet(&view);
    sheet.setWindowModality(Qt::WindowModal);
    struct Case {
        const char* name;
        std::function<void()> action;
        bool dropsPendingTip;
    };
    const Case cases[] = {
        { "view hidden", [&] { view.hide(); }, true },
        { "focus lost",
            [&] {
                other.show();
                QApplication::setActiveWindow(&other);
            },
            true },
        { "sheet", [&] { sheet.show(); }, false },
        // Qt leaves the view under a modal window with the pointer still over it.
        { "leave under a sheet",
            [&] {
                sheet.show();
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(&view, &leave);
            },
            true },
        { "panel", [&] { panel.show(); }, false },
    };
    // The view alone on screen and active, the tip shown or pending.
    auto prepare = [&](const Case& c, double delay) {
        for (QWidget* window : { &other, &panel, static_cast<QWidget*>(&sheet) })
            window->hide();
        view.show();
        QApplication::setActiveWindow(&view);
        ASSERT_TRUE(view.isActiveWindow()) << c.name;
        view.setTimeIntervalToDisplayToolTip(0.0);
        movePointerTo(QPoint(10, 30));
        view.setTimeIntervalToDisplayToolTip(delay);
        if (delay > 0.0)
            movePointerTo(QPoint(20, 30));
    };
    for (const Case& c : cases) {
        prepare(c, 0.0);
        ASSERT_TRUE(tipWindow().isVisible()) << c.name;
        c.action();
        EXPECT_FALSE(tipWindow().isVisible()) << c.name;
        if (!c.dropsPendingTip)
            continue;
        prepare(c, 60.0);
        ASSERT_TRUE(view.isToolTipTimerPending()) << c.name;
        c.action();
        EXPECT_FALSE(view.isToolTipTimerPending()) << c.name;
    }
}
