#include "calculation/results/UFemResultDataManagerImpl.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/data/UFemDataController.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr quint64 textCapacity = 256;
constexpr quint64 valuesPerTriple = 3;
constexpr quint64 valuesPerNode = 6;

QStringList namesOfCards(const UFemCardArray& cards)
{
    QStringList names;
    names.reserve(qsizetype(cards.count()));
    for (const UFemCardPtr& card : cards)
        names.append(card->cardNameString().value_or(QString()));
    return names;
}

} // namespace

UFemResultDataManagerImpl::UFemResultDataManagerImpl(const UFemResultDataModelNames& modelNames)
{
    const quint64 caseCount = quint64(modelNames.caseCardNameStringArray.size());
    if (quint64(modelNames.caseRestraintCardNameStringArrayOfCases.size()) != caseCount)
        UFemRaiseProgramError(QStringLiteral("Each case needs one restraint name."));
    contents_.modelText = modelNames.modelText;
    contents_.nodeNameStringArray = modelNames.nodeCardNameStringArray;
    contents_.caseNameStringArray = modelNames.caseCardNameStringArray;
    for (const QString& restraintName : modelNames.caseRestraintCardNameStringArrayOfCases) {
        if (!contents_.caseRestraintNameStringArray.contains(restraintName))
            contents_.caseRestraintNameStringArray.append(restraintName);
    }
    const quint64 nodeValueCount = valuesPerNode * nodeCount();
    contents_.caseInfoRecordTable.resize(caseCount);
    for (quint64 caseNo = 0; caseNo < caseCount; ++caseNo) {
        _UFemResultDataCaseInfoRecord& record = contents_.caseInfoRecordTable[caseNo];
        record.caseRestraintIndex = quint64(contents_.caseRestraintNameStringArray.indexOf(
            modelNames.caseRestraintCardNameStringArrayOfCases[caseNo]));
        record.location = nodeValueCount * caseNo;
        record.length = nodeValueCount;
    }
    contents_.nodeInfoRecordTable.resize(2 * nodeCount() * caseRestraintCount());
    contents_.displacementValueTable.assign(
        nodeValueCount * caseCount, std::numeric_limits<double>::quiet_NaN());
}

UFemResultDataManagerImpl::UFemResultDataManagerImpl(
    UFemResultDataContents contents, UErrorPtr calculationError, bool canSynchronize)
    : contents_(std::move(contents))
    , calculationError_(std::move(calculationError))
    , canSynchronize_(canSynchronize)
    , isDisplacementValueTableCompressed_(true)
{
}

std::shared_ptr<UFemResultDataManagerImpl> UFemResultDataManagerImpl::createWithDataController(
    UFemDataController& dataController,
    const std::function<const UFemCardName*(const UFemCard& caseCard)>& restraintCardNameOfCaseCard)
{
    UFemResultDataModelNames names;
    names.modelText = dataController.modelTextOfAllCards();
    names.nodeCardNameStringArray = namesOfCards(dataController.nodeCardArray());
    const UFemCardArray& caseCards = dataController.caseCardArray();
    names.caseCardNameStringArray = namesOfCards(caseCards);
    for (const UFemCardPtr& caseCard : caseCards) {
        const UFemCardName* restraintName = restraintCardNameOfCaseCard(*caseCard);
        names.caseRestraintCardNameStringArrayOfCases.append(
            restraintName != nullptr ? restraintName->cardNameString() : QString());
    }
    return std::make_shared<UFemResultDataManagerImpl>(names);
}

void UFemResultDataManagerImpl::setProjectTitleString(
    const std::optional<QString>& projectTitleString,
    const std::optional<QString>& projectVersionString,
    const std::optional<QString>& projectCommentString)
{
    contents_.projectTitleString = projectTitleString;
    contents_.projectVersionString = projectVersionString;
    contents_.projectCommentString = projectCommentString;
}

void UFemResultDataManagerImpl::setCalculationInfoString(const QString& calculationInfoString)
{
    contents_.calculationInfoString = calculationInfoString;
}

void UFemResultDataManagerImpl::appendLine(std::optional<QString>& text, const QString& string)
{
    if (!text) {
        text.emplace();
        text->reserve(textCapacity);
    }
    text->append(string);
    text->append(u'\n');
}

