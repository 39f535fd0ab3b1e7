#pragma once

#include "graphics/camera/UGLDrawRectInfo.h"

#include <QPointF>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <optional>

class QKeyEvent;
class UFemGraphicView;

// A mouse event of the 3-D view in view points with y pointing up.
struct UFemGraphicViewMouseEvent {
    QPointF locationInView;
    Qt::KeyboardModifiers modifiers;
    int clickCount = 1;
};

// What the graphic view asks of its controller, which is both its delegate and its data source.
class UFemGraphicViewDelegate {
public:
    virtual ~UFemGraphicViewDelegate() = default;
    virtual void ufemGraphicViewDrawRect(UFemGraphicView& view, QPainter& painter,
        const QRectF& dirtyRect, const UGLDrawRectInfo& drawRectInfo)
        = 0;
    virtual double screenImageResolutionPer72() const = 0;
    virtual double printImageResolutionPer72() const = 0;
    virtual void ufemGraphicViewSizeDidChange(UFemGraphicView& view) = 0;
    // The project information drawn over the view: a click on it only closes it.
    virtual bool doesDrawOverlaidProjectInfo() const = 0;
    virtual void hideOverlaidProjectInfo() = 0;
    virtual void ufemGraphicViewMouseDown(
        UFemGraphicView& view, const UFemGraphicViewMouseEvent& event)
        = 0;
    virtual void ufemGraphicViewMouseDragged(
        UFemGraphicView& view, const UFemGraphicViewMouseEvent& event)
        = 0;
    virtual void ufemGraphicViewMouseUp(
        UFemGraphicView& view, const UFemGraphicViewMouseEvent& event)
        = 0;
    // True when the key was handled.
    virtual bool ufemMainViewKeyDown(UFemGraphicView& view, QKeyEvent& event) = 0;
    virtual bool ufemMainViewKeyUp(UFemGraphicView& view, QKeyEvent& event) = 0;
    // The tip of what lies under a view point (y up), or none.
    virtual std::optional<QString> toolTipStringWithViewPoint(QPointF viewPoint) = 0;
};

// The widget that shows the 3-D picture. It draws nothing itself and keeps no model state: every
// drawing request, mouse and key event goes to the delegate; the edit and camera commands reach
// the controller through the window's command chain.
class UFemGraphicView : public QWidget {
public:
    static constexpr QSize preferredSize { 800, 600 };

    explicit UFemGraphicView(QWidget* parent = nullptr);

    UFemGraphicViewDelegate* delegate() const { return delegate_; }
    void setDelegate(UFemGraphicViewDelegate* delegate) { delegate_ = delegate; }

    void reloadData() { update(); }
    // The 3-D picture takes the room its pane can give.
    QSize sizeHint() const override { return preferredSize; }
    // The draw request of a frame of `outputType` (screen or print) over the view's bounds.
    UGLDrawRectInfo drawRectInfoWithOutputType(UGLDrawingOutputType outputType) const;
    // A view point (y up) of a widget position (y down), and back.
    QPointF viewPointWithWidgetPosition(QPointF position) const;

    // ---- Tool tip of the point under the pointer
    bool useToolTip() const { return useToolTip_; }
    void setUseToolTip(bool useToolTip) { useToolTip_ = useToolTip; }
    // Seconds between the last mouse move and the tip; 0 or less shows it at once.
    double timeIntervalToDisplayToolTip() const { return timeIntervalToDisplayToolTip_; }
    void setTimeIntervalToDisplayToolTip(double seconds)
    {
        timeIntervalToDisplayToolTip_ = seconds;
    }
    bool isToolTipTimerPending() const { return toolTipTimer_.isActive(); }
    // Asks the delegate again for the tip under the pointer, as a move there would, unless the
    // tip was closed by leaving, hiding or deactivating the view since, or a delayed one is due.
    void redisplayToolTipWindow();
    // Closes the tip, and drops a pending one, of a view that is no longer shown; the tip stays
    // wanted, so that it comes again when asked for again.
    void closeOutdatedToolTipWindow();
    // A mouse move without a button: the tip now, or after the delay.
    void mouseMoved();
    // Shows the tip of the point under the pointer, or closes it when the pointer is outside.
    void displayToolTipWindow();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    UFemGraphicViewMouseEvent mouseEventWith(const QMouseEvent& event) const;
    // Closes the tip and drops a pending one.
    void closeToolTipWindow();

    UFemGraphicViewDelegate* delegate_ = nullptr;
    int clickCount_ = 1;
    bool useToolTip_ = true;
    // A move over the view sets it; closing the tip clears it.
    bool isToolTipWanted_ = false;
    double timeIntervalToDisplayToolTip_ = 0.0;
    QTimer toolTipTimer_;
};
