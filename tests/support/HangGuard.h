#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

// Ends the process when the guarded code has not returned by the deadline: a hang fails the
// test instead of blocking the run.
class HangGuard {
public:
    explicit HangGuard(const char* what, std::chrono::seconds deadline = std::chrono::seconds(60))
        : watcher_([this, what, deadline] {
            if (done_.get_future().wait_for(deadline) == std::future_status::ready)
                return;
            std::fprintf(stderr, "%s did not end\n", what);
            std::_Exit(EXIT_FAILURE);
        })
    {
    }
    ~HangGuard()
    {
        done_.set_value();
        watcher_.join();
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    std::promise<void> done_;
    std::thread watcher_;
};
