#pragma once

#include "cardmodel/data/UFemClipboardCardValueManager.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "foundation/errors/UError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The bits of a rotation index set: which DOF triples of a node a displacement query fills,
// translations first.
inline constexpr quint64 UFemRotationIndexSetTranslation = 1;
inline constexpr quint64 UFemRotationIndexSetRotation = 2;
inline constexpr quint64 UFemRotationIndexSetBoth = 3;

// The results of one calculation, as the model sees them. The result data implement it; a data
// controller holds at most one. A complete result is never changed again and may be read from
// several threads at once.
class UFemResultDataManager {
public:
    virtual ~UFemResultDataManager() = default;

    // Texts: nullopt when the result carries none.
    virtual std::optional<QString> projectTitleString() const = 0;
    virtual std::optional<QString> projectVersionString() const = 0;
    virtual std::optional<QString> projectCommentString() const = 0;
    // The model text the results were calculated from.
    virtual std::optional<QString> modelText() const = 0;
    virtual std::optional<QString> calculationInfoString() const = 0;
    virtual std::optional<QString> calculationLogString() const = 0;
    // The collected errors of the restraint sets that failed.
    virtual std::optional<QString> calculationErrorString() const = 0;
    // The error of the calculation that produced them; nullptr when it succeeded.
    virtual UErrorPtr calculationError() const = 0;
    // Whether their node and case name lists can be matched to the model's Node and Case cards.
    virtual bool canSynchronizeNodeNoAndCaseNoWithModelData() const = 0;

    virtual quint64 nodeCount() const = 0;
    virtual quint64 caseCount() const = 0;
    // The names in number order: node number n is the Node card named nodeCardNameStringArray()[n].
    virtual QStringList nodeCardNameStringArray() const = 0;
    virtual QStringList caseCardNameStringArray() const = 0;
    virtual QStringList caseRestraintCardNameStringArray() const = 0;

    // The displacements of node `nodeNo` in case `caseNo`: three doubles for each triple selected
    // by `rotationIndexSet` (translations, then rotations), and as many state bytes
    // (_UFemNode3DOFState values) into `nodeDOFState` when given. A triple that was not calculated
    // reads as zeros with its states. `calculationErrorString`, when given, receives the error text
    // of the case's failed restraint set, nullopt when it succeeded. Numbers at or above the counts
    // are a program error. Reports no error; returns true.
    [[nodiscard]] virtual bool getNodeDisplacement(double* nodeDisplacement, quint8* nodeDOFState,
        quint64 nodeNo, quint64 rotationIndexSet, quint64 caseNo,
        std::optional<QString>* calculationErrorString, UErrorPtr* error) const = 0;
    [[nodiscard]] bool getNodeDisplacement(double* nodeDisplacement, quint64 nodeNo,
        quint64 rotationIndexSet, quint64 caseNo, std::optional<QString>* calculationErrorString,
        UErrorPtr* error) const
    {
        return getNodeDisplacement(nodeDisplacement, nullptr, nodeNo, rotationIndexSet, caseNo,
            calculationErrorString, error);
    }

    // The results as result-file data; nullopt with the error when they cannot be written.
    [[nodiscard]] virtual std::optional<QByteArray> resultFileData(UErrorPtr* error) const = 0;
};

// Card values pasted from the clipboard, shown like result values.
class UFemResultDataManager_ClipboardCardValue : public UFemClipboardCardValueManager {
public:
    // Reads the pasted values; on failure keeps nothing and gives the error.
    [[nodiscard]] virtual bool loadClipboardCardValueWithClipboardCardValueString(
        const QString& clipboardCardValueString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error)
        = 0;
};
