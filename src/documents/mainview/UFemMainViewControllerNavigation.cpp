#include "appkit/Notifier.h"
#include "cardmodel/card/UFemCard.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/window/UFemWindowController.h"

namespace {

bool hasProblem(const UFemCard& card, bool errorCards, bool checkErrors)
{
    return (errorCards && card.isErrorCard()) || (checkErrors && card.checkErrorToRun() != nullptr);
}

// The first card with the problem in the two stretches that make one wrapped pass: forward from
// `start` to the end and then from 0, or backward from `start` to 0 and then from the end.
UFemCard* findInWrappedPass(const std::vector<UFemCard*>& cards, quint64 start, bool forward,
    bool errorCards, bool checkErrors)
{
    const quint64 count = cards.size();
    for (quint64 step = 0; step < count; ++step) {
        const quint64 index = forward ? (start + step) % count : (start + count - step) % count;
        if (hasProblem(*cards[index], errorCards, checkErrors))
            return cards[index];
    }
    return nullptr;
}

} // namespace

void UFemMainViewController::ufemMainView_fineNextErrorCard()
{
    navigateToProblemCard(true, true);
}

void UFemMainViewController::ufemMainView_findPreviousErrorCard()
{
    navigateToProblemCard(false, true);
}

void UFemMainViewController::ufemMainView_fineNextIncompleteCard()
{
    navigateToProblemCard(true, false);
}

void UFemMainViewController::ufemMainView_findPreviousIncompleteCard()
{
    navigateToProblemCard(false, false);
}

// Error cards are looked for before cards whose check fails (separate passes), or both at once.
// An empty table beeps, and an end row the table no longer has counts as no selection.
void UFemMainViewController::navigateToProblemCard(bool forward, bool separatePasses)
{
    UErrorPtr error;
    const _UFemSearchCardStringRange range = selectedSearchCardStringRange(&error);
    if (error != nullptr) {
        presentError(error);
        return;
    }
    const std::vector<UFemCard*> cards = windowCards();
    const quint64 count = cards.size();
    if (count == 0) {
        Notifier::beep();
        return;
    }
    quint64 endRow
        = range.startCardIndex == UFemRangeNotFound ? UFemRangeNotFound : range.endCardIndex;
    if (endRow != UFemRangeNotFound && endRow >= count)
        endRow = UFemRangeNotFound;
    quint64 start = 0;
    if (forward)
        start = endRow == UFemRangeNotFound || endRow == count - 1 ? 0 : endRow + 1;
    else
        start = endRow == UFemRangeNotFound || endRow == 0 ? count - 1 : endRow - 1;
    UFemCard* found = separatePasses ? findInWrappedPass(cards, start, forward, true, false)
                                     : findInWrappedPass(cards, start, forward, true, true);
    if (found == nullptr && separatePasses)
        found = findInWrappedPass(cards, start, forward, false, true);
    if (found == nullptr) {
        Notifier::beep();
        return;
    }
    selectOnlyCard(found);
}

void UFemMainViewController::selectOnlyCard(UFemCard* card)
{
    windowController()->setSelectedCardArray({ card->shared_from_this() });
    if (respondsToScrollToSelection())
        scrollToSelection();
}
