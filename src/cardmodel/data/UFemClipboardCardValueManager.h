#pragma once

#include "foundation/errors/UError.h"

class UFemCard;

// Card values pasted from the clipboard, looked up by the card's name; the result data
// implements it.
class UFemClipboardCardValueManager {
public:
    virtual ~UFemClipboardCardValueManager() = default;

    // True with the value when the card's name has one; false with a not-a-number value otherwise.
    // A value that could not be read is reported through `error`.
    [[nodiscard]] virtual bool getClipboardCardValue(
        double* value, const UFemCard& card, UErrorPtr* error) const = 0;
};
