#pragma once

// The private steps of a data controller that tests drive directly.

#include "cardmodel/data/UFemDataController.h"

#include <functional>

class UFemDataControllerTestPeer {
public:
    static bool checkCardIdentifierNumberLimit(
        UFemDataController& controller, quint64 cardCount, UErrorPtr* error)
    {
        return controller._checkCardIdentifierNumberLimitAndMakeWarningOrErrorWithCardCount(
            cardCount, error);
    }
    static UFemCardPtr makeCardWithCardTextColumns(UFemDataController& controller,
        UFemCardTextColumns& record, bool doesUseErrorCard, UErrorPtr* error)
    {
        return controller._makeCardWithCardTextColumns(record, doesUseErrorCard, error);
    }
    // One public edit around `change`.
    static bool runEdit(UFemDataController& controller,
        const std::function<bool(UErrorPtr*)>& change, UErrorPtr* error)
    {
        return controller.runEdit(QStringLiteral("Edit"), "Edit - Aborted by Error", change, error);
    }
};
