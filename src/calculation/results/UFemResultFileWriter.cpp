#include "calculation/results/UFemResultFileWriter.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultFileContents.h"
#include "foundation/buffers/UFormattedData.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/files/UFemFileWriting.h"

#include <QFileInfo>

namespace {

constexpr quint64 nativeEndianType = 0;

_UFormattedDataComponent textComponent(
    const UFemResultFileComponent& component, const QString& text)
{
    _UFormattedDataComponent entry;
    entry.identifier = component.identifier;
    entry.name = component.name;
    entry.valueType = component.valueType;
    entry.string = text;
    return entry;
}

_UFormattedDataComponent namesComponent(
    const UFemResultFileComponent& component, const QStringList& names)
{
    _UFormattedDataComponent entry = textComponent(component, QString());
    entry.stringArray = names;
    return entry;
}

template <typename Record>
_UFormattedDataComponent tableComponent(
    const UFemResultFileComponent& component, const std::vector<Record>& table)
{
    _UFormattedDataComponent entry = textComponent(component, QString());
    entry.bytes = table.data();
    entry.length = table.size() * sizeof(Record);
    return entry;
}

void appendText(std::vector<_UFormattedDataComponent>& components,
    const UFemResultFileComponent& component, const std::optional<QString>& text)
{
    if (text)
        components.push_back(textComponent(component, *text));
}

std::vector<_UFormattedDataComponent> componentsOfContents(const UFemResultDataContents& contents)
{
    std::vector<_UFormattedDataComponent> components;
    appendText(components, UFemResultFileProjectTitle, contents.projectTitleString);
    appendText(components, UFemResultFileProjectVersion, contents.projectVersionString);
    appendText(components, UFemResultFileProjectComment, contents.projectCommentString);
    appendText(components, UFemResultFileModelText, contents.modelText);
    appendText(components, UFemResultFileCalculationInfo, contents.calculationInfoString);
    appendText(components, UFemResultFileCalculationLog, contents.calculationLogString);
    appendText(components, UFemResultFileCalculationError, contents.calculationErrorString);
    components.push_back(namesComponent(UFemResultFileNodeNames, contents.nodeNameStringArray));
    components.push_back(namesComponent(UFemResultFileCaseNames, contents.caseNameStringArray));
    components.push_back(
        namesComponent(UFemResultFileCaseRestraintNames, contents.caseRestraintNameStringArray));
    components.push_back(
        tableComponent(UFemResultFileCaseInfoRecords, contents.caseInfoRecordTable));
    components.push_back(
        tableComponent(UFemResultFileNodeInfoRecords, contents.nodeInfoRecordTable));
    // The whole table, which the compaction leaves ending with the last case's values.
    if (!contents.displacementValueTable.empty())
        components.push_back(
            tableComponent(UFemResultFileDisplacementValues, contents.displacementValueTable));
    if (!contents.eachCalculationErrorStringHolderArray.isEmpty())
        components.push_back(namesComponent(
            UFemResultFileErrorTexts, contents.eachCalculationErrorStringHolderArray));
    return components;
}

} // namespace

std::optional<QByteArray> UFemResultFileDataWithContents(
    const UFemResultDataContents& contents, quint64 endianType, UErrorPtr* error)
{
    const std::vector<_UFormattedDataComponent> components = componentsOfContents(contents);
    UErrorPtr writingError;
    QByteArray data = UFormattedDataWithDataTypeNameString(UFemResultFileDataType,
        UFemResultFileDataVersionNumber, endianType, UFemResultFileMinimumReaderVersionNumber, 0,
        components.data(), components.size(), &writingError);
    if (writingError) {
        UFemSetError(error, writingError);
        return std::nullopt;
    }
    return data;
}

std::optional<QByteArray> UFemResultDataManagerImpl::resultFileData(UErrorPtr* error) const
{
    return UFemResultFileDataWithContents(contents_, nativeEndianType, error);
}

bool UFemCheckResultFileCanBeWritten(const QString& filePath, UErrorPtr* error)
{
    UErrorPtr failure;
    if (UFemCheckFileCanBeWritten(filePath, &failure))
        return true;
    UFemSetError(error,
        UFemSavingResultFileFailedError_withResultFileNameString(
            QFileInfo(filePath).fileName(), failure));
    return false;
}

bool UFemWriteResultFile(
    const QString& filePath, const QByteArray& resultFileData, UErrorPtr* error)
{
    UErrorPtr failure;
    if (UFemWriteFileData(filePath, resultFileData, &failure))
        return true;
    UFemSetError(error,
        UFemSavingResultFileFailedError_withResultFileNameString(
            QFileInfo(filePath).fileName(), failure));
    return false;
}
