#include "ColorScaleTestSupport.h"

#include "graphics/colorscale/UFemColorScaleImagePainter.h"
#include "graphics/colorscale/UFemColorScaleKeys.h"
#include "graphics/colorscale/UFemColorScaleLabelLayout.h"

#include <QImage>

#include <cmath>

using namespace colorscaletest;

namespace {

constexpr int channelTolerance = 1;
constexpr double barX = 12.5;
constexpr double barY = 32.5;
constexpr double barHeight = 240.0;
constexpr double legendHeight = 305.0;

// Saves the image when VANTREL_LEGEND_PNG_DIR names a folder, for looking at it by eye.
void saveForViewing(const QImage& image, const QString& name)
{
    const QByteArray folder = qgetenv("VANTREL_LEGEND_PNG_DIR");
    if (!folder.isEmpty())
        image.save(QString::fromLocal8Bit(folder) + '/' + name + ".png");
}

void expectPixel(const QImage& image, int x, int y, const _UGLColor& color)
{
    SCOPED_TRACE(testing::Message() << "pixel " << x << ", " << y);
    const QRgb pixel = image.pixel(x, y);
    EXPECT_NEAR(qRed(pixel), color.red * 255, channelTolerance);
    EXPECT_NEAR(qGreen(pixel), color.green * 255, channelTolerance);
    EXPECT_NEAR(qBlue(pixel), color.blue * 255, channelTolerance);
    EXPECT_NEAR(qAlpha(pixel), color.alpha * 255, channelTolerance);
}

// Every bar row against the scale's own colour at the row centre's value.
void expectBarRows(const QImage& image, const UFemColorScale& scale, double resolution)
{
    const int column = int((barX + 16) * resolution);
    const int firstRow = int(std::ceil((legendHeight - barY - barHeight) * resolution));
    const int lastRow = int((legendHeight - barY) * resolution) - 1;
    const double min = scale.colorScaleRangeMinValue();
    const double max = scale.colorScaleRangeMaxValue();
    for (int row = firstRow + 1; row < lastRow; ++row) {
        const double pointY = legendHeight - (row + 0.5) / resolution;
        const double t = (pointY - barY) / barHeight;
        expectPixel(image, column, row, scale.colorWithValue(min + (max - min) * t));
    }
}

bool isDark(QRgb pixel)
{
    return qAlpha(pixel) > 128 && qRed(pixel) < 128 && qGreen(pixel) < 128 && qBlue(pixel) < 128;
}

int darkPixelsIn(const QImage& image, const QRect& rect)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += isDark(image.pixel(x, y));
    }
    return count;
}

QSizeF labelSize(const UFemColorScale& scale)
{
    return UFemColorScaleLabelLayout::attributedStringSize(
        UFemColorScaleLabelLayout::labelFormatterWithRangeMinValue(
            scale.colorScaleRangeMinValue(), scale.colorScaleRangeMaxValue()));
}

std::vector<UFemColorScaleLabel> labelsOf(const UFemColorScale& scale)
{
    const double min = scale.colorScaleRangeMinValue();
    const double max = scale.colorScaleRangeMaxValue();
    return UFemColorScaleLabelLayout::labelsWithRangeMinValue(min, max,
        UFemColorScaleLabelLayout::labelFormatterWithRangeMinValue(min, max),
        UFemColorScaleImageLayout::standardLayout(labelSize(scale)));
}

} // namespace

TEST(ColorLegend, LabelValuesStepThroughTheRange)
{
    EXPECT_EQ(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(0, 1),
        std::vector<double>({ 0, 0.1, 0.2, 0.30000000000000004, 0.4, 0.5, 0.6, 0.7,
            0.7999999999999999, 0.8999999999999999, 0.9999999999999999 }));
    EXPECT_EQ(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(0, 7),
        std::vector<double>({ 0, 1, 2, 3, 4, 5, 6 }));
    EXPECT_EQ(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(0, 3),
        std::vector<double>({ 0, 0.5, 1, 1.5, 2, 2.5 }));
    EXPECT_EQ(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(0, 2),
        std::vector<double>({ 0, 0.25, 0.5, 0.75, 1, 1.25, 1.5, 1.75 }));
    EXPECT_EQ(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(0, 1.3).size(), 7u);
    EXPECT_DOUBLE_EQ(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(0, 1.3)[1], 0.2);
    EXPECT_EQ(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(100, 250),
        std::vector<double>({ 100, 125, 150, 175, 200, 225 }));
    // Starts at the first step multiple inside the range; negative ranges too.
    // 5.5 lies between 2.999 and 5.999: step 0.5.
    EXPECT_EQ(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(-7, -1.5),
        std::vector<double>({ -7, -6.5, -6, -5.5, -5, -4.5, -4, -3.5, -3, -2.5, -2 }));
    EXPECT_TRUE(UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(1, 1).empty());
}

