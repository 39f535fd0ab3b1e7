#include "foundation/UPreferenceFont.h"

#include <QStringList>

#include <cmath>

std::optional<UPreferenceFont> UPreferenceFont::fontWithPreferenceFont(
    const QVariant& preferenceFont)
{
    if (preferenceFont.typeId() != QMetaType::QString)
        return std::nullopt;
    const QStringList fields = preferenceFont.toString().split(u',');
    if (fields.size() < 2 || fields[0].isEmpty())
        return std::nullopt;
    bool ok = false;
    const double size = fields[1].toDouble(&ok);
    if (!ok || !std::isfinite(size) || size <= 0.0)
        return std::nullopt;
    return UPreferenceFont { fields[0], size };
}

QVariant UPreferenceFont::preferenceFont() const
{
    return family + u',' + QString::number(pointSize, 'g', 17);
}

UPreferenceFont UPreferenceFont::userFixedPitchFontOfSize(double pointSize)
{
    return { UFemUserFixedPitchFontFamily, pointSize };
}
