#pragma once

#include "foundation/threads/UThreadTaskContext.h"

#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

// Holds a picking pass once it has built the select geometry of one record, until released, or,
// with a writer, until the writer is asked to cancel (as a pass's own checks would see it; later
// passes then go too) or a limit of time passes (so do later ones). Set as the picker's
// select-geometry-built observer.
class SelectPassLatch {
public:
    static constexpr auto arrivalWait = std::chrono::seconds(20);
    static constexpr auto holdLimit = std::chrono::seconds(3);
    static constexpr auto cancelCheckStep = std::chrono::milliseconds(5);

    explicit SelectPassLatch(quint64 heldRecord, const UThreadTaskContext* writer = nullptr)
        : heldRecord_(heldRecord)
        , writer_(writer)
    {
    }
    // On the picking thread.
    void hold(quint64 record)
    {
        if (record != heldRecord_)
            return;
        std::unique_lock lock(mutex_);
        hasArrived_ = true;
        changed_.notify_all();
        if (writer_ == nullptr) {
            changed_.wait(lock, [this] { return isReleased_; });
            return;
        }
        const auto limit = std::chrono::steady_clock::now() + holdLimit;
        while (!isReleased_) {
            // The canceled pass goes, and so does every later one.
            if (writer_->cancelFlag()) {
                isReleased_ = true;
                return;
            }
            if (changed_.wait_until(lock, std::min(limit, nextCancelCheck()))
                    == std::cv_status::timeout
                && std::chrono::steady_clock::now() >= limit) {
                wasHeldToTheLimit_ = true;
                isReleased_ = true;
                return;
            }
        }
    }
    bool wasHeldToTheLimit()
    {
        std::lock_guard lock(mutex_);
        return wasHeldToTheLimit_;
    }
    bool waitForArrival()
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, arrivalWait, [this] { return hasArrived_; });
    }
    void release()
    {
        std::lock_guard lock(mutex_);
        isReleased_ = true;
        changed_.notify_all();
    }

private:
    static std::chrono::steady_clock::time_point nextCancelCheck()
    {
        return std::chrono::steady_clock::now() + cancelCheckStep;
    }

    const quint64 heldRecord_;
    const UThreadTaskContext* writer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool hasArrived_ = false;
    bool isReleased_ = false;
    bool wasHeldToTheLimit_ = false;
};
