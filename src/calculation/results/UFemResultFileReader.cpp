#include "calculation/results/UFemResultFileReader.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultFileContents.h"
#include "calculation/results/UFemResultFileOldFormatReader.h"
#include "calculation/results/UFemVersionString.h"
#include "foundation/buffers/UFormattedData.h"
#include "foundation/buffers/UFormattedDataCheckedView.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/strings/UFormattedString.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr quint64 valuesPerTriple = 3;

UErrorPtr missingDataError(const char* dataName)
{
    return UFemLoadingResultDataError_withDescriptionString(ULocalizedFormattedString(
        "Required Data ( %@ ) is not found.", QString::fromLatin1(dataName)));
}

UErrorPtr brokenDataError(const UFemResultFileComponent& component)
{
    return UFemLoadingResultDataError_withDescriptionString(
        ULocalizedFormattedString("Data ( %@ ) is broken.", QString::fromLatin1(component.name)));
}

// An absent or undecodable text leaves `text` absent; a container error ends the reading.
UErrorPtr readText(
    const QByteArray& data, const UFemResultFileComponent& component, std::optional<QString>& text)
{
    UErrorPtr error;
    const UFormattedDataComponentObject object
        = UFormattedDataComponentObjectWithComponentIdentifier(
            data, component.identifier, component.valueType, &error);
    if (const QString* string = std::get_if<QString>(&object))
        text = *string;
    return error;
}

UErrorPtr readNameList(const QByteArray& data, const UFemResultFileComponent& component,
    const char* dataName, QStringList& names)
{
    UErrorPtr error;
    const UFormattedDataComponentObject object
        = UFormattedDataComponentObjectWithComponentIdentifier(
            data, component.identifier, component.valueType, &error);
    if (error)
        return error;
    const QStringList* list = std::get_if<QStringList>(&object);
    if (list == nullptr)
        return missingDataError(dataName);
    // An empty area: no names (a card name is never empty).
    if (list->size() == 1 && list->front().isEmpty())
        names.clear();
    else
        names = *list;
    return nullptr;
}

// The component's bytes; `present` tells an absent component from an empty one.
UErrorPtr readBytes(const QByteArray& data, const UFemResultFileComponent& component,
    QByteArray& bytes, bool& present)
{
    UErrorPtr error;
    present = UFormattedDataComponentNameStringWithComponentIdentifier(
                  data, component.identifier, &error)
        != nullptr;
    if (error || !present)
        return error;
    getUFormattedDataComponentDataBytesWithComponentIdentifier(
        data, &bytes, component.identifier, component.valueType, &error);
    return error;
}

// `count` records of `recordSize` bytes, when that is exactly the size of `bytes`.
template <typename Record>
bool copyRecords(const QByteArray& bytes, quint64 count, std::vector<Record>& table)
{
    quint64 size = 0;
    if (__builtin_mul_overflow(count, quint64(sizeof(Record)), &size)
        || size != quint64(bytes.size()))
        return false;
    table.resize(count);
    if (size > 0)
        std::memcpy(table.data(), bytes.constData(), size);
    return true;
}

// A triple's states as a calculation writes them: each direction not calculated (0) or in one
// state, the fourth byte 0.
bool isKnownStateTriple(const _UFemNode3DOFState& triple)
{
    for (quint64 direction = 0; direction < valuesPerTriple; ++direction) {
        const quint8 state = triple.state[direction];
        if (state != 0 && state != UFemNodeDOFStateValid && state != UFemNodeDOFStateRestrained
            && state != UFemNodeDOFStateZeroStiffness)
            return false;
    }
    return triple.state[valuesPerTriple] == 0;
}

bool isRangeInside(quint64 location, quint64 length, quint64 size)
{
    return location <= size && length <= size - location;
}

} // namespace

std::shared_ptr<UFemResultDataManagerImpl> UFemResultDataManagerImpl::initWithResultFileData(
    const QByteArray& resultFileData, UErrorPtr* readingResultDataError, UErrorPtr* error)
{
    return UFemResultFileReader::read(resultFileData, readingResultDataError, error);
}

std::shared_ptr<UFemResultDataManagerImpl> UFemResultFileReader::read(
    const QByteArray& resultFileData, UErrorPtr* readingResultDataError, UErrorPtr* error)
{
    if (resultFileData.isEmpty()) {
        UFemSetError(error, UFemEmptyResultFileError());
        return nullptr;
    }
    UFemResultFileReader reader(resultFileData);
    if (!UFormattedDataCheckedView::check(resultFileData)) {
        // A damaged container is no older file, and no result file this reader knows.
        if (hasUFormattedDataMagicNumber(resultFileData)) {
            UFemSetError(error, UFemUnknownResultFileTypeError());
            return nullptr;
        }
        // An older file whose model text is known still needs to be calculated again.
        UErrorPtr oldFormatError;
        if (!UFemReadOldFormatResultFile(resultFileData, &reader.contents_, &oldFormatError)) {
            UFemSetError(error, oldFormatError);
            return nullptr;
        }
        return reader.managerWithReadingError(
            UFemUnreadableOldResultFileVersionError(), readingResultDataError);
    }
    if (UErrorPtr failure = reader.readUpToModelText()) {
        UFemSetError(error, failure);
        return nullptr;
    }
    return reader.managerAfterModelText(readingResultDataError);
}

