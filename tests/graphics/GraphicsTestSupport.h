#pragma once

#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <functional>

// The name and reason of the UException that `action` raises; fails the test when none is raised.
inline std::pair<QString, QString> raisedException(const std::function<void()>& action)
{
    try {
        action();
    } catch (const UException& exception) {
        return { exception.name(), exception.reason() };
    }
    ADD_FAILURE() << "no exception raised";
    return {};
}

// The description of an unexpected error (code 81004) made with `text`.
inline QString unexpectedErrorText(const char* text)
{
    return QStringLiteral("Unexpected error occurred. ") + QString::fromUtf8(text);
}
