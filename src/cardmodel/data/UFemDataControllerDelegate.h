#pragma once

#include "foundation/errors/UError.h"

#include <QString>

#include <memory>

class UFemDataController;

// What a data controller asks of the document that owns it. The document implements it and sets
// itself as delegate; the controller does not own it.
class UFemDataControllerDelegate {
public:
    virtual ~UFemDataControllerDelegate() = default;

    // The error that words why the model is locked; nullptr leaves the controller's own lock error.
    virtual UErrorPtr modelDataLockedErrorWithDataController(
        const UFemDataController& dataController)
        = 0;
    // Shows a warning with the default button only, as a sheet on the document's window, and
    // returns without waiting for it. `alertStyle`: 0 warning, 1 informational, 2 critical.
    virtual void showCardIdentifierNumberLimitWarningAlert(
        const QString& messageText, const QString& informativeText, quint64 alertStyle)
        = 0;
};