void UFemResultDataManagerImpl::appendCalculationLogString(const QString& string)
{
    appendLine(contents_.calculationLogString, string);
}

void UFemResultDataManagerImpl::appendCalculationErrorString(const QString& string)
{
    appendLine(contents_.calculationErrorString, string);
}

// The restraint set of the first case; every case number must be a case.
quint64 UFemResultDataManagerImpl::restraintIndexOfCases(
    const std::vector<quint64>& caseNoIndexSet) const
{
    for (const quint64 caseNo : caseNoIndexSet) {
        if (caseNo >= caseCount())
            UFemRaiseProgramError(QStringLiteral("Invalid caseNo."));
    }
    return contents_.caseInfoRecordTable[caseNoIndexSet.front()].caseRestraintIndex;
}

void UFemResultDataManagerImpl::resetNodeRecordsOfRestraint(
    quint64 restraintIndex, const _UFemNode3DOFState* nodeDOFStateTable)
{
    const quint64 tripleCount = 2 * nodeCount();
    _UFemResultDataNodeInfoRecord* records
        = contents_.nodeInfoRecordTable.data() + tripleCount * restraintIndex;
    for (quint64 t = 0; t < tripleCount; ++t) {
        records[t].displacementValueIndex = UFemResultDataNotCalculated;
        records[t].nodeDOFState
            = nodeDOFStateTable != nullptr ? nodeDOFStateTable[t] : _UFemNode3DOFState {};
    }
}

bool UFemResultDataManagerImpl::addResultDataWithNodeDOFStateTable(
    const _UFemNode3DOFState* nodeDOFStateTable, const double* displacementValueTable,
    const quint64* combNodeNoTable, quint64 count, const std::vector<quint64>& caseNoIndexSet,
    UErrorPtr*)
{
    if (caseNoIndexSet.empty())
        return true;
    const quint64 restraintIndex = restraintIndexOfCases(caseNoIndexSet);
    const quint64 tripleCount = 2 * nodeCount();
    if (count > tripleCount)
        UFemRaiseProgramError(QStringLiteral("Too many calculated DOF triples."));
    resetNodeRecordsOfRestraint(restraintIndex, nodeDOFStateTable);
    _UFemResultDataNodeInfoRecord* records
        = contents_.nodeInfoRecordTable.data() + tripleCount * restraintIndex;
    for (quint64 j = 0; j < count; ++j) {
        if (combNodeNoTable[j] >= tripleCount)
            UFemRaiseProgramError(QStringLiteral("Invalid combNodeNo."));
        records[combNodeNoTable[j]].displacementValueIndex = j;
    }
    const quint64 caseSetCount = caseNoIndexSet.size();
    for (quint64 m = 0; m < caseSetCount; ++m) {
        _UFemResultDataCaseInfoRecord& caseRecord
            = contents_.caseInfoRecordTable[caseNoIndexSet[m]];
        double* target = contents_.displacementValueTable.data() + caseRecord.location;
        for (quint64 j = 0; j < count; ++j) {
            const double* source
                = displacementValueTable + (j * caseSetCount + m) * valuesPerTriple;
            std::copy(source, source + valuesPerTriple, target + j * valuesPerTriple);
        }
        caseRecord.length = valuesPerTriple * count;
    }
    return true;
}

bool UFemResultDataManagerImpl::addResultDataWithCalculationErrorString(
    const QString& calculationErrorString, const _UFemNode3DOFState* nodeDOFStateTable,
    const std::vector<quint64>& caseNoIndexSet, UErrorPtr*)
{
    if (caseNoIndexSet.empty())
        return true;
    const quint64 restraintIndex = restraintIndexOfCases(caseNoIndexSet);
    contents_.eachCalculationErrorStringHolderArray.append(calculationErrorString);
    const quint64 errorNumber = quint64(contents_.eachCalculationErrorStringHolderArray.size());
    resetNodeRecordsOfRestraint(restraintIndex, nodeDOFStateTable);
    QString caseList;
    for (const quint64 caseNo : caseNoIndexSet) {
        caseList += contents_.caseNameStringArray[qsizetype(caseNo)] + QStringLiteral(", ");
        _UFemResultDataCaseInfoRecord& caseRecord = contents_.caseInfoRecordTable[caseNo];
        caseRecord.calculationErrorNumber = errorNumber;
        caseRecord.length = 0;
    }
    appendCalculationErrorString(
        ULocalizedFormattedString("Error on Cases: %@\n  %@\n", caseList, calculationErrorString));
    return true;
}

