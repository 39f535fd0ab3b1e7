#include "appkit/UToolTipWindow.h"

#include "appkit/SharedWidget.h"
#include "appkit/UToolTipView.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// A text counts as one line up to this much over the line height.
constexpr double lineHeightTolerance = 0.001;

} // namespace

UToolTipWindow& UToolTipWindow::sharedToolTipWindow()
{
    return SharedWidget<UToolTipWindow>::widget([] { return std::make_unique<UToolTipWindow>(); });
}

void UToolTipWindow::closeSharedToolTipWindow()
{
    UToolTipWindow* window = SharedWidget<UToolTipWindow>::existing();
    if (window != nullptr && window->isVisible())
        window->close();
}

UToolTipWindow::UToolTipWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , toolTipView_(new UToolTipView(this))
    , toolTipFont_(QToolTip::font())
{
    setObjectName(QStringLiteral("toolTipWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    toolTipView_->setObjectName(QStringLiteral("toolTipView"));
}

UToolTipWindow::~UToolTipWindow() = default;

void UToolTipWindow::displayWithToolTipString(
    const std::optional<QString>& string, QPointF mousePoint)
{
    setToolTipString(string);
    setToolTipWindowPosition(mousePoint + toolTipWindowOffsetVector_);
    display();
}

void UToolTipWindow::display()
{
    if (!toolTipString_) {
        close();
        return;
    }
    const QSizeF textSize = toolTipStringSize(*toolTipString_, toolTipFont_);
    const QRectF frame = toolTipWindowFrame(toolTipWindowPosition_, textSize,
        QFontMetricsF(toolTipFont_).lineSpacing(), toolTipWindowOffsetVector_,
        availableAreaAt(toolTipWindowPosition_ - toolTipWindowOffsetVector_));
    const QRect pixelFrame(int(std::floor(frame.x())), int(std::floor(frame.y())),
        int(std::ceil(frame.width())), int(std::ceil(frame.height())));
    setGeometry(pixelFrame);
    toolTipView_->setGeometry(0, 0, pixelFrame.width(), pixelFrame.height());
    toolTipView_->setToolTipStringPosition(QPointF(textMargin, textMargin));
    toolTipView_->setToolTipString(*toolTipString_, toolTipFont_);
    show();
    raise();
}

// The program's events are watched only while the tip shows.
void UToolTipWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (QCoreApplication* application = QCoreApplication::instance())
        application->installEventFilter(this);
}

void UToolTipWindow::hideEvent(QHideEvent* event)
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
    QWidget::hideEvent(event);
}

// A window shown after the tip would otherwise lie under it: the tip stands above every window.
bool UToolTipWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched != this && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->isWindow())
        close();
    return false;
}

QSizeF UToolTipWindow::toolTipStringSize(const QString& string, const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QStringList lines = string.split(QLatin1Char('\n'));
    double width = 0.0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return { width, metrics.lineSpacing() * double(lines.size()) };
}

QRectF UToolTipWindow::toolTipWindowFrame(QPointF position, QSizeF textSize, double lineHeight,
    QPointF offsetVector, const QRectF& availableArea)
{
    const double heightAbovePosition
        = textSize.height() > lineHeight + lineHeightTolerance ? lineHeight : textSize.height();
    QRectF frame(position.x() - textMargin, position.y() - textMargin - heightAbovePosition,
        textSize.width() + 2.0 * textMargin, textSize.height() + 2.0 * textMargin);
    if (frame.right() > availableArea.right())
        frame.moveRight(availableArea.right());
    if (frame.left() < availableArea.left())
        frame.moveLeft(availableArea.left());
    if (frame.bottom() > availableArea.bottom()) {
        // Mirrored above the pointer, at the gap it had below.
        const QPointF mousePoint = position - offsetVector;
        const double gap = std::max(frame.top() - mousePoint.y(), textMargin);
        frame.moveBottom(mousePoint.y() - gap);
    }
    if (frame.top() < availableArea.top())
        frame.moveTop(availableArea.top());
    return frame;
}

QRectF UToolTipWindow::availableAreaAt(QPointF point) const
{
    QScreen* screen = QGuiApplication::screenAt(point.toPoint());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        constexpr double unbounded = std::numeric_limits<int>::max() / 2;
        return { -unbounded, -unbounded, 2.0 * unbounded, 2.0 * unbounded };
    }
    return QRectF(screen->availableGeometry());
}
