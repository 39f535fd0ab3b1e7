#pragma once

#include "cardmodel/card/UFemCard.h"
#include "graphics/camera/UGLDrawRectInfo.h"
#include "graphicview/UFemGraphicViewCompositor.h"
#include "graphicview/tasks/UFemRubberbandCardIndexTableCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectedCardIndexTableCalcThreadTaskContext.h"

#include <QPointF>
#include <QRectF>

#include <functional>

class UFemGraphicViewController;

// Finds what lies under the mouse of the 3-D view: the hit writer draws the pickable records of a
// small rectangle in select mode on its own thread while the main thread reads the hits.
// It also keeps the two card index lists of the selection layer: the selected cards and the cards
// a rubber band adds.
class UFemGraphicViewPicker final
    : public UFemSelectBufferHitObjectWritingThreadTaskContext::Delegate,
      public UFemSelectedCardIndexTableCalcThreadTaskContext::Delegate,
      public UFemRubberbandCardIndexTableCalcThreadTaskContext::Delegate {
public:
    static constexpr quint64 noHitObjectName = ~quint64(0);
    // A point picks in the 4 x 4 square around it.
    static constexpr double pickPointRadius = 2.0;
    static constexpr quint64 selectionBufferWordsPerCard = 4;

    explicit UFemGraphicViewPicker(UFemGraphicViewController& controller);

    // The name (a card index of the card value data cache) of the nearest hit; on equal depths
    // the first hit written. None while a frame waits for its data, and when the pass was
    // canceled or failed.
    quint64 hitObjectNameInViewRect(const QRectF& rect, quint64 pickMask);
    UFemCardPtr cardInViewRect(const QRectF& rect, quint64 pickMask);
    UFemCardPtr cardAtViewPoint(QPointF point, quint64 pickMask);
    // Waits out a pass in progress, then clears and starts the hit writer over `rect` with room
    // for `cardCount` cards; false when the start was canceled. `onDrawn` runs on the writer's
    // thread when its pass ends drawn. Without depth, hits may carry none (see the writer).
    bool startHitWriter(const QRectF& rect, quint64 pickMask, quint64 cardCount,
        std::function<void()> onDrawn = {}, bool isHitDepthNeeded = true);
    // Before a camera change, on the main thread: a tip's pass that builds select geometry for
    // the old camera is canceled and ends at its next check, without marking any geometry valid;
    // another pass (a band's) is waited for. A canceled tip never comes unless asked for again.
    void outdatePass();
    // True when a pick over `pickMask` would find its data and select geometry built, so that
    // it waits for nothing but its own small pass.
    bool isSelectGeometryReady(quint64 pickMask) const;
    // Builds the select geometry of `pickMask` on the hit writer's thread, unless a build runs;
    // `onReady` runs on that thread once it is built.
    void prepareSelectGeometry(quint64 pickMask, std::function<void()> onReady);

    // Starts the selected-card list of the set unless it is ready; false when canceled.
    bool startSelectedCardIndexTable(const UFemCardSet& selectedCardSet);
    // Starts the hit writer over the band and the rubber-band list; when updating, the list's
    // worker hands the old selection plus the new cards to the manager under the prepared
    // change identifier, which it returns. A canceled start finishes the hand-over with the old
    // set and answers 0.
    quint64 startUpdateRubberbandCardIndexTable(const QRectF& rect, quint64 pickMask,
        bool doesUpdateSelectedCard, quint64 changeIdentifier, const UFemCardSet& selectedCardSet);

    // See UFemGraphicViewCompositor::setSelectGeometryBuiltObserver.
    void setSelectGeometryBuiltObserver(std::function<void(quint64 record)> observer)
    {
        compositor_.setSelectGeometryBuiltObserver(std::move(observer));
    }

    bool runSelectBufferHitObjectWritingWithThreadContext(UThreadContext& threadContext) override;
    bool runSelectedCardIndexTableCalcWithThreadContext(UThreadContext& threadContext) override;
    bool runRubberbandCardIndexTableCalcWithThreadContext(UThreadContext& threadContext) override;

private:
    UFemGraphicViewController& controller_;
    UFemSelectBufferHitObjectWritingThreadTaskContext& hitWriter_;
    UFemSelectedCardIndexTableCalcThreadTaskContext& selectedTask_;
    UFemRubberbandCardIndexTableCalcThreadTaskContext& rubberbandTask_;
    UFemGraphicViewCompositor compositor_;
    // Written and read only by the hit writer's pass.
    UFemGraphicViewCompositor::SelectGeometries selectGeometries_;
    // Taken on the main thread for the writer's pass.
    UGLDrawRectInfo drawRectInfo_;
    quint64 threadCount_ = 1;
    // Set on the main thread before the writer starts, read by its pass.
    std::function<void()> onDrawn_;
    bool isPreparingSelectGeometry_ = false;
};
