#include "graphicview/UFemGraphicViewController.h"

#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemWindowCardTable.h"

#include <QKeyEvent>

#include <algorithm>

#include <cmath>

namespace {

// The flags of Shift and above; Caps Lock does not count.
constexpr Qt::KeyboardModifiers significantModifiers = Qt::ShiftModifier | Qt::ControlModifier
    | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier;
// Shift or Ctrl extends the selection instead of replacing it.
constexpr Qt::KeyboardModifiers extendingModifiers = Qt::ShiftModifier | Qt::ControlModifier;

Qt::KeyboardModifiers significantModifiersOf(Qt::KeyboardModifiers modifiers)
{
    return modifiers & significantModifiers;
}

// The pick mask of a letter key held down, 0 for other keys.
quint64 pickMaskOfKey(int key)
{
    switch (key) {
    case Qt::Key_E:
        return 1;
    case Qt::Key_N:
        return 2;
    case Qt::Key_R:
        return 4;
    case Qt::Key_F:
        return 8;
    case Qt::Key_C:
        return 16;
    default:
        return 0;
    }
}

} // namespace

// A tip never waits for the select geometry to be built (a fraction of a second on a large
// model after an edit): it is built on the hit writer's thread, and the view asks again then.
std::optional<QString> UFemGraphicViewController::toolTipStringWithViewPoint(QPointF viewPoint)
{
    const quint64 pickMask = currentPressedKeyPickMaskCardTypeIndexes_;
    if (!picker_->isSelectGeometryReady(pickMask)) {
        if (graphicViewOutlet_ != nullptr)
            picker_->prepareSelectGeometry(
                pickMask, [view = graphicViewOutlet_.data()] { redisplayToolTipLaterOf(view); });
        return std::nullopt;
    }
    const UFemCardPtr card = cardAtViewPoint(viewPoint, pickMask);
    if (card == nullptr)
        return std::nullopt;
    return card->toolTipString();
}

void UFemGraphicViewController::redisplayToolTipLater()
{
    if (graphicViewOutlet_ != nullptr)
        redisplayToolTipLaterOf(graphicViewOutlet_);
}

// From any thread; the call is dropped with the view.
void UFemGraphicViewController::redisplayToolTipLaterOf(UFemGraphicView* view)
{
    QMetaObject::invokeMethod(
        view, [view] { view->redisplayToolTipWindow(); }, Qt::QueuedConnection);
}

UFemCardPtr UFemGraphicViewController::cardAtViewPoint(QPointF point, quint64 pickMask)
{
    return picker_->cardAtViewPoint(point, pickMask);
}

UFemCardPtr UFemGraphicViewController::cardInViewRect(const QRectF& rect, quint64 pickMask)
{
    return picker_->cardInViewRect(rect, pickMask);
}

quint64 UFemGraphicViewController::hitObjectNameInViewRect(const QRectF& rect, quint64 pickMask)
{
    return picker_->hitObjectNameInViewRect(rect, pickMask);
}

void UFemGraphicViewController::clearRubberband()
{
    rubberbandCardIndexTableCalcThreadTaskContext_->clearAll_shouldNotRunning();
    doesDrawRubberbandCard_ = false;
    doesDrawRubberbandRect_ = false;
    rubberbandRect_ = QRectF();
    rubberbandPickMaskCardTypeIndexes_ = 0;
    doesAddSelectedCardFromRubberbandCard_ = false;
}

void UFemGraphicViewController::ufemGraphicViewMouseDown(
    UFemGraphicView&, const UFemGraphicViewMouseEvent& event)
{
    applyAndCloseCardStringFieldEditor();
    mouseClickCount_ = event.clickCount;
    mouseLocationOnMouseDown_ = event.locationInView;
    lastDragLocation_ = event.locationInView;
    modifierFlagsOnMouseDown_ = significantModifiersOf(event.modifiers);
    isMouseDragging_ = false;
    doesDrawRubberbandCard_ = false;
    doesDrawRubberbandRect_ = false;
    rubberbandRect_ = QRectF();
    doesAddSelectedCardFromRubberbandCard_ = false;
    if (mouseClickCount_ == 1 && objectMoveMode_ == objectMoveModePointer
        && !(modifierFlagsOnMouseDown_ & extendingModifiers))
        windowController()->clearSelectedCardArray();
}

