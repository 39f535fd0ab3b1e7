// Preloaded into a child program (LD_PRELOAD), this makes its thread starts fail on demand:
// VANTREL_FAIL_THREAD_START=K makes the K-th call of pthread_create fail with EAGAIN, as when the
// system has no thread or no stack left to give; with VANTREL_FAIL_THREAD_STARTS_AFTER=1 every
// later call fails too. At exit it writes "thread starts: N" (the calls made) to the standard
// error, so that a sweep learns how many starts there are to fail.

#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

using ThreadCreate = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

std::atomic<unsigned long> callCount { 0 };

unsigned long numberInEnvironment(const char* name)
{
    const char* text = std::getenv(name);
    return text ? std::strtoul(text, nullptr, 10) : 0;
}

bool isFailing(unsigned long call)
{
    static const unsigned long failing = numberInEnvironment("VANTREL_FAIL_THREAD_START");
    static const bool failsAfter = numberInEnvironment("VANTREL_FAIL_THREAD_STARTS_AFTER") != 0;
    return failing != 0 && (call == failing || (failsAfter && call > failing));
}

__attribute__((destructor)) void reportThreadStarts()
{
    char text[64];
    const int length = std::snprintf(text, sizeof text, "thread starts: %lu\n", callCount.load());
    if (length > 0)
        static_cast<void>(::write(STDERR_FILENO, text, std::size_t(length)));
}

} // namespace

extern "C" int pthread_create(
    pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*), void* argument)
{
    // The next definition: the sanitizer's, which registers the thread, or the C library's.
    static const auto next = reinterpret_cast<ThreadCreate>(dlsym(RTLD_NEXT, "pthread_create"));
    if (isFailing(callCount.fetch_add(1) + 1))
        return EAGAIN;
    return next(thread, attributes, start, argument);
}
