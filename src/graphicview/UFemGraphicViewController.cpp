#include "graphicview/UFemGraphicViewController.h"

UFemGraphicViewController::UFemGraphicViewController(UFemWindowController& windowController)
    : UFemMainViewWithResultTableController(windowController)
{
    makeThreadTaskContexts();
}

UFemGraphicViewController::~UFemGraphicViewController()
{
    finish();
}

// In the order the pipeline's state is declared; the tasks of the frame replace these.
void UFemGraphicViewController::makeThreadTaskContexts()
{
    colorScaleRangeCalcThreadTaskContext_ = std::make_unique<UThreadTaskContext>();
    cardValueDataCalcThreadTaskContext_ = std::make_unique<UThreadTaskContext>();
    selectBufferHitObjectWritingThreadTaskContext_ = std::make_unique<UThreadTaskContext>();
    selectedCardIndexTableCalcThreadTaskContext_ = std::make_unique<UThreadTaskContext>();
    rubberbandCardIndexTableCalcThreadTaskContext_ = std::make_unique<UThreadTaskContext>();
    bufferDrawingThreadTaskContext_screen_ = std::make_unique<UThreadTaskContext>();
    bufferDrawingThreadTaskContext_selectMode_ = std::make_unique<UThreadTaskContext>();
    layerImageDrawingThreadTaskContext_screen_ = std::make_unique<UThreadTaskContext>();
    layerImageDrawingThreadTaskContext_selectMode_ = std::make_unique<UThreadTaskContext>();
}

void UFemGraphicViewController::finish()
{
    if (isFinished_)
        return;
    isFinished_ = true;
    UFemMainViewWithResultTableController::finish();
}

quint64 UFemGraphicViewController::cardRowIndexToAddCard(UErrorPtr* error)
{
    Q_UNUSED(error);
    return UFemNotFound;
}

_UFemSearchCardStringRange UFemGraphicViewController::selectedSearchCardStringRange(
    UErrorPtr* error)
{
    Q_UNUSED(error);
    return {};
}

bool UFemGraphicViewController::selectSearchCardStringRange(
    const _UFemSearchCardStringRange& range, UErrorPtr* error)
{
    Q_UNUSED(range);
    Q_UNUSED(error);
    return false;
}

_UFemSearchCardStringRange UFemGraphicViewController::replaceSelectedSearchCardStringRange(
    const QString& replaceString, bool* isReplaced, UErrorPtr* error)
{
    Q_UNUSED(replaceString);
    Q_UNUSED(error);
    if (isReplaced != nullptr)
        *isReplaced = false;
    return {};
}