TEST(ColorLegend, UnitScaleLabelsSitOnTheirValues)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    const std::vector<UFemColorScaleLabel> labels = labelsOf(*scale);
    const double height = labelSize(*scale).height();
    // Eleven ticks in one shared exponent; the ends print like the first and last tick, so no end
    // labels.
    ASSERT_EQ(labels.size(), 11u);
    const std::vector<std::string> texts { "+0.00000E+00", "+0.10000E+00", "+0.20000E+00",
        "+0.30000E+00", "+0.40000E+00", "+0.50000E+00", "+0.60000E+00", "+0.70000E+00",
        "+0.80000E+00", "+0.90000E+00", "+1.00000E+00" };
    for (size_t index = 0; index < labels.size(); ++index) {
        SCOPED_TRACE(index);
        const double y = barY + barHeight * labels[index].value;
        EXPECT_EQ(labels[index].text.toStdString(), texts[index]);
        ASSERT_EQ(labels[index].lines.size(), 1);
        EXPECT_EQ(labels[index].lines[0], QLineF(46.5, y, 62.5, y));
        EXPECT_EQ(labels[index].textPoint, QPointF(65, y - height / 2));
    }
}

TEST(ColorLegend, RangeEndsGetTicksOrBentLeaders)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    const double height = labelSize(*scale).height();
    // 100..250: ticks 100..225; 250 prints apart from 225 and fits at the top of the bar.
    ASSERT_TRUE(scale->setColorScaleValueRangeWithRangeMinValue(100, 250, nullptr));
    std::vector<UFemColorScaleLabel> labels = labelsOf(*scale);
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(labels.back().value, 250.0);
    EXPECT_EQ(labels.back().lines, QList<QLineF>({ QLineF(46.5, 272.5, 62.5, 272.5) }));
    EXPECT_EQ(labels.back().textPoint, QPointF(65, 272.5 - height / 2));

    // 0.05..1: the first tick (0.1) lies 12.6 points above the bar's foot, too close for the
    // minimum's text, which is led down below the foot.
    ASSERT_TRUE(scale->setColorScaleValueRangeWithRangeMinValue(0.05, 1, nullptr));
    labels = labelsOf(*scale);
    const double k = barHeight / 0.95;
    const double y1 = (0.1 - 0.05) * k + barY - height - 1;
    ASSERT_LT(y1, barY);
    const auto minimum
        = std::find_if(labels.begin(), labels.end(), [](const auto& l) { return l.value == 0.05; });
    ASSERT_NE(minimum, labels.end());
    EXPECT_EQ(minimum->lines,
        QList<QLineF>({ QLineF(46.5, barY, 54.5, barY), QLineF(54.5, barY, 54.5, y1),
            QLineF(54.5, y1, 62.5, y1) }));
    EXPECT_EQ(minimum->textPoint, QPointF(65, y1 - height / 2));
    const QImage image = scale->colorScaleLabelImageWithImageResolutionPer72(1.0);
    saveForViewing(image, "legend-bent-leader");
    // The leader's upright part runs down column 54 below the bar's foot.
    EXPECT_EQ(image.pixel(54, int(legendHeight - (barY + y1) / 2)), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(54, int(legendHeight - barY) - 3)), 0);
}

