#pragma once

#include <chrono>
#include <thread>

// Polls `done` for at most `budget` before a caller goes to sleep on a condition. A thread whose
// neighbour publishes within a few microseconds then neither sleeps nor needs waking: on a virtual
// machine each sleep and wake-up costs a system call and an interrupt to a halted processor.
// `done` must read only atomics, for no lock is held while it spins. No budget: done() once.
template <class Predicate> bool USpinUntil(Predicate done, std::chrono::nanoseconds budget)
{
    constexpr int PollsPerClockRead = 64;
    if (budget <= std::chrono::nanoseconds::zero())
        return done();
    const auto deadline = std::chrono::steady_clock::now() + budget;
    for (;;) {
        for (int poll = 0; poll < PollsPerClockRead; ++poll) {
            if (done())
                return true;
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#else
            std::this_thread::yield();
#endif
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return done();
    }
}

// Takes `mutex`, trying it for at most `budget` before sleeping on it: a lock held for a few
// microseconds is then taken without a system call, and its holder leaves it without one.
template <class Mutex> void ULockPolling(Mutex& mutex, std::chrono::nanoseconds budget)
{
    if (!USpinUntil([&] { return mutex.try_lock(); }, budget))
        mutex.lock();
}
