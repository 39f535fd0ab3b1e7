#pragma once

#include "documents/mainview/UFemGraphicMoveModeController.h"
#include "foundation/threads/UThreadTaskContext.h"
#include "tables/UFemMainViewWithResultTableController.h"
#include "tables/UFemResultTablePane.h"

#include <memory>

// The controller of a document window's 3-D view: it owns the camera, the view settings and the
// whole frame pipeline (two OpenGL contexts, their root drawing buffers, the drawing caches and
// nine background tasks), and shares its pane with the result table.
class UFemGraphicViewController : public UFemMainViewWithResultTableController,
                                  public UFemGraphicMoveModeController {
public:
    explicit UFemGraphicViewController(UFemWindowController& windowController);
    ~UFemGraphicViewController() override;

    void finish() override;

    quint64 cardRowIndexToAddCard(UErrorPtr* error) override;
    _UFemSearchCardStringRange selectedSearchCardStringRange(UErrorPtr* error) override;
    bool selectSearchCardStringRange(
        const _UFemSearchCardStringRange& range, UErrorPtr* error) override;
    _UFemSearchCardStringRange replaceSelectedSearchCardStringRange(
        const QString& replaceString, bool* isReplaced, UErrorPtr* error) override;

    quint64 objectMoveMode() const override { return objectMoveMode_; }
    void setObjectMoveMode(quint64 objectMoveMode) override { objectMoveMode_ = objectMoveMode; }

    // ---- The nine background tasks of the frame pipeline (the five picking tasks, then the four
    // of the screen pipeline).
    UThreadTaskContext& colorScaleRangeCalcThreadTaskContext() const
    {
        return *colorScaleRangeCalcThreadTaskContext_;
    }
    UThreadTaskContext& cardValueDataCalcThreadTaskContext() const
    {
        return *cardValueDataCalcThreadTaskContext_;
    }
    UThreadTaskContext& selectBufferHitObjectWritingThreadTaskContext() const
    {
        return *selectBufferHitObjectWritingThreadTaskContext_;
    }
    UThreadTaskContext& selectedCardIndexTableCalcThreadTaskContext() const
    {
        return *selectedCardIndexTableCalcThreadTaskContext_;
    }
    UThreadTaskContext& rubberbandCardIndexTableCalcThreadTaskContext() const
    {
        return *rubberbandCardIndexTableCalcThreadTaskContext_;
    }
    UThreadTaskContext& bufferDrawingThreadTaskContext_screen() const
    {
        return *bufferDrawingThreadTaskContext_screen_;
    }
    UThreadTaskContext& bufferDrawingThreadTaskContext_selectMode() const
    {
        return *bufferDrawingThreadTaskContext_selectMode_;
    }
    UThreadTaskContext& layerImageDrawingThreadTaskContext_screen() const
    {
        return *layerImageDrawingThreadTaskContext_screen_;
    }
    UThreadTaskContext& layerImageDrawingThreadTaskContext_selectMode() const
    {
        return *layerImageDrawingThreadTaskContext_selectMode_;
    }

private:
    void makeThreadTaskContexts();

    std::unique_ptr<UThreadTaskContext> colorScaleRangeCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> cardValueDataCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> selectBufferHitObjectWritingThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> selectedCardIndexTableCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> rubberbandCardIndexTableCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> bufferDrawingThreadTaskContext_screen_;
    std::unique_ptr<UThreadTaskContext> bufferDrawingThreadTaskContext_selectMode_;
    std::unique_ptr<UThreadTaskContext> layerImageDrawingThreadTaskContext_screen_;
    std::unique_ptr<UThreadTaskContext> layerImageDrawingThreadTaskContext_selectMode_;

    quint64 objectMoveMode_ = 1;
    bool isFinished_ = false;
};
