#pragma once

#include "foundation/errors/UError.h"

// Errors of searching card names and of the model editor's target (31xxx).

UErrorPtr UFemSearchingCardNameEmptyCardNameError();
UErrorPtr UFemSearchingCardNameCardOfCardNameNotExistError_withCardNameString(
    const QString& cardNameString);
UErrorPtr UFemSearchingCardNameCardNameNotUsedError_withCardNameString(
    const QString& cardNameString);
UErrorPtr UFemOverwritingCardCardOfCardNameAllowedHaveSomeCardError_withCardNameString(
    const QString& cardNameString);
UErrorPtr UFemModelEditorTargetDocumentNotExistError();
UErrorPtr UFemModelEditorTargetDocumentClosedError();
