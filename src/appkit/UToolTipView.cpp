#include "appkit/UToolTipView.h"

#include <QFontMetricsF>
#include <QPainter>

UToolTipView::UToolTipView(QWidget* parent)
    : QWidget(parent)
{
}

void UToolTipView::setToolTipString(const QString& string, const QFont& font)
{
    toolTipString_ = string;
    font_ = font;
    update();
}

void UToolTipView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(groundRed, groundGreen, groundBlue));
    painter.setPen(Qt::gray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.setFont(font_);
    const QFontMetricsF metrics(font_);
    QPointF baseline = toolTipStringPosition_ + QPointF(0.0, metrics.ascent());
    for (const QString& line : toolTipString_.split(QLatin1Char('\n'))) {
        painter.drawText(baseline, line);
        baseline.ry() += metrics.lineSpacing();
    }
}