UErrorPtr UFemResultFileReader::readUpToModelText()
{
    const std::optional<UFormattedDataCheckedView> view = UFormattedDataCheckedView::check(data_);
    char expectedName[UFormattedDataNameFieldSize] = {};
    std::strncpy(expectedName, UFemResultFileDataType, sizeof expectedName - 1);
    if (std::memcmp(view->header().dataTypeName, expectedName, sizeof expectedName) != 0)
        return UFemUnknownResultFileTypeError();
    for (const auto& [component, text] : {
             std::pair { UFemResultFileProjectTitle, &contents_.projectTitleString },
             std::pair { UFemResultFileProjectVersion, &contents_.projectVersionString },
             std::pair { UFemResultFileProjectComment, &contents_.projectCommentString },
             std::pair { UFemResultFileModelText, &contents_.modelText },
         }) {
        if (UErrorPtr error = readText(data_, component, *text))
            return error;
    }
    if (contents_.modelText)
        return nullptr;
    // A model text that is there but is no UTF-8 text is broken, not missing.
    UErrorPtr error;
    const bool present = UFormattedDataComponentNameStringWithComponentIdentifier(
                             data_, UFemResultFileModelText.identifier, &error)
        != nullptr;
    return present && !error ? brokenDataError(UFemResultFileModelText)
                             : missingDataError("ModelText");
}

UErrorPtr UFemResultFileReader::checkVersions() const
{
    const _UFormattedDataHeader header = UFormattedDataCheckedView::check(data_)->header();
    if (header.dataVersionNumber <= UFemResultFileNewestUnreadableDataVersionNumber)
        return UFemUnreadableOldResultFileVersionError();
    if (header.optionalInteger1 < UFemResultFileFirstUnreadableReaderVersionNumber)
        return nullptr;
    QString required = UFemVersionStringWithVersionNumber(header.optionalInteger1);
    // A number past every version's form names none: the file needs at least the first version
    // this reader cannot read.
    if (required.isEmpty())
        required
            = UFemVersionStringWithVersionNumber(UFemResultFileFirstUnreadableReaderVersionNumber);
    return UFemUnreadableNewResultFileVersionError_withMinAppVersionStringRequired(required);
}

UErrorPtr UFemResultFileReader::readCalculationTexts()
{
    for (const auto& [component, text] : {
             std::pair { UFemResultFileCalculationInfo, &contents_.calculationInfoString },
             std::pair { UFemResultFileCalculationLog, &contents_.calculationLogString },
             std::pair { UFemResultFileCalculationError, &contents_.calculationErrorString },
         }) {
        if (UErrorPtr error = readText(data_, component, *text))
            return error;
    }
    if (contents_.calculationErrorString)
        calculationError_ = UFemCalculationInResultDataFailedError_withCalculationErrorString(
            *contents_.calculationErrorString);
    return nullptr;
}

UErrorPtr UFemResultFileReader::readNames()
{
    if (UErrorPtr error = readNameList(
            data_, UFemResultFileNodeNames, "NodeNameArray", contents_.nodeNameStringArray))
        return error;
    if (UErrorPtr error = readNameList(
            data_, UFemResultFileCaseNames, "CaseNameArray", contents_.caseNameStringArray))
        return error;
    return readNameList(data_, UFemResultFileCaseRestraintNames, "CaseRestraintNameArray",
        contents_.caseRestraintNameStringArray);
}

UErrorPtr UFemResultFileReader::readTables()
{
    QByteArray caseBytes;
    QByteArray nodeBytes;
    QByteArray valueBytes;
    bool present = false;
    if (UErrorPtr error = readBytes(data_, UFemResultFileCaseInfoRecords, caseBytes, present))
        return error;
    if (!present)
        return missingDataError("CaseInfoRecordTable");
    if (UErrorPtr error = readBytes(data_, UFemResultFileNodeInfoRecords, nodeBytes, present))
        return error;
    if (!present)
        return missingDataError("NodeInfoRecordTable");
    if (UErrorPtr error = readBytes(data_, UFemResultFileDisplacementValues, valueBytes, present))
        return error;
    return checkTables(caseBytes, nodeBytes, valueBytes);
}

