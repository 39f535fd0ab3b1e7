#include "foundation/UFemNumberText.h"

#include "foundation/UFormattedString.h"

#include <mutex>

namespace {

// Errors are made on worker threads too, so the hook is read under a lock.
std::mutex numberTextMutex;
std::function<QString(double)> numberTextFunction;

} // namespace

void UFemSetNumberTextFunction(std::function<QString(double)> function)
{
    const std::lock_guard lock(numberTextMutex);
    numberTextFunction = std::move(function);
}

QString UFemNumberText(double value)
{
    std::function<QString(double)> function;
    {
        const std::lock_guard lock(numberTextMutex);
        function = numberTextFunction;
    }
    return function ? function(value) : UFormattedString("%g", value);
}