TEST(ColorLegend, StandardLegendPixelsAtResolutionOne)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    const QImage image = scale->colorScaleLabelImageWithImageResolutionPer72(1.0);
    saveForViewing(image, "legend-blue-red-1x");
    const QSizeF label = labelSize(*scale);
    EXPECT_EQ(image.size(), QSize(int(label.width() + 77 + 0.5), 305));
    expectBarRows(image, *scale, 1.0);
    // Row 152 is centred on 152.5 points from the top: the value 0.5 exactly, pure green.
    EXPECT_EQ(image.pixel(28, 152), qRgba(0, 255, 0, 255));
    expectPixel(image, 28, 282, darkBlue);
    expectPixel(image, 28, 22, darkRed);
    // Frames along x = 12.5 and 44.5, the top frame (and last line) along y = 272.5 points.
    EXPECT_EQ(image.pixel(12, 150), qRgba(0, 0, 0, 255));
    EXPECT_EQ(image.pixel(44, 150), qRgba(0, 0, 0, 255));
    EXPECT_EQ(image.pixel(28, 32), qRgba(0, 0, 0, 255));
    // The middle separating lines have no colour: the bar shows through at 0.25.
    expectPixel(image, 28, 212, cyan);
    EXPECT_EQ(qAlpha(image.pixel(5, 150)), 0);
    // Tick of 0.5 from 46.5 to 62.5, and its text beside it.
    EXPECT_EQ(image.pixel(50, 152), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(50, 150)), 0);
    const int textTop = int(305 - (152.5 - label.height() / 2 + label.height()));
    EXPECT_GT(darkPixelsIn(image, QRect(65, textTop, int(label.width()), int(label.height()))), 40);
    // Nothing is drawn between two labels' texts.
    EXPECT_EQ(
        darkPixelsIn(image, QRect(65, 152 + int(label.height() / 2) + 2, int(label.width()), 4)),
        0);
}

TEST(ColorLegend, StandardLegendPixelsAtResolutionTwo)
{
    const UFemColorScalePtr scale = UFemColorScale::redBlueRedContinuousUnitColorScale();
    const QImage image = scale->colorScaleLabelImageWithImageResolutionPer72(2.0);
    saveForViewing(image, "legend-red-blue-red-2x");
    EXPECT_EQ(image.size(), QSize(int(2 * (labelSize(*scale).width() + 77) + 0.5), 610));
    expectBarRows(image, *scale, 2.0);
    expectPixel(image, 56, 564, darkRed);
    expectPixel(image, 56, 44, darkRed);
    // The 0.5 tick is two pixels wide, rows 304 and 305.
    EXPECT_EQ(image.pixel(100, 304), qRgba(0, 0, 0, 255));
    EXPECT_EQ(image.pixel(100, 305), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(100, 302)), 0);
}

TEST(ColorLegend, MenuStripRunsLeftToRight)
{
    const UFemColorScalePtr scale = UFemColorScale::blueToYellowAndRedContinuousUnitColorScale();
    const QImage image = scale->colorScaleLabelImageForMenuItem();
    saveForViewing(image, "menu-blue-yellow-red");
    ASSERT_EQ(image.size(), QSize(111, 17));
    for (int x = 17; x < 95; ++x) {
        const double t = (x + 0.5 - 15.5) / 80;
        expectPixel(image, x, 8, scale->colorWithValue(t));
    }
    expectPixel(image, 8, 8, blue);
    expectPixel(image, 103, 8, red);
    // Frames at 0.5 and 16.5 points across the strip, and no labels.
    EXPECT_EQ(image.pixel(50, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(image.pixel(50, 16), qRgba(0, 0, 0, 255));

    const QImage doubled = scale->colorScaleLabelImageForMenuItemWithImageResolutionPer72(2.0);
    ASSERT_EQ(doubled.size(), QSize(222, 34));
    expectPixel(doubled, 111, 16, scale->colorWithValue((111.5 / 2 - 15.5) / 80));
}

TEST(ColorLegend, GeneralImageTurnsAnticlockwiseAndSkipsNullBoxes)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    UFemColorScaleImageLayout layout = UFemColorScaleImageLayout::menuItemLayout();
    layout.rotateAnglePer90Degree = 1;
    layout.colorUnderRangeMinValueRect = QRectF();
    const QImage image = scale->colorScaleImageWithImagePointSize(layout, 1.0);
    ASSERT_EQ(image.size(), QSize(111, 17));
    // Turned the other way the bar runs from right to left, and the under box is gone.
    for (int x = 17; x < 95; ++x)
        expectPixel(image, x, 8, scale->colorWithValue((111 - (x + 0.5) - 15.5) / 80));
    EXPECT_EQ(qAlpha(image.pixel(103, 8)), 0);
    expectPixel(image, 8, 8, darkRed);
}

TEST(ColorLegend, CacheIsDrawnAgainForAnotherResolutionOrARebuild)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    const QImage first = scale->colorScaleLabelImageWithImageResolutionPer72(1.0);
    EXPECT_EQ(scale->colorScaleLabelImageWithImageResolutionPer72(1.0), first);
    // A print at another resolution must not compose a legend of the screen's pixel size.
    EXPECT_EQ(scale->colorScaleLabelImageWithImageResolutionPer72(4.0).height(), 1220);
    EXPECT_EQ(scale->colorScaleLabelImageWithImageResolutionPer72(1.0), first);
    ASSERT_TRUE(scale->setColorSwapped(true, nullptr));
    const QImage swapped = scale->colorScaleLabelImageWithImageResolutionPer72(1.0);
    EXPECT_NE(swapped, first);
    EXPECT_EQ(swapped.pixel(28, 282), first.pixel(28, 22));
    // A refused change drops the cache too, and the redrawn legend is the same.
    UErrorPtr error;
    EXPECT_FALSE(scale->setColorScaleValueRangeWithRangeMinValue(1, 0, &error));
    EXPECT_EQ(scale->colorScaleLabelImageWithImageResolutionPer72(1.0), swapped);
}