// Installs the three tables only when every count, index and range in them holds.
UErrorPtr UFemResultFileReader::checkTables(
    const QByteArray& caseBytes, const QByteArray& nodeBytes, const QByteArray& valueBytes)
{
    UFemResultDataContents tables;
    if (!copyRecords(
            caseBytes, quint64(contents_.caseNameStringArray.size()), tables.caseInfoRecordTable))
        return brokenDataError(UFemResultFileCaseInfoRecords);
    quint64 nodeRecordCount = 0;
    if (__builtin_mul_overflow(quint64(contents_.nodeNameStringArray.size()) * 2,
            quint64(contents_.caseRestraintNameStringArray.size()), &nodeRecordCount)
        || !copyRecords(nodeBytes, nodeRecordCount, tables.nodeInfoRecordTable))
        return brokenDataError(UFemResultFileNodeInfoRecords);
    if (!copyRecords(
            valueBytes, quint64(valueBytes.size()) / sizeof(double), tables.displacementValueTable))
        return brokenDataError(UFemResultFileDisplacementValues);
    const quint64 valueCount = tables.displacementValueTable.size();
    const quint64 restraintCount = quint64(contents_.caseRestraintNameStringArray.size());
    for (const _UFemResultDataCaseInfoRecord& record : tables.caseInfoRecordTable) {
        if (record.caseRestraintIndex >= restraintCount || record.length % valuesPerTriple != 0
            || !isRangeInside(record.location, record.length, valueCount))
            return brokenDataError(UFemResultFileCaseInfoRecords);
    }
    contents_.caseInfoRecordTable = std::move(tables.caseInfoRecordTable);
    contents_.nodeInfoRecordTable = std::move(tables.nodeInfoRecordTable);
    if (UErrorPtr error = checkNodeRecords()) {
        contents_.nodeInfoRecordTable.clear();
        return error;
    }
    contents_.displacementValueTable = std::move(tables.displacementValueTable);
    return nullptr;
}

// Every calculated triple must have its values in every case of its restraint set, and every
// triple known states.
UErrorPtr UFemResultFileReader::checkNodeRecords() const
{
    std::vector<quint64> tripleLimit(
        contents_.caseRestraintNameStringArray.size(), std::numeric_limits<quint64>::max());
    for (const _UFemResultDataCaseInfoRecord& record : contents_.caseInfoRecordTable) {
        quint64& limit = tripleLimit[record.caseRestraintIndex];
        limit = std::min(limit, record.length / valuesPerTriple);
    }
    const quint64 recordsPerRestraint = 2 * quint64(contents_.nodeNameStringArray.size());
    for (quint64 index = 0; index < contents_.nodeInfoRecordTable.size(); ++index) {
        const _UFemResultDataNodeInfoRecord& record = contents_.nodeInfoRecordTable[index];
        const quint64 valueIndex = record.displacementValueIndex;
        if ((valueIndex != UFemResultDataNotCalculated
                && valueIndex >= tripleLimit[index / recordsPerRestraint])
            || !isKnownStateTriple(record.nodeDOFState))
            return brokenDataError(UFemResultFileNodeInfoRecords);
    }
    return nullptr;
}

UErrorPtr UFemResultFileReader::readErrorTexts()
{
    UErrorPtr error;
    const UFormattedDataComponentObject object
        = UFormattedDataComponentObjectWithComponentIdentifier(
            data_, UFemResultFileErrorTexts.identifier, UFemResultFileErrorTexts.valueType, &error);
    if (error)
        return error;
    if (const QStringList* texts = std::get_if<QStringList>(&object))
        contents_.eachCalculationErrorStringHolderArray = *texts;
    const quint64 textCount = quint64(contents_.eachCalculationErrorStringHolderArray.size());
    for (const _UFemResultDataCaseInfoRecord& record : contents_.caseInfoRecordTable) {
        if (record.calculationErrorNumber > textCount)
            return brokenDataError(UFemResultFileCaseInfoRecords);
    }
    return nullptr;
}

std::shared_ptr<UFemResultDataManagerImpl> UFemResultFileReader::managerAfterModelText(
    UErrorPtr* readingResultDataError)
{
    UErrorPtr failure = checkVersions();
    for (const auto step :
        { &UFemResultFileReader::readCalculationTexts, &UFemResultFileReader::readNames,
            &UFemResultFileReader::readTables, &UFemResultFileReader::readErrorTexts }) {
        if (failure)
            break;
        failure = (this->*step)();
    }
    if (!failure)
        return std::make_shared<UFemResultDataManagerImpl>(
            std::move(contents_), calculationError_, true);
    return managerWithReadingError(failure, readingResultDataError);
}

// What was read, carrying the error that ended the reading; never matched to a model.
std::shared_ptr<UFemResultDataManagerImpl> UFemResultFileReader::managerWithReadingError(
    const UErrorPtr& failure, UErrorPtr* readingResultDataError)
{
    if (!contents_.calculationErrorString) {
        contents_.calculationErrorString = failure->localizedOneLineDescription();
        calculationError_ = failure;
    }
    UFemSetError(readingResultDataError, failure);
    return std::make_shared<UFemResultDataManagerImpl>(
        std::move(contents_), calculationError_, false);
}