bool UFemResultDataManagerImpl::finalizeAddResultData(UErrorPtr*)
{
    std::vector<double>& values = contents_.displacementValueTable;
    quint64 offset = 0;
    for (_UFemResultDataCaseInfoRecord& caseRecord : contents_.caseInfoRecordTable) {
        // Every case starts at or after the running offset, so a forward copy is safe.
        std::copy(values.begin() + qsizetype(caseRecord.location),
            values.begin() + qsizetype(caseRecord.location + caseRecord.length),
            values.begin() + qsizetype(offset));
        caseRecord.location = offset;
        offset += caseRecord.length;
    }
    values.resize(offset);
    values.shrink_to_fit();
    isDisplacementValueTableCompressed_ = true;
    if (contents_.calculationErrorString)
        calculationError_ = UFemCalculationInResultDataFailedError_withCalculationErrorString(
            *contents_.calculationErrorString);
    canSynchronize_ = true;
    return true;
}

// Zeros for a triple that was not calculated, or whose record or values the tables lack (only an
// incomplete result can lack them).
void UFemResultDataManagerImpl::getTriple(double* values, quint8* states,
    const _UFemResultDataCaseInfoRecord& caseRecord, quint64 recordIndex) const
{
    std::fill(values, values + valuesPerTriple, 0.0);
    if (recordIndex >= contents_.nodeInfoRecordTable.size()) {
        if (states != nullptr)
            std::fill(states, states + valuesPerTriple, quint8(0));
        return;
    }
    const _UFemResultDataNodeInfoRecord& record = contents_.nodeInfoRecordTable[recordIndex];
    if (states != nullptr)
        std::copy(record.nodeDOFState.state.begin(),
            record.nodeDOFState.state.begin() + valuesPerTriple, states);
    const quint64 index = record.displacementValueIndex;
    if (index == UFemResultDataNotCalculated || index >= caseRecord.length / valuesPerTriple
        || caseRecord.location > contents_.displacementValueTable.size()
        || caseRecord.length > contents_.displacementValueTable.size() - caseRecord.location)
        return;
    const double* source
        = contents_.displacementValueTable.data() + caseRecord.location + valuesPerTriple * index;
    std::copy(source, source + valuesPerTriple, values);
}

bool UFemResultDataManagerImpl::getNodeDisplacement(double* nodeDisplacement, quint8* nodeDOFState,
    quint64 nodeNo, quint64 rotationIndexSet, quint64 caseNo,
    std::optional<QString>* calculationErrorString, UErrorPtr*) const
{
    if (nodeNo >= nodeCount())
        UFemRaiseProgramError(QStringLiteral("Invalid nodeNo."));
    if (caseNo >= caseCount() || caseNo >= contents_.caseInfoRecordTable.size())
        UFemRaiseProgramError(QStringLiteral("Invalid caseNo."));
    const _UFemResultDataCaseInfoRecord& caseRecord = contents_.caseInfoRecordTable[caseNo];
    if (calculationErrorString != nullptr) {
        const quint64 errorNumber = caseRecord.calculationErrorNumber;
        const QStringList& holder = contents_.eachCalculationErrorStringHolderArray;
        *calculationErrorString = errorNumber > 0 && errorNumber <= quint64(holder.size())
            ? std::optional<QString>(holder[qsizetype(errorNumber - 1)])
            : std::nullopt;
    }
    const quint64 firstRecord = 2 * nodeCount() * caseRecord.caseRestraintIndex + 2 * nodeNo;
    quint64 filled = 0;
    for (quint64 rotation = 0; rotation < 2; ++rotation) {
        if ((rotationIndexSet & (quint64(1) << rotation)) == 0)
            continue;
        getTriple(nodeDisplacement + filled,
            nodeDOFState != nullptr ? nodeDOFState + filled : nullptr, caseRecord,
            firstRecord + rotation);
        filled += valuesPerTriple;
    }
    return true;
}
