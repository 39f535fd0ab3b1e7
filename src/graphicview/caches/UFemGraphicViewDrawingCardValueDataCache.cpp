#include "graphicview/caches/UFemGraphicViewDrawingCardValueDataCache.h"

#include "foundation/errors/UException.h"

#include <new>

namespace {

constexpr double capacityGrowth = 1.2;
constexpr quint64 capacityAddition = 256;

} // namespace

UFemGraphicViewDrawingCardValueDataCache::UFemGraphicViewDrawingCardValueDataCache()
{
    extendDrawingCardValueDataTableArray.reserve(initialExtendStoreArrayCapacity);
}

void UFemGraphicViewDrawingCardValueDataCache::reserve(quint64 count)
{
    if (count <= capacity_)
        return;
    free();
    const auto capacity = quint64(double(count) * capacityGrowth + double(capacityAddition));
    try {
        cardTable_ = std::make_unique_for_overwrite<UFemCard*[]>(capacity);
        cardValueDataTable_
            = std::make_unique_for_overwrite<UFemDrawingCardValueDataStruct[]>(capacity);
    } catch (const std::bad_alloc&) {
        free();
        UFemRaiseMemoryAllocationFailed();
    }
    capacity_ = capacity;
}

void UFemGraphicViewDrawingCardValueDataCache::reset()
{
    cardCount_inBaseImage = 0;
    cardCount_selectableCard = 0;
    numberOfCardValidByCardFilter = 0;
    numberOfCardRespondToValueExpression = 0;
    extendDrawingCardValueDataTableArray.clear();
}

void UFemGraphicViewDrawingCardValueDataCache::free()
{
    reset();
    cardTable_.reset();
    cardValueDataTable_.reset();
    capacity_ = 0;
}
