#pragma once

#include "foundation/errors/UError.h"

#include <QStringList>

#include <optional>

// Errors of starting, running and loading calculations (21xxx). Both 21099 errors report a
// cancelled calculation (UError::isUFemCalculationCanceledError).

UErrorPtr UFemResultDataAlreadyExistError();
UErrorPtr UFemCanNotCalculateResultDocumentError();
UErrorPtr UFemDocumentNowCalculatingError();
UErrorPtr UFemCheckToRunCalculationSomeErrorCardExistError();
UErrorPtr UFemCheckToRunCalculationCardHasErrorToRunError();
UErrorPtr UFemCheckToRunCalculationNoCaseError();
UErrorPtr UFemCheckToRunCalculationNoElementError();
UErrorPtr UFemCheckToRunCalculationNoCardRegisteredForCardNameError_withCardNameStringArray(
    const QStringList& cardNameStringArray);
UErrorPtr UFemSeveralRestraintExistForSameDegreeOfFreedomError_withDegreeOfFreedomInfoString(
    const QString& degreeOfFreedomInfoString);
UErrorPtr UFemRestraintEquationDegreeOfFreedomLoopedError();
UErrorPtr UFemCalculationFailedWhileSetupError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion);
// `direction6` indexes TX, TY, TZ, RX, RY, RZ.
UErrorPtr UFemCalculationFailedWhileSetupError_withDescription(const QString& description,
    const std::optional<QString>& recoverySuggestion, const QString& nodeNameString,
    quint64 direction6);
UErrorPtr UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
    const QString& calculationErrorString);
UErrorPtr UFemCalculationInResultDataFailedError_withCalculationErrorString(
    const QString& calculationErrorString);
// The calculation error's texts go into the new error; it is not kept as underlying error.
UErrorPtr UFemCalculationInResultDataFailedError_withCalculationError(
    const UErrorPtr& calculationError);
UErrorPtr UFemLoadingResultDataError_withDescriptionString(const QString& descriptionString);
// `descriptionStringArray` must not be empty.
UErrorPtr UFemLoadingResultDataError_withDescriptionStringArray(
    const QStringList& descriptionStringArray);
UErrorPtr UFemCalculationCanceledError();
UErrorPtr UFemCalculationCanceledError_withDocumentNameString(const QString& documentNameString);

// A calculation error text as the errors show it: at most 200 UTF-16 units, then " ...". The cut
// never splits a surrogate pair.
QString UFemShortenedCalculationErrorString(const QString& calculationErrorString);
