#pragma once

#include "foundation/UGLColor.h"
#include "foundation/errors/UError.h"
#include "graphics/colorscale/UFemColorScaleColorSlope.h"
#include "graphics/colorscale/UFemColorScaleFields.h"
#include "graphics/colorscale/UFemColorScaleImageLayout.h"
#include "graphics/colorscale/UFemColorScaleSeparateLine.h"

#include <QImage>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class UFemColorScale;
using UFemColorScalePtr = std::shared_ptr<UFemColorScale>;

// One stop of a continuous scale: the colour at a value.
struct UFemColorScaleValueAndColor {
    double value = 0.0;
    _UGLColor color;
};

// Turns a value into a colour through a run of linear colour slopes over a value range, with one
// colour below the range, one above it and one for NaN; and draws its own legend. A scale is
// built from a preference dictionary (a base scale plus optional additions: a value range, a
// colour swap, a step count) and rebuilt whole on every change, keeping its old state when the
// new dictionary is refused.
//
// Built and changed on the main thread only; a built scale is read by several drawing threads at
// once without locks. The legend images are cached under a lock of their own.
class UFemColorScale {
public:
    UFemColorScale() = default;
    // A deep copy, cached legend images included.
    UFemColorScale(const UFemColorScale& other);
    UFemColorScale& operator=(const UFemColorScale&) = delete;

    // --- Reading a built scale

    QString colorScaleNameString() const { return fields_.colorScaleNameString; }
    bool isValuedColorScale() const { return fields_.isValuedColorScale; }
    double colorScaleRangeMinValue() const { return fields_.rangeMinValue; }
    double colorScaleRangeMaxValue() const { return fields_.rangeMaxValue; }
    _UGLColor invalidValueColor() const { return fields_.invalidValueColor; }
    _UGLColor colorUnderRangeMinValue() const { return fields_.colorUnderRangeMinValue; }
    _UGLColor colorOverRangeMaxValue() const { return fields_.colorOverRangeMaxValue; }

    // The colour of a value: the invalid colour for NaN, the under and over colours outside the
    // range, else the slopes' colour. An empty scale gives transparent black, so that nothing
    // draws from unset colours.
    void getRed(double* red, double* green, double* blue, double* alpha, double value) const;
    void getUGLColor(_UGLColor* color, double value) const;
    _UGLColor colorWithValue(double value) const;
    // The colour of the first slope reaching `value`, else of the last slope, ignoring the range:
    // the legend's colour bar.
    _UGLColor slopeColorWithValue(double value) const;

    // The run of separating lines whose values lie strictly between low and high.
    std::vector<UFemColorScaleSeparateLine> separateLineArrayWithRangeLowValue(
        double rangeLowValue, double rangeHighValue) const;
    const std::vector<UFemColorScaleColorSlope>& _colorScaleColorSlopeArray() const
    {
        return fields_.colorScaleColorSlopeArray;
    }
    const std::vector<UFemColorScaleSeparateLine>& colorScaleSeparateLineArray() const
    {
        return fields_.colorScaleSeparateLineArray;
    }

    // --- The preference dictionary

    // Applies a dictionary; none empties the scale. On failure the scale is unchanged and the
    // error is stored (without an error pointer: the error responder error is raised).
    [[nodiscard]] bool setColorScaleWithPreferenceColorScale(
        const std::optional<QVariantMap>& preferenceColorScale, UErrorPtr* error);
    // A new scale with the dictionary applied. A dictionary that is refused (a damaged
    // preferences file) gives an empty scale and a warning.
    static UFemColorScalePtr colorScaleWithPreferenceColorScale(
        const QVariantMap& preferenceColorScale);

    std::optional<QVariantMap> preferenceColorScale() const { return preferenceColorScale_; }
    // The scale without its additions.
    UFemColorScalePtr baseColorScale() const;
    // Same name and same base dictionary; additions are ignored.
    bool isBaseColorScaleEqualToColorScale(const UFemColorScale& other) const;

