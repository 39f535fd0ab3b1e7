// The legend images of a colour scale and their cache.

#include "graphics/colorscale/UFemColorScale.h"

#include "graphics/colorscale/UFemColorScaleImagePainter.h"
#include "graphics/colorscale/UFemColorScaleLabelLayout.h"

QImage UFemColorScale::colorScaleImageWithImagePointSize(
    const UFemColorScaleImageLayout& layout, double imageResolutionPer72) const
{
    return UFemColorScaleImagePainter(*this, layout, imageResolutionPer72).image();
}

QImage UFemColorScale::colorScaleLabelImageWithImageResolutionPer72(
    double imageResolutionPer72) const
{
    const UFemNumberFormatter formatter
        = UFemColorScaleLabelLayout::labelFormatterWithRangeMinValue(
            fields_.rangeMinValue, fields_.rangeMaxValue);
    const UFemColorScaleImageLayout layout = UFemColorScaleImageLayout::standardLayout(
        UFemColorScaleLabelLayout::attributedStringSize(formatter));
    return cachedImage(&colorScaleLabelImage_standard_, layout, imageResolutionPer72);
}

QImage UFemColorScale::colorScaleLabelImageForMenuItemWithImageResolutionPer72(
    double imageResolutionPer72) const
{
    return cachedImage(&colorScaleLabelImage_forMenuItem_,
        UFemColorScaleImageLayout::menuItemLayout(), imageResolutionPer72);
}

// A legend composed into a print must have the print's resolution, so a cached image of another
// resolution is drawn again.
QImage UFemColorScale::cachedImage(std::optional<CachedImage>* cache,
    const UFemColorScaleImageLayout& layout, double imageResolutionPer72) const
{
    const std::scoped_lock lock(imageCacheMutex_);
    if (!*cache || (*cache)->imageResolutionPer72 != imageResolutionPer72)
        *cache = CachedImage { colorScaleImageWithImagePointSize(layout, imageResolutionPer72),
            imageResolutionPer72 };
    // A QImage copy is a value: it detaches before anyone can change the cached pixels.
    return (*cache)->image;
}

void UFemColorScale::dropCachedImages()
{
    const std::scoped_lock lock(imageCacheMutex_);
    colorScaleLabelImage_standard_.reset();
    colorScaleLabelImage_forMenuItem_.reset();
}
