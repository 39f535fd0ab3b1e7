#include "graphicview/caches/UFemDrawingLayerImageInfoRecord.h"

#include "graphicview/caches/UFemGraphicViewDrawingPreferenceCache.h"

UFemDrawingLayerImageInfoRecordTable UFemMakeDrawingLayerImageInfoRecordTable(
    const UFemGraphicViewDrawingPreferenceCache& cache)
{
    const UFemGraphicViewSettings& s = cache.settings;
    constexpr quint64 over = UFemDrawingLayerImageInfoRecord::sourceOverCompositeOperation;
    struct Layer {
        bool condition;
        UFemDrawingLayerImageInfoRecord record;
    };
    const Layer layers[] = {
        { s.isNodeDraw || s.isElementDraw, { s.isLighting, true, true, true, over, 1.0 } },
        { s.isRestraintDraw,
            { false, false, !s.isRestraintShowInnerRestraint, false, over,
                s.restraintColor.alpha } },
        { s.isForceDraw, { false, false, false, false, over, s.forceColor.alpha } },
        { s.isOtherCoordDraw, { false, false, false, false, over, s.otherCoordColor.alpha } },
        { cache.doesDrawWithNonDisplacementModel,
            { true, true, true, true, over, s.nonDisplacementModelColor.alpha } },
        { s.isSelectionDraw, { true, true, true, true, over, s.selectionColor.alpha } },
    };
    UFemDrawingLayerImageInfoRecordTable table {};
    for (std::size_t i = 0; i < std::size(layers); ++i)
        if (layers[i].condition)
            table[i] = layers[i].record;
    return table;
}
