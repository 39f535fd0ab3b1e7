#pragma once

#include "foundation/threads/UThreadManager.h"

// Gives every request a new detached thread that ends with its job.
class UDetachedThreadManager final : public UThreadManager {
public:
    void runThreadSelector(UThreadJob job) override;

    static void detachNewThread(UThreadJob job);
};
