#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "graphicview/caches/UFemDrawingCardTypeInfoRecord.h"

class UFemDataController;
struct UFemGraphicViewSettings;

// What the drawing caches read of their view: the settings, the model, the window's cases and
// cards and the model's length. Main thread only, except cardValueDataDidFinish.
class UFemGraphicViewDrawingCacheSource {
public:
    virtual ~UFemGraphicViewDrawingCacheSource() = default;

    virtual const UFemGraphicViewSettings& viewSettings() const = 0;
    virtual UFemDataController& dataController() const = 0;
    virtual UFemCardVector currentCaseCardArray() const = 0;
    virtual UFemCardPtr currentCaseCard() const = 0;
    // The window's cards by kind, built for reading from worker threads.
    virtual UFemDrawingCardTypeCardArrays windowCardTypeCardArrays() const = 0;
    virtual double objectLength() const = 0;
    virtual quint64 foregroundTaskThreadCount() const = 0;
    // From the last worker of the card value data; must not wait for the main thread.
    virtual void cardValueDataDidFinish() = 0;
};
