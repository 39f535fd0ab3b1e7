#pragma once

#include "graphicview/caches/UFemGraphicViewDrawingCacheManager.h"
#include "graphicview/tasks/UFemCardValueDataCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemColorScaleRangeCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemRubberbandCardIndexTableCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectedCardIndexTableCalcThreadTaskContext.h"

// The nine tasks of a view, owned here in place of a view controller; the drawing tasks are plain
// ones, which the caches only stop and clear.
struct GraphicViewTaskSet {
    UFemColorScaleRangeCalcThreadTaskContext colorScaleRange;
    UFemCardValueDataCalcThreadTaskContext cardValueData;
    UFemSelectBufferHitObjectWritingThreadTaskContext hitWriter;
    UFemSelectedCardIndexTableCalcThreadTaskContext selectedCards;
    UFemRubberbandCardIndexTableCalcThreadTaskContext rubberband;
    UThreadTaskContext bufferScreen;
    UThreadTaskContext bufferSelect;
    UThreadTaskContext layerScreen;
    UThreadTaskContext layerSelect;

    UFemGraphicViewDrawingCacheManager::Tasks drawingCacheTasks()
    {
        return { colorScaleRange, cardValueData, hitWriter, selectedCards, rubberband, bufferScreen,
            bufferSelect, layerScreen, layerSelect };
    }
};
