#include "graphicview/UFemGraphicView.h"

#include "appkit/UToolTipWindow.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

UFemGraphicView::UFemGraphicView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("graphicViewOutlet"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    toolTipTimer_.setSingleShot(true);
    connect(&toolTipTimer_, &QTimer::timeout, this, &UFemGraphicView::displayToolTipWindow);
}

UGLDrawRectInfo UFemGraphicView::drawRectInfoWithOutputType(UGLDrawingOutputType outputType) const
{
    const bool isScreen = outputType == UGLDrawingOutputTypeScreen;
    double resolution = 1.0;
    if (delegate_ != nullptr)
        resolution = isScreen ? delegate_->screenImageResolutionPer72()
                              : delegate_->printImageResolutionPer72();
    return UGLDrawRectInfo::drawRectInfoWithDrawingOutputType(outputType, QSizeF(size()),
        resolution, isScreen ? UGLImageQualityScreen : UGLImageQualityPrint);
}

QPointF UFemGraphicView::viewPointWithWidgetPosition(QPointF position) const
{
    return { position.x(), height() - position.y() };
}

void UFemGraphicView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (delegate_ == nullptr) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    const QRect dirty = event->rect();
    const QRectF dirtyUp(
        dirty.x(), height() - dirty.y() - dirty.height(), dirty.width(), dirty.height());
    delegate_->ufemGraphicViewDrawRect(
        *this, painter, dirtyUp, drawRectInfoWithOutputType(UGLDrawingOutputTypeScreen));
}

void UFemGraphicView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (delegate_ != nullptr)
        delegate_->ufemGraphicViewSizeDidChange(*this);
}

UFemGraphicViewMouseEvent UFemGraphicView::mouseEventWith(const QMouseEvent& event) const
{
    return { viewPointWithWidgetPosition(event.position()), event.modifiers(), clickCount_ };
}

// While the project information is shown, a click only closes it on release.
void UFemGraphicView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || delegate_ == nullptr)
        return;
    clickCount_ = 1;
    if (!delegate_->doesDrawOverlaidProjectInfo())
        delegate_->ufemGraphicViewMouseDown(*this, mouseEventWith(*event));
}

void UFemGraphicView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || delegate_ == nullptr)
        return;
    clickCount_ = 2;
    if (!delegate_->doesDrawOverlaidProjectInfo())
        delegate_->ufemGraphicViewMouseDown(*this, mouseEventWith(*event));
}

void UFemGraphicView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        mouseMoved();
        return;
    }
    if (delegate_ == nullptr)
        return;
    if (!delegate_->doesDrawOverlaidProjectInfo())
        delegate_->ufemGraphicViewMouseDragged(*this, mouseEventWith(*event));
}

void UFemGraphicView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || delegate_ == nullptr)
        return;
    if (delegate_->doesDrawOverlaidProjectInfo())
        delegate_->hideOverlaidProjectInfo();
    else
        delegate_->ufemGraphicViewMouseUp(*this, mouseEventWith(*event));
}

void UFemGraphicView::keyPressEvent(QKeyEvent* event)
{
    if (delegate_ == nullptr || !delegate_->ufemMainViewKeyDown(*this, *event))
        QWidget::keyPressEvent(event);
}

void UFemGraphicView::keyReleaseEvent(QKeyEvent* event)
{
    if (delegate_ == nullptr || !delegate_->ufemMainViewKeyUp(*this, *event))
        QWidget::keyReleaseEvent(event);
}

void UFemGraphicView::mouseMoved()
{
    if (!useToolTip_)
        return;
    isToolTipWanted_ = true;
    toolTipTimer_.stop();
    if (timeIntervalToDisplayToolTip_ <= 0.0) {
        displayToolTipWindow();
        return;
    }
    UToolTipWindow::sharedToolTipWindow().close();
    constexpr double millisecondsPerSecond = 1000.0;
    toolTipTimer_.start(int(timeIntervalToDisplayToolTip_ * millisecondsPerSecond));
}

void UFemGraphicView::displayToolTipWindow()
{
    toolTipTimer_.stop();
    if (!useToolTip_)
        return;
    const QPoint screenPoint = QCursor::pos(screen());
    const QPoint position = mapFromGlobal(screenPoint);
    UToolTipWindow& window = UToolTipWindow::sharedToolTipWindow();
    if (!rect().contains(position) || delegate_ == nullptr) {
        window.close();
        return;
    }
    window.displayWithToolTipString(
        delegate_->toolTipStringWithViewPoint(viewPointWithWidgetPosition(position)), screenPoint);
}

// Qt sends no moves once the pointer has left the view, so leaving closes the tip here. A
// modal sheet sends the leave with the pointer still over the view: asking for the tip there
// would show it over the sheet.
void UFemGraphicView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    closeToolTipWindow();
}

void UFemGraphicView::redisplayToolTipWindow()
{
    if (isToolTipWanted_ && !toolTipTimer_.isActive() && isVisible())
        displayToolTipWindow();
}

// The shared window may show another view's tip.
void UFemGraphicView::closeOutdatedToolTipWindow()
{
    if (!isToolTipWanted_)
        return;
    toolTipTimer_.stop();
    UToolTipWindow::closeSharedToolTipWindow();
}

void UFemGraphicView::closeToolTipWindow()
{
    isToolTipWanted_ = false;
    toolTipTimer_.stop();
    UToolTipWindow::closeSharedToolTipWindow();
}

// A view swapped out of its window gets no more moves to close its tip with.
void UFemGraphicView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    closeToolTipWindow();
}

// Nor does a view whose window another window (a panel, another document) has taken over from.
void UFemGraphicView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        closeToolTipWindow();
}
