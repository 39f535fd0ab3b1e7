#pragma once

#include <QtGlobal>

#include <array>

struct UFemGraphicViewDrawingPreferenceCache;

// How one of the seven layers of a frame is rendered and laid over the layers below it.
struct UFemDrawingLayerImageInfoRecord {
    static constexpr quint64 layerCount = 7;
    // Source over.
    static constexpr quint64 sourceOverCompositeOperation = 2;

    bool doesEnableLighting = false;
    bool doesEnableSmoothColor = false;
    bool doesEnableDepthTest = false;
    bool doesClearDepthBuffer = false;
    quint64 layerImageCompositeOperation = 0;
    double layerImageCompositeFraction = 0.0;
};

using UFemDrawingLayerImageInfoRecordTable
    = std::array<UFemDrawingLayerImageInfoRecord, UFemDrawingLayerImageInfoRecord::layerCount>;

// The layers the settings draw; the others keep a cleared record.
UFemDrawingLayerImageInfoRecordTable UFemMakeDrawingLayerImageInfoRecordTable(
    const UFemGraphicViewDrawingPreferenceCache& preferenceCache);
