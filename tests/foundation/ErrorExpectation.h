#pragma once

#include "QStringPrinting.h"

#include "foundation/errors/UError.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

// What a catalogue error must hold, entry by entry: an absent entry must be absent, not empty.
struct ErrorExpectation {
    std::string name;
    UErrorPtr error;
    qint64 code;
    std::optional<QString> description;
    std::optional<QString> failureReason;
    std::optional<QString> recoverySuggestion;
    std::optional<QString> oneLineDescription;
    std::optional<QString> shortDescription = std::nullopt;
    std::optional<QString> cardErrorDescription = std::nullopt;
    std::optional<quint64> alertStyle = UFemAlertStyleWarning;
    UErrorPtr underlyingError = nullptr;
};

inline void PrintTo(const ErrorExpectation& expectation, std::ostream* stream)
{
    *stream << expectation.name;
}

inline void expectError(const ErrorExpectation& expected)
{
    SCOPED_TRACE(expected.name);
    ASSERT_TRUE(expected.error);
    const UError& error = *expected.error;
    const UErrorUserInfo& info = error.userInfo();
    EXPECT_EQ(error.domain(), "UFemErrorDomain");
    EXPECT_EQ(error.code(), expected.code);
    EXPECT_EQ(info.description, expected.description);
    EXPECT_EQ(info.failureReason, expected.failureReason);
    EXPECT_EQ(info.recoverySuggestion, expected.recoverySuggestion);
    EXPECT_EQ(info.oneLineDescription, expected.oneLineDescription);
    EXPECT_EQ(info.shortDescription, expected.shortDescription);
    EXPECT_EQ(info.cardErrorDescription, expected.cardErrorDescription);
    EXPECT_EQ(info.alertStyle, expected.alertStyle);
    EXPECT_EQ(info.underlyingError, expected.underlyingError);
}

// A plain error of another domain, to be wrapped.
inline UErrorPtr makeBaseError(std::optional<QString> description, std::optional<QString> reason,
    std::optional<QString> suggestion, std::optional<QString> oneLine = std::nullopt)
{
    UErrorUserInfo info;
    info.description = std::move(description);
    info.failureReason = std::move(reason);
    info.recoverySuggestion = std::move(suggestion);
    info.oneLineDescription = std::move(oneLine);
    return UError::create(QStringLiteral("NSCocoaErrorDomain"), 4, info);
}
