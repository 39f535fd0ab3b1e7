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

    // The displacements of one node in one case: with bit 1 of the rotation index set the three
    // translations, with bit 2 the three rotations (after the translations when both are set); a
    // triple that was not calculated reads as zeros. The DOF state bytes go the same way into
    // `nodeDOFState` when given, and the error text of the case's failed calculation (nullopt when
    // it succeeded) into `calculationErrorString` when given. The numbers must be below the node
    // and case counts. Reports no error.
    virtual bool getNodeDisplacement(double* nodeDisplacement, quint8* nodeDOFState, quint64 nodeNo,
        quint64 rotationIndexSet, quint64 caseNo, std::optional<QString>* calculationErrorString,
        UErrorPtr* error) const = 0;
    // The same without the states.
    virtual bool getNodeDisplacement(double* nodeDisplacement, quint64 nodeNo,
        quint64 rotationIndexSet, quint64 caseNo, std::optional<QString>* calculationErrorString,
        UErrorPtr* error) const = 0;
};

// Card values pasted from the clipboard, shown like result values.
class UFemResultDataManager_ClipboardCardValue : public UFemClipboardCardValueManager {
public:
    // Reads the pasted values; on failure keeps nothing and gives the error.
    virtual bool loadClipboardCardValueWithClipboardCardValueString(const QString& clipboardCardValueString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error)
        = 0;
};
