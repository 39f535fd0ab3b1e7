#pragma once

#include "calculation/results/UFemResultDataRecords.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "foundation/strings/UFormattedString.h"

#include <functional>
#include <memory>

class UFemCard;
class UFemCardName;
class UFemDataController;

// The names of the model a calculation starts from: one restraint-set name per case card, in
// case order (the restraint sets are the distinct names in order of first use).
struct UFemResultDataModelNames {
    QString modelText;
    QStringList nodeCardNameStringArray;
    QStringList caseCardNameStringArray;
    QStringList caseRestraintCardNameStringArrayOfCases;
};

// The results of one calculation: built on the calculation thread (the names, then the results
// of each restraint set in turn, then finalizeAddResultData), complete from then on and read
// without locks from any thread. Read from a result file it is complete, or carries the reading
// error and is never matched to a model.
class UFemResultDataManagerImpl final : public UFemResultDataManager {
public:
    // Tables for every node and case, no triple calculated, every value a quiet NaN.
    explicit UFemResultDataManagerImpl(const UFemResultDataModelNames& modelNames);
    // As read from a file; complete when `canSynchronize`.
    UFemResultDataManagerImpl(
        UFemResultDataContents contents, UErrorPtr calculationError, bool canSynchronize);
    // Reads result-file data (see UFemResultFileReader).
    [[nodiscard]] static std::shared_ptr<UFemResultDataManagerImpl> initWithResultFileData(
        const QByteArray& resultFileData, UErrorPtr* readingResultDataError, UErrorPtr* error);
    // The names of the controller's Node and Case cards; `restraintCardNameOfCaseCard` gives a case
    // card's restraint name.
    static std::shared_ptr<UFemResultDataManagerImpl> createWithDataController(
        UFemDataController& dataController,
        const std::function<const UFemCardName*(const UFemCard& caseCard)>&
            restraintCardNameOfCaseCard);

    // ---- Building (calculation thread)
    // Nullopt arguments leave the text absent.
    void setProjectTitleString(const std::optional<QString>& projectTitleString,
        const std::optional<QString>& projectVersionString,
        const std::optional<QString>& projectCommentString);
    void setCalculationInfoString(const QString& calculationInfoString);
    // Append the text and a line feed.
    void appendCalculationLogString(const QString& string);
    void appendCalculationErrorString(const QString& string);
    template <typename... Arguments>
    void appendCalculationLogStringWithFormat(const char* format, const Arguments&... arguments)
    {
        appendCalculationLogString(ULocalizedFormattedString(format, arguments...));
    }
    template <typename... Arguments>
    void appendCalculationErrorStringWithFormat(const char* format, const Arguments&... arguments)
    {
        appendCalculationErrorString(ULocalizedFormattedString(format, arguments...));
    }
    // The results of one restraint set for its cases (ascending case numbers): 2 x nodeCount
    // states by triple, `count` calculated triples (combNodeNo = 2 x node + rotation) whose value
    // for case m of the set and direction d is displacementValueTable[(j x cases + m) x 3 + d].
    [[nodiscard]] bool addResultDataWithNodeDOFStateTable(
        const _UFemNode3DOFState* nodeDOFStateTable, const double* displacementValueTable,
        const quint64* combNodeNoTable, quint64 count, const std::vector<quint64>& caseNoIndexSet,
        UErrorPtr* error);
    // A failed restraint set: its cases get the error text and no values. The state table may be
    // null.
    [[nodiscard]] bool addResultDataWithCalculationErrorString(
        const QString& calculationErrorString, const _UFemNode3DOFState* nodeDOFStateTable,
        const std::vector<quint64>& caseNoIndexSet, UErrorPtr* error);
    // Compacts the values and completes the result.
    [[nodiscard]] bool finalizeAddResultData(UErrorPtr* error);

    // ---- UFemResultDataManager
    std::optional<QString> projectTitleString() const override
    {
        return contents_.projectTitleString;
    }
    std::optional<QString> projectVersionString() const override
    {
        return contents_.projectVersionString;
    }
    std::optional<QString> projectCommentString() const override
    {
        return contents_.projectCommentString;
    }
    std::optional<QString> modelText() const override { return contents_.modelText; }
    std::optional<QString> calculationInfoString() const override
    {
        return contents_.calculationInfoString;
    }
    std::optional<QString> calculationLogString() const override
    {
        return contents_.calculationLogString;
    }
    std::optional<QString> calculationErrorString() const override
    {
        return contents_.calculationErrorString;
    }
    UErrorPtr calculationError() const override { return calculationError_; }
    bool canSynchronizeNodeNoAndCaseNoWithModelData() const override { return canSynchronize_; }
    quint64 nodeCount() const override { return quint64(contents_.nodeNameStringArray.size()); }
    quint64 caseCount() const override { return quint64(contents_.caseNameStringArray.size()); }
    quint64 caseRestraintCount() const
    {
        return quint64(contents_.caseRestraintNameStringArray.size());
    }
    QStringList nodeCardNameStringArray() const override { return contents_.nodeNameStringArray; }
    QStringList caseCardNameStringArray() const override { return contents_.caseNameStringArray; }
    QStringList caseRestraintCardNameStringArray() const override
    {
        return contents_.caseRestraintNameStringArray;
    }
    [[nodiscard]] bool getNodeDisplacement(double* nodeDisplacement, quint8* nodeDOFState,
        quint64 nodeNo, quint64 rotationIndexSet, quint64 caseNo,
        std::optional<QString>* calculationErrorString, UErrorPtr* error) const override;
    using UFemResultDataManager::getNodeDisplacement;
    [[nodiscard]] std::optional<QByteArray> resultFileData(UErrorPtr* error) const override;

    const UFemResultDataContents& contents() const { return contents_; }
    bool isDisplacementValueTableCompressed() const { return isDisplacementValueTableCompressed_; }

private:
    static void appendLine(std::optional<QString>& text, const QString& string);
    quint64 restraintIndexOfCases(const std::vector<quint64>& caseNoIndexSet) const;
    void resetNodeRecordsOfRestraint(
        quint64 restraintIndex, const _UFemNode3DOFState* nodeDOFStateTable);
    void getTriple(double* values, quint8* states, const _UFemResultDataCaseInfoRecord& caseRecord,
        quint64 recordIndex) const;

    UFemResultDataContents contents_;
    UErrorPtr calculationError_;
    bool canSynchronize_ = false;
    bool isDisplacementValueTableCompressed_ = false;
};
