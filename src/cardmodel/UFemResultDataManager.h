#pragma once

#include "cardmodel/UFemClipboardCardValueManager.h"
#include "cardmodel/UFemModelTextTypes.h"
#include "foundation/UError.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The results of one calculation, as the model sees them. The result data implement it; a data
// controller holds at most one.
class UFemResultDataManager {
public:
    virtual ~UFemResultDataManager() = default;

    // The model text the results were calculated from; nullopt when they carry none.
    virtual std::optional<QString> modelText() const = 0;
    // The error of the calculation that produced them; nullptr when it succeeded.
    virtual UErrorPtr calculationError() const = 0;
    // Whether their node and case name lists can be matched to the model's Node and Case cards.
    virtual bool canSynchronizeNodeNoAndCaseNoWithModelData() const = 0;
    // The results as result-file data; nullopt with the error when they cannot be written.
    virtual std::optional<QByteArray> resultFileData(UErrorPtr* error) const = 0;
};

// Card values pasted from the clipboard, shown like result values.
class UFemResultDataManager_ClipboardCardValue : public UFemClipboardCardValueManager {
public:
    // Reads the pasted values; on failure keeps nothing and gives the error.
    virtual bool loadClipboardCardValueWithClipboardCardValueString(const QString& clipboardCardValueString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error)
        = 0;
};
