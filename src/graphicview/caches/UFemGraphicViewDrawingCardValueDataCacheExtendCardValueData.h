#pragma once

#include <QtGlobal>

#include <memory>

// A bump store of doubles for the node and value tables that do not fit inline in a card's entry.
// A store made for a request always holds that request.
class UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData {
public:
    static constexpr quint64 minimumCapacity = 100000;

    // max(capacity, 100000) doubles; allocation failure raises the memory-allocation error.
    explicit UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData(quint64 capacity);

    // The next `count` slots, or null when fewer remain.
    double* doubleDataPtrWithNumberOfDouble(quint64 count);

    quint64 capacity() const { return capacity_; }
    quint64 count() const { return count_; }

private:
    quint64 capacity_;
    quint64 count_ = 0;
    std::unique_ptr<double[]> table_;
};