TEST(ColorLegend, ColouredSeparatingLinesAreDrawnInsideTheBar)
{
    UFemColorScale scale;
    ASSERT_TRUE(scale.setContinuousColorScaleWithIsValuedColorScale(true, "Lines",
        { { 0, blue }, { 10, green }, { 20, yellow } }, darkBlue, darkRed, black, red, 1.0, 0, 20,
        nullptr));
    // The middle line has no colour here; give it one through the dictionary.
    QVariantMap dictionary = *scale.preferenceColorScale();
    QVariantMap base = dictionary[UFemColorScaleBaseColorScaleKey].toMap();
    QVariantList lines = base[UFemColorScaleSeparateLineArray].toList();
    QVariantList middle = lines[1].toList();
    middle[1] = QVariantList { 1.0, 0.0, 1.0, 1.0 };
    middle[2] = 2.0;
    lines[1] = middle;
    base[UFemColorScaleSeparateLineArray] = lines;
    dictionary[UFemColorScaleBaseColorScaleKey] = base;
    ASSERT_TRUE(scale.setColorScaleWithPreferenceColorScale(dictionary, nullptr));
    const QImage image = scale.colorScaleLabelImageWithImageResolutionPer72(1.0);
    saveForViewing(image, "legend-lines");
    // The line at 10 lies at 152.5 points and is 2 points wide: row 152 magenta, rows 151 and
    // 153 half covered; the top line (red) lies under the black frame.
    EXPECT_EQ(image.pixel(28, 152), qRgba(255, 0, 255, 255));
    EXPECT_NEAR(qRed(image.pixel(28, 151)), 128, 1);
    EXPECT_NEAR(qRed(image.pixel(28, 153)), 128, 1);
    EXPECT_EQ(image.pixel(28, 32), qRgba(0, 0, 0, 255));
    expectPixel(image, 28, 150, scale.colorWithValue((305 - 150.5 - barY) * 20 / barHeight));
}

TEST(ColorLegend, EmptyScalesAndWildResolutionsDrawNothingBroken)
{
    const UFemColorScale empty;
    const QImage image = empty.colorScaleLabelImageWithImageResolutionPer72(1.0);
    EXPECT_EQ(image.height(), 305);
    EXPECT_EQ(qAlpha(image.pixel(28, 150)), 0);
    EXPECT_TRUE(empty.colorScaleLabelImageForMenuItem().size() == QSize(111, 17));
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    for (double resolution : { 0.0, -2.0, std::nan(""), 1e9 })
        EXPECT_TRUE(scale->colorScaleLabelImageWithImageResolutionPer72(resolution).isNull())
            << resolution;
    EXPECT_EQ(scale->colorScaleLabelImageWithImageResolutionPer72(1.0).height(), 305);
}
