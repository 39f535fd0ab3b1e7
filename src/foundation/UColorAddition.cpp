#include "foundation/UColorAddition.h"

namespace {

constexpr int componentCount = 4;
constexpr double labelGrayWhite = 0.5;

double componentAt(const QVariantList& list, int index)
{
    if (index >= list.size())
        return 0.0;
    bool ok = false;
    const double value = list[index].toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace

_UGLColor UGLColorWithPreferenceColor(const QVariant& preferenceColor)
{
    const QVariantList list = preferenceColor.toList();
    return { componentAt(list, 0), componentAt(list, 1), componentAt(list, 2),
        componentAt(list, 3) };
}

QVariantList UPreferenceColorWithUGLColor(const _UGLColor& color)
{
    QVariantList list;
    list.reserve(componentCount);
    list << color.red << color.green << color.blue << color.alpha;
    return list;
}

_UGLColor UGLColorWithWhite(double white, double alpha)
{
    return { white, white, white, alpha };
}

_UGLColor UTextLabelColorForFlag(const QVariant& flag)
{
    if (flag.isValid() && !flag.isNull() && flag.toBool())
        return UGLColorWithWhite(0.0, 1.0);
    return UGLColorWithWhite(labelGrayWhite, 1.0);
}
