#include "graphicview/UFemGraphicViewControllerDrawingCacheSource.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/window/UFemWindowController.h"
#include "graphicview/UFemGraphicView.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "platform/UMainThread.h"

UFemGraphicViewControllerDrawingCacheSource::UFemGraphicViewControllerDrawingCacheSource(
    UFemGraphicViewController& controller)
    : controller_(controller)
    , view_(controller.graphicView())
{
}

const UFemGraphicViewSettings& UFemGraphicViewControllerDrawingCacheSource::viewSettings() const
{
    return controller_.viewSettings();
}

UFemDataController& UFemGraphicViewControllerDrawingCacheSource::dataController() const
{
    return controller_.dataController();
}

UFemCardVector UFemGraphicViewControllerDrawingCacheSource::currentCaseCardArray() const
{
    return controller_.windowController()->currentCaseCardArray();
}

UFemCardPtr UFemGraphicViewControllerDrawingCacheSource::currentCaseCard() const
{
    return controller_.windowController()->currentCaseCard();
}

UFemDrawingCardTypeCardArrays
UFemGraphicViewControllerDrawingCacheSource::windowCardTypeCardArrays() const
{
    UFemWindowCardTable& cards = controller_.windowController()->windowCardTable();
    return { &cards.elementCardArray(), &cards.nodeCardArray(), &cards.restraintCardArray(),
        &cards.forceCardArray(), &cards.coordCardArray() };
}

double UFemGraphicViewControllerDrawingCacheSource::objectLength() const
{
    return controller_.camera().objectLength();
}

quint64 UFemGraphicViewControllerDrawingCacheSource::foregroundTaskThreadCount() const
{
    return UFemForegroundTaskThreadCountOfDataController(controller_.dataController());
}

// Only a frame that waited for the data asks for the redraw.
void UFemGraphicViewControllerDrawingCacheSource::cardValueDataDidFinish()
{
    if (!controller_.isRedisplayRequiredWhenCalculationDone())
        return;
    UMainThread::perform(
        [view = view_] {
            if (view)
                view->update();
        },
        false);
}
