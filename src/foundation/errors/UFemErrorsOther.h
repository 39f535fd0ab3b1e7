#pragma once

#include "foundation/errors/UError.h"

#include <optional>

// Errors that belong to no feature: memory, "few chance" and unexpected errors (81xxx).

// Allocates nothing: one error made at start, so that a handler of std::bad_alloc can report it.
UErrorPtr UFemMallocFailedError() noexcept;
// The same refusal made before allocating, naming the memory needed and the memory available.
UErrorPtr UFemMallocFailedError_withMemoryBytes(quint64 requiredBytes, quint64 availableBytes);
// The element divider's refusal before it divides: the program goes on as it was.
UErrorPtr UFemToolElementDividerMallocFailedError_withMemoryBytes(
    quint64 requiredBytes, quint64 availableBytes);
UErrorPtr UFemFewChanceError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion);
// The base error's texts go into the new error; the base itself is not kept as underlying error.
UErrorPtr UFemFewChanceError_withDescription(
    const QString& description, const UErrorPtr& baseError);
UErrorPtr UFemUnexpectedError_withDescription(const QString& description);
UErrorPtr UFemUnexpectedError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion);
