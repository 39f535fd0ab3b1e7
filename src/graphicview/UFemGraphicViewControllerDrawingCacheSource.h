#pragma once

#include "graphicview/caches/UFemGraphicViewDrawingCacheSource.h"

#include <QPointer>

class UFemGraphicView;
class UFemGraphicViewController;

// The drawing caches' view of a graphic view controller: its settings, model, window and camera.
class UFemGraphicViewControllerDrawingCacheSource final : public UFemGraphicViewDrawingCacheSource {
public:
    explicit UFemGraphicViewControllerDrawingCacheSource(UFemGraphicViewController& controller);

    const UFemGraphicViewSettings& viewSettings() const override;
    UFemDataController& dataController() const override;
    UFemCardVector currentCaseCardArray() const override;
    UFemCardPtr currentCaseCard() const override;
    UFemDrawingCardTypeCardArrays windowCardTypeCardArrays() const override;
    double objectLength() const override;
    quint64 foregroundTaskThreadCount() const override;
    // Queues a redisplay of the view, if it still exists when the main thread gets to it.
    void cardValueDataDidFinish() override;

private:
    UFemGraphicViewController& controller_;
    const QPointer<UFemGraphicView> view_;
};
