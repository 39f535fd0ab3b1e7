#include "graphicview/tasks/UFemGraphicViewDrawingCardIndexList.h"

#include "foundation/errors/UException.h"

#include <new>

namespace {

constexpr quint64 capacityAddition = 256;

} // namespace

void UFemGraphicViewDrawingCardIndexList::growToCapacity(quint64 capacity)
{
    if (capacity <= cardIndexTable_.size())
        return;
    cardIndexTable_.clear();
    try {
        cardIndexTable_ = std::vector<quint64>(capacity * 5 / 4 + capacityAddition);
    } catch (const std::bad_alloc&) {
        UFemRaiseMemoryAllocationFailed();
    }
}

void UFemGraphicViewDrawingCardIndexList::clear()
{
    isValid_ = false;
    cardIndexCount_ = 0;
}
