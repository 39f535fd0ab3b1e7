#include "appkit/UToolTipView.h"
#include "appkit/UToolTipWindow.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <cmath>

namespace {

constexpr QPointF mousePoint { 200.0, 150.0 };

double lineHeightOf(const UToolTipWindow& window)
{
    return QFontMetricsF(window.toolTipFont()).lineSpacing();
}

} // namespace

TEST(ToolTipWindow, OneLineStandsBelowThePointerAndMoreLinesGrowDownwards)
{
    UToolTipWindow window;
    const double lineHeight = lineHeightOf(window);
    window.displayWithToolTipString(QStringLiteral("Node 12"), mousePoint);
    ASSERT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isActiveWindow());
    const QSizeF oneLine = UToolTipWindow::toolTipStringSize("Node 12", window.toolTipFont());
    EXPECT_DOUBLE_EQ(oneLine.height(), lineHeight);
    // Bottom-left corner at the pointer + (2 - 3, 35 + 3), y down.
    const QRectF oneFrame = UToolTipWindow::toolTipWindowFrame(window.toolTipWindowPosition(),
        oneLine, lineHeight, window.toolTipWindowOffsetVector(), QRectF(0, 0, 2000, 2000));
    EXPECT_EQ(window.toolTipWindowPosition(), mousePoint + QPointF(2.0, 35.0));
    EXPECT_DOUBLE_EQ(oneFrame.left(), mousePoint.x() - 1.0);
    EXPECT_DOUBLE_EQ(oneFrame.bottom(), mousePoint.y() + 38.0);
    EXPECT_DOUBLE_EQ(oneFrame.width(), oneLine.width() + 6.0);
    EXPECT_DOUBLE_EQ(oneFrame.height(), lineHeight + 6.0);
    EXPECT_EQ(window.geometry().topLeft(), QPoint(199, int(std::floor(oneFrame.top()))));
    EXPECT_EQ(window.toolTipView()->geometry(), QRect(QPoint(0, 0), window.size()));
    EXPECT_EQ(window.toolTipView()->toolTipStringPosition(), QPointF(3.0, 3.0));
    EXPECT_EQ(window.toolTipView()->toolTipString(), "Node 12");

    const QSizeF twoLines
        = UToolTipWindow::toolTipStringSize("Node 12\nx = 1.5", window.toolTipFont());
    EXPECT_DOUBLE_EQ(twoLines.height(), 2.0 * lineHeight);
    const QRectF twoFrame = UToolTipWindow::toolTipWindowFrame(window.toolTipWindowPosition(),
        twoLines, lineHeight, window.toolTipWindowOffsetVector(), QRectF(0, 0, 2000, 2000));
    EXPECT_DOUBLE_EQ(twoFrame.top(), oneFrame.top());
    EXPECT_DOUBLE_EQ(twoFrame.bottom(), oneFrame.bottom() + lineHeight);
    window.displayWithToolTipString(QStringLiteral("Node 12\nx = 1.5"), mousePoint);
    EXPECT_EQ(window.geometry().top(), int(std::floor(oneFrame.top())));
    EXPECT_EQ(window.height(), int(std::ceil(2.0 * lineHeight + 6.0)));
}

TEST(ToolTipWindow, OffsetMovesLaterTipsOnlyAndNoStringClosesLeavingTheFrame)
{
    UToolTipWindow window;
    window.displayWithToolTipString(QStringLiteral("Element 3"), mousePoint);
    const QRect shown = window.geometry();
    window.setToolTipWindowOffsetVector(QPointF(10.0, 50.0));
    EXPECT_EQ(window.geometry(), shown);
    window.displayWithToolTipString(QStringLiteral("Element 3"), mousePoint);
    EXPECT_EQ(window.geometry(), shown.translated(8, 15));

    const QRect moved = window.geometry();
    window.displayWithToolTipString(std::nullopt, mousePoint + QPointF(40.0, 40.0));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.geometry(), moved);
    EXPECT_FALSE(window.toolTipString().has_value());
    window.displayWithToolTipString(QStringLiteral("again"), mousePoint);
    EXPECT_TRUE(window.isVisible());
    window.close();
}

TEST(ToolTipWindow, StaysInsideTheAvailableAreaWithoutCoveringThePointer)
{
    const QRectF area(0.0, 0.0, 800.0, 600.0);
    const QSizeF text(120.0, 15.0);
    const QPointF offset = UToolTipWindow::defaultOffsetVector;
    // At the bottom-right corner the tip goes left and above the pointer.
    const QPointF corner(795.0, 590.0);
    const QRectF frame
        = UToolTipWindow::toolTipWindowFrame(corner + offset, text, 15.0, offset, area);
    EXPECT_DOUBLE_EQ(frame.right(), 800.0);
    EXPECT_LT(frame.bottom(), corner.y());
    EXPECT_DOUBLE_EQ(corner.y() - frame.bottom(), 35.0 - 3.0 - 15.0);
    // At the top-left corner nothing moves.
    const QRectF free
        = UToolTipWindow::toolTipWindowFrame(QPointF(5.0, 5.0) + offset, text, 15.0, offset, area);
    EXPECT_EQ(free, QRectF(4.0, 22.0, 126.0, 21.0));
    // A text taller than the area above and below keeps its top inside.
    const QRectF tall = UToolTipWindow::toolTipWindowFrame(
        QPointF(100.0, 300.0) + offset, QSizeF(50.0, 900.0), 15.0, offset, area);
    EXPECT_DOUBLE_EQ(tall.top(), 0.0);

    UToolTipWindow window;
    window.displayWithToolTipString(QStringLiteral("Node 1"), corner);
    const QRect available = window.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.geometry())) << available.width();
}

TEST(ToolTipWindow, DrawsTheTextOnALightYellowGroundInAGrayFrame)
{
    UToolTipWindow& window = UToolTipWindow::sharedToolTipWindow();
    EXPECT_EQ(&window, &UToolTipWindow::sharedToolTipWindow());
    EXPECT_EQ(window.toolTipString(), QString());
    window.displayWithToolTipString(QStringLiteral("MMMM"), mousePoint);
    const QImage image = window.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::gray));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 255, 191));
    int darkPixels = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            darkPixels += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(darkPixels, 10);
    window.close();
}
