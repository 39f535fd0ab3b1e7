#pragma once

#include "cardmodel/card/UFemCard.h"
#include "graphics/camera/UGLDrawRectInfo.h"
#include "graphicview/UFemGraphicViewCompositor.h"
#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"

#include <QPointF>
#include <QRectF>

class UFemGraphicViewController;

// Finds what lies under the mouse of the 3-D view: the hit writer draws the pickable records of a
// small rectangle in select mode on its own thread while the main thread reads the hits.
class UFemGraphicViewPicker final
    : public UFemSelectBufferHitObjectWritingThreadTaskContext::Delegate {
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
    // Clears and starts the hit writer over `rect` with room for `cardCount` cards; false when
    // the start was canceled.
    bool startHitWriter(const QRectF& rect, quint64 pickMask, quint64 cardCount);

    bool runSelectBufferHitObjectWritingWithThreadContext(UThreadContext& threadContext) override;

private:
    UFemGraphicViewController& controller_;
    UFemSelectBufferHitObjectWritingThreadTaskContext& hitWriter_;
    UFemGraphicViewCompositor compositor_;
    // Taken on the main thread for the writer's pass.
    UGLDrawRectInfo drawRectInfo_;
    quint64 threadCount_ = 1;
};
