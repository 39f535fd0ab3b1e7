#pragma once

#include "QStringPrinting.h"

#include "foundation/errors/UError.h"
#include "foundation/errors/UException.h"

#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Runs `operation` and checks that it raises the program error of that name and reason.
inline void expectUException(
    const std::function<void()>& operation, const QString& name, const QString& reason)
{
    try {
        operation();
        ADD_FAILURE() << "no exception, expected " << reason.toStdString();
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), name);
        EXPECT_EQ(exception.reason(), reason);
    }
}

inline void expectProgramError(const std::function<void()>& operation, const QString& reason)
{
    expectUException(operation, UFemProgramErrorExceptionName, reason);
}

inline void expectCardClassProgramError(
    const std::function<void()>& operation, const QString& reason)
{
    expectUException(operation, UFemCardClassProgramErrorExceptionName, reason);
}

// The error's code and its recovery suggestion, the text that names the card types.
inline void expectError(const UErrorPtr& error, qint64 code, const QString& description)
{
    ASSERT_TRUE(error) << "expected error " << code;
    EXPECT_EQ(error->code(), code);
    EXPECT_EQ(error->localizedDescription(), description);
}
