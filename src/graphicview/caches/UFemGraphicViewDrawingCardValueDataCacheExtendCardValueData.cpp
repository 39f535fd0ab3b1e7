#include "graphicview/caches/UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData.h"

#include "foundation/errors/UException.h"

#include <algorithm>
#include <new>

UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData::
    UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData(quint64 capacity)
    : capacity_(std::max(capacity, minimumCapacity))
{
    try {
        table_ = std::make_unique_for_overwrite<double[]>(capacity_);
    } catch (const std::bad_alloc&) {
        UFemRaiseMemoryAllocationFailed();
    }
}

double*
UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData::doubleDataPtrWithNumberOfDouble(
    quint64 count)
{
    // A request may fill the store to its last slot.
    if (count > capacity_ - count_)
        return nullptr;
    double* nextSlots = table_.get() + count_;
    count_ += count;
    return nextSlots;
}