// The band spans from the mouse-down point to `to`, both corners included.
void UFemGraphicViewController::setRubberband(QPointF from, QPointF to, bool isDragging)
{
    rubberbandRect_ = QRectF(std::min(from.x(), to.x()), std::min(from.y(), to.y()),
        std::abs(to.x() - from.x()) + 1, std::abs(to.y() - from.y()) + 1);
    doesDrawRubberbandCard_ = true;
    doesDrawRubberbandRect_ = isDragging;
    rubberbandPickMaskCardTypeIndexes_ = currentPressedKeyPickMaskCardTypeIndexes_;
    doesAddSelectedCardFromRubberbandCard_ = !isDragging;
    reloadGraphicView();
}

// The drag modes move the camera; the y of view points already points up.
void UFemGraphicViewController::ufemGraphicViewMouseDragged(
    UFemGraphicView&, const UFemGraphicViewMouseEvent& event)
{
    isMouseDragging_ = true;
    if (mouseClickCount_ != 1)
        return;
    if (objectMoveMode_ == objectMoveModePointer) {
        setRubberband(mouseLocationOnMouseDown_, event.locationInView, true);
        return;
    }
    const QPointF delta = event.locationInView - lastDragLocation_;
    lastDragLocation_ = event.locationInView;
    if (updateEyeAndObjectLocationWithObjectMoveMode(objectMoveMode_, delta.x(), delta.y()))
        reloadGraphicView();
}

void UFemGraphicViewController::ufemGraphicViewMouseUp(
    UFemGraphicView&, const UFemGraphicViewMouseEvent& event)
{
    const bool wasDragging = isMouseDragging_;
    isMouseDragging_ = false;
    redisplayOutdatedToolTipUnlessDragging();
    if (mouseClickCount_ == 2) {
        openEditorOnCardAtViewPoint(mouseLocationOnMouseDown_);
        return;
    }
    if (mouseClickCount_ != 1)
        return;
    if (objectMoveMode_ != objectMoveModePointer) {
        const QPointF delta = event.locationInView - lastDragLocation_;
        lastDragLocation_ = event.locationInView;
        if (updateEyeAndObjectLocationWithObjectMoveMode(objectMoveMode_, delta.x(), delta.y()))
            reloadGraphicView();
    } else if (wasDragging) {
        setRubberband(mouseLocationOnMouseDown_, event.locationInView, false);
    } else {
        toggleSelectionOfCardAtViewPoint(event.locationInView);
    }
}

void UFemGraphicViewController::toggleSelectionOfCardAtViewPoint(QPointF point)
{
    const UFemCardPtr card = cardAtViewPoint(point, currentPressedKeyPickMaskCardTypeIndexes_);
    if (card != nullptr) {
        UFemWindowController& window = *windowController();
        const UFemCardVector& selected = window.unsortedSelectedCardArray();
        if (std::find(selected.begin(), selected.end(), card) != selected.end())
            window.removeCardFromSelectedCardArray(card);
        else
            window.addCardToSelectedCardArray(card);
    }
    reloadGraphicView();
}

// The whole text line of the card under the point, or no editor at all.
void UFemGraphicViewController::openEditorOnCardAtViewPoint(QPointF point)
{
    const UFemCardPtr card = cardAtViewPoint(point, currentPressedKeyPickMaskCardTypeIndexes_);
    UErrorPtr error;
    if (card == nullptr) {
        if (!deselectSearchCardStringRange(&error))
            presentError(error);
        return;
    }
    const quint64 row = windowCardTable().indexOfCard(card);
    const quint64 length = quint64(UFemCardString(*card).size());
    if (!selectSearchCardStringRange({ row, 0, row, length }, &error))
        presentError(error);
}

bool UFemGraphicViewController::ufemMainViewKeyDown(UFemGraphicView&, QKeyEvent& event)
{
    const bool hasModifiers = significantModifiersOf(event.modifiers()) != Qt::NoModifier;
    if (event.key() == Qt::Key_Escape) {
        if (hasModifiers)
            return false;
        windowController()->clearSelectedCardArray();
        return true;
    }
    const quint64 mask = pickMaskOfKey(event.key());
    if (hasModifiers || mask == 0)
        return false;
    currentPressedKeyPickMaskCardTypeIndexes_ = mask;
    return true;
}

// X11 repeats a held key as release and press pairs: those releases keep the mask.
bool UFemGraphicViewController::ufemMainViewKeyUp(UFemGraphicView&, QKeyEvent& event)
{
    if (significantModifiersOf(event.modifiers()) != Qt::NoModifier
        || pickMaskOfKey(event.key()) == 0)
        return false;
    if (!event.isAutoRepeat())
        currentPressedKeyPickMaskCardTypeIndexes_ = allPickMaskCardTypeIndexes;
    return true;
}
