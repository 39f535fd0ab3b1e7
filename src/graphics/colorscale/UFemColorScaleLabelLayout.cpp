#include "graphics/colorscale/UFemColorScaleLabelLayout.h"

#include <QFontMetricsF>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Fractional parts of log10 of the range from which each step factor is used.
struct StepChoice {
    double leastMantissa;
    double factor;
};
constexpr std::array stepChoices { StepChoice { 5.999, 1.0 }, StepChoice { 2.999, 0.5 },
    StepChoice { 1.499, 0.25 }, StepChoice { 1.199, 0.2 } };
constexpr double smallestStepFactor = 0.1;
// Enough for any accepted range; bounds the loop for ranges the scale never accepts.
constexpr size_t maximumLabelCount = 1000;
constexpr double labelGap = 1.0;
const QString fallbackLabelFamily = QStringLiteral("DejaVu Sans");
constexpr int fallbackLabelPixelSize = 12;

double labelStep(double range)
{
    const double exponent = std::floor(std::log10(range));
    const double mantissa = std::log10(range) - exponent;
    const double power = std::pow(10.0, exponent);
    for (const StepChoice& choice : stepChoices) {
        if (mantissa >= std::log10(choice.leastMantissa))
            return power * choice.factor;
    }
    return power * smallestStepFactor;
}

// The label of a range end: a tick at the bar's end when the text fits beside it, otherwise a
// leader bent out to where the text no longer overlaps the nearest tick's text.
UFemColorScaleLabel endLabel(double value, const QString& text, double barEnd, double textY,
    bool fitsAtEnd, const UFemColorScaleImageLayout& layout)
{
    const double left = layout.labelValueLineLeftPositionX;
    const double middle = layout.labelValueLineMiddlePositionX;
    const double right = layout.labelValueLineRightPositionX;
    UFemColorScaleLabel label { value, text, {}, {} };
    const double place = fitsAtEnd ? barEnd : textY;
    if (fitsAtEnd) {
        label.lines = { QLineF(left, barEnd, right, barEnd) };
    } else {
        label.lines = { QLineF(left, barEnd, middle, barEnd), QLineF(middle, barEnd, middle, textY),
            QLineF(middle, textY, right, textY) };
    }
    label.textPoint = QPointF(
        layout.labelValueStringPositionX, place - layout.labelValueStringSizeHeight * 0.5);
    return label;
}

} // namespace

std::vector<double> UFemColorScaleLabelLayout::labelValuesWithRangeMinValue(
    double rangeMinValue, double rangeMaxValue)
{
    const double range = rangeMaxValue - rangeMinValue;
    if (!(range > 0.0) || !std::isfinite(range))
        return {};
    const double step = labelStep(range);
    std::vector<double> values;
    for (double value = std::ceil(rangeMinValue / step) * step;
         value < rangeMaxValue && values.size() < maximumLabelCount; value += step)
        values.push_back(value);
    return values;
}

UFemNumberFormatter UFemColorScaleLabelLayout::labelFormatterWithRangeMinValue(
    double rangeMinValue, double rangeMaxValue)
{
    UFemNumberFormatter formatter = UFemNumberFormatter::defaultColorScaleImageNumberFormatter();
    formatter.setNumberFormatterHintWithMaxValue(
        std::max(std::fabs(rangeMinValue), std::fabs(rangeMaxValue)));
    return formatter;
}

QFont UFemColorScaleLabelLayout::labelFont(const UFemNumberFormatter& formatter)
{
    QFont font(fallbackLabelFamily);
    font.setPixelSize(fallbackLabelPixelSize);
    if (const std::optional<UPreferenceFont>& preferenceFont = formatter.numberFormatterFont()) {
        font.setFamily(preferenceFont->family);
        if (preferenceFont->family == UFemUserFixedPitchFontFamily)
            font.setStyleHint(QFont::Monospace);
        font.setPixelSize(std::max(1, int(std::lround(preferenceFont->pointSize))));
    }
    return font;
}

QSizeF UFemColorScaleLabelLayout::attributedStringSize(const UFemNumberFormatter& formatter)
{
    const QFontMetricsF metrics(labelFont(formatter));
    return QSizeF(metrics.horizontalAdvance(formatter.stringWithValue(0.0)), metrics.height());
}

std::vector<UFemColorScaleLabel> UFemColorScaleLabelLayout::labelsWithRangeMinValue(
    double rangeMinValue, double rangeMaxValue, const UFemNumberFormatter& formatter,
    const UFemColorScaleImageLayout& layout)
{
    const QRectF& bar = layout.colorRectangleRect;
    const double perValue = bar.height() / (rangeMaxValue - rangeMinValue);
    const double half = layout.labelValueStringSizeHeight * 0.5;
    const auto barY = [&](double value) { return (value - rangeMinValue) * perValue + bar.y(); };
    std::vector<UFemColorScaleLabel> labels;
    const std::vector<double> values = labelValuesWithRangeMinValue(rangeMinValue, rangeMaxValue);
    for (double value : values) {
        const double y = barY(value);
        labels.push_back({ value, formatter.stringWithValue(value),
            { QLineF(
                layout.labelValueLineLeftPositionX, y, layout.labelValueLineRightPositionX, y) },
            QPointF(layout.labelValueStringPositionX, y - half) });
    }
    const QString minText = formatter.stringWithValue(rangeMinValue);
    if (values.empty() || formatter.stringWithValue(values.front()) != minText) {
        const double y1 = values.empty()
            ? bar.y()
            : barY(values.front()) - layout.labelValueStringSizeHeight - labelGap;
        labels.push_back(endLabel(rangeMinValue, minText, bar.y(), y1, bar.y() <= y1, layout));
    }
    const QString maxText = formatter.stringWithValue(rangeMaxValue);
    const double top = bar.y() + bar.height();
    if (values.empty() || formatter.stringWithValue(values.back()) != maxText) {
        const double y2 = values.empty()
            ? top
            : barY(values.back()) + layout.labelValueStringSizeHeight + labelGap;
        labels.push_back(endLabel(rangeMaxValue, maxText, top, y2, y2 <= top, layout));
    }
    return labels;
}