    bool isValuedBaseColorScale() const;
    bool canSetColorSwapped() const { return !isValuedBaseColorScale(); }
    bool canSetColorScaleValueRange() const { return !isValuedBaseColorScale(); }
    bool isColorSwapped() const;
    bool hasSetColorScaleValueRange() const;
    // The step count is kept and reported but does not change any colour.
    bool isInstantStepColor() const;
    quint64 numberOfStepColor() const;

    // The additions. A refused change keeps the previous dictionary and state. An addition that
    // the base scale does not allow changes nothing and succeeds.
    [[nodiscard]] bool setColorScaleValueRangeWithRangeMinValue(
        double rangeMinValue, double rangeMaxValue, UErrorPtr* error);
    void clearColorScaleValueRange();
    [[nodiscard]] bool setColorSwapped(bool isColorSwapped, UErrorPtr* error);
    [[nodiscard]] bool setInstantStepColorWithNumberOfStepColor(
        quint64 numberOfStepColor, UErrorPtr* error);
    void clearInstantStepColor();

    // Builds a base scale from at least two stops in strictly ascending or descending order and
    // applies it.
    [[nodiscard]] bool setContinuousColorScaleWithIsValuedColorScale(bool isValuedColorScale,
        const QString& nameString,
        const std::vector<UFemColorScaleValueAndColor>& valueAndColorArray,
        const _UGLColor& colorUnderMinValue, const _UGLColor& colorOverMaxValue,
        const _UGLColor& invalidValueColor,
        const std::optional<_UGLColor>& overMinMaxSeparateLineColor,
        double overMinMaxSeparateLineWidth, double rangeMinValue, double rangeMaxValue,
        UErrorPtr* error);

    // --- Presets

    static UFemColorScalePtr blueToRedContinuousUnitColorScale();
    static UFemColorScalePtr blueToYellowAndRedContinuousUnitColorScale();
    static UFemColorScalePtr redBlueRedContinuousUnitColorScale();
    static UFemColorScalePtr yellowBlueYellowAndRedContinuousUnitColorScale();
    static UFemColorScalePtr defaultUnitColorScale() { return blueToRedContinuousUnitColorScale(); }
    // The folder items of the four presets, for the preferences' colour-scale menu.
    static QVariantList defaultPreferenceColorScaleFolderArray();

    // --- Legend images

    QImage colorScaleImageWithImagePointSize(
        const UFemColorScaleImageLayout& layout, double imageResolutionPer72) const;
    // The cached legend, drawn again when asked at another resolution than the cached one.
    QImage colorScaleLabelImageWithImageResolutionPer72(double imageResolutionPer72) const;
    QImage colorScaleLabelImageForMenuItemWithImageResolutionPer72(
        double imageResolutionPer72) const;
    QImage colorScaleLabelImageForMenuItem() const
    {
        return colorScaleLabelImageForMenuItemWithImageResolutionPer72(1.0);
    }

private:
    struct CachedImage {
        QImage image;
        double imageResolutionPer72 = 0.0;
    };

    [[nodiscard]] bool rebuild(
        const std::optional<QVariantMap>& preferenceColorScale, UErrorPtr* error);
    // Sets (or, with an invalid value, removes) one top-level entry and rebuilds.
    [[nodiscard]] bool setAddition(const QString& key, const QVariant& value, UErrorPtr* error);
    void clearAddition(const QString& key);
    QVariant additionValue(const QString& key) const;
    QImage cachedImage(std::optional<CachedImage>* cache, const UFemColorScaleImageLayout& layout,
        double imageResolutionPer72) const;
    void dropCachedImages();

    std::optional<QVariantMap> preferenceColorScale_;
    UFemColorScaleFields fields_;
    mutable std::mutex imageCacheMutex_;
    mutable std::optional<CachedImage> colorScaleLabelImage_standard_;
    mutable std::optional<CachedImage> colorScaleLabelImage_forMenuItem_;
};
