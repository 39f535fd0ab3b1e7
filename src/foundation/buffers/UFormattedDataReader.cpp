#include "foundation/UFemNotFound.h"
#include "foundation/buffers/UFormattedData.h"

#include "foundation/buffers/UFormattedDataCheckedView.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"

#include <QStringDecoder>

#include <cstring>

namespace {

UErrorPtr unexpectedError(const char* description)
{
    return UFemUnexpectedError_withDescription(ULocalizedString(description));
}

} // namespace

std::optional<UFormattedDataCheckedView> UFormattedDataCheckedView::checkedViewOrError(
    const QByteArray& data, UErrorPtr* error)
{
    std::optional<UFormattedDataCheckedView> view = check(data);
    if (!view)
        UFemSetError(error, unexpectedError("Unextedted File Data Version."));
    return view;
}

namespace {

quint64 indexOfIdentifier(const UFormattedDataCheckedView& view, quint64 identifier)
{
    for (quint64 index = 0; index < view.componentCount(); ++index) {
        if (view.record(index).identifier == identifier)
            return index;
    }
    return UFemNotFound;
}

quint64 indexOfName(const UFormattedDataCheckedView& view, const char* name)
{
    for (quint64 index = 0; index < view.componentCount(); ++index) {
        if (std::strcmp(view.recordNamePtr(index), name) == 0)
            return index;
    }
    return UFemNotFound;
}

// Null when the bytes are not valid UTF-8; a valid empty area gives an empty, non-null string.
QString decodedUtf8(const char* bytes, quint64 length)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes, qsizetype(length)));
    if (decoder.hasError())
        return QString();
    return text.isNull() ? QStringLiteral("") : text;
}

UFormattedDataComponentObject stringObject(const char* bytes, quint64 length, quint64 valueType)
{
    const QString text = decodedUtf8(bytes, length);
    if (text.isNull())
        return std::monostate();
    if (valueType == UFormattedDataValueTypeString)
        return text;
    return text.split(QChar(0));
}

UFormattedDataComponentObject swappedObject(const char* bytes, quint64 length, quint64 width)
{
    QByteArray buffer(qsizetype(length), '\0');
    UFormattedDataCopySwappingElements(bytes, buffer.data(), length, width);
    return buffer;
}

} // namespace

UFormattedDataRange _UFormattedDataComponentDataRangeOrGetComponentObjectPtr(const QByteArray& data,
    UFormattedDataComponentObject* componentObject, quint64 componentIdentifier, quint64 valueType,
    UErrorPtr* error)
{
    *componentObject = std::monostate();
    const std::optional<UFormattedDataCheckedView> view
        = UFormattedDataCheckedView::checkedViewOrError(data, error);
    if (!view)
        return {};
    const quint64 index = indexOfIdentifier(*view, componentIdentifier);
    if (index == UFemNotFound)
        return {};
    const _UFormattedDataComponentRecord record = view->record(index);
    if (record.valueType != valueType) {
        UFemSetError(
            error, unexpectedError("ValueType doesn't match with valueType in FormattedData."));
        return {};
    }
    const char* area = view->bytesAt(record.dataOffset);
    if (valueType == UFormattedDataValueTypeString
        || valueType == UFormattedDataValueTypeStringArray) {
        *componentObject = stringObject(area, record.dataLength, valueType);
        return {};
    }
    const quint64 width = UFormattedDataElementWidthOfValueType(valueType);
    if (view->header().endianType == UFormattedDataEndianTypeInMemoryOrder || width == 1)
        return { record.dataOffset, record.dataLength };
    if (width == 0) {
        UFemSetError(error, unexpectedError("Unexpected aFormattedDataComponent.valueType."));
        return {};
    }
    if (record.dataLength % width != 0) {
        UFemSetError(error,
            unexpectedError("Data length is not a whole number of elements in FormattedData."));
        return {};
    }
    *componentObject = swappedObject(area, record.dataLength, width);
    return {};
}

UFormattedDataComponentObject UFormattedDataComponentObjectWithComponentIdentifier(
    const QByteArray& data, quint64 componentIdentifier, quint64 valueType, UErrorPtr* error)
{
    UFormattedDataComponentObject object;
    UErrorPtr readError;
    const UFormattedDataRange range = _UFormattedDataComponentDataRangeOrGetComponentObjectPtr(
        data, &object, componentIdentifier, valueType, &readError);
    if (readError) {
        UFemSetError(error, readError);
        return std::monostate();
    }
    if (!std::holds_alternative<std::monostate>(object) || range.length == 0)
        return object;
    return QByteArray(data.constData() + range.location, qsizetype(range.length));
}

UFormattedDataComponentObject UFormattedDataComponentObjectWithComponentNameString(
    const QByteArray& data, const char* componentNameString, quint64 valueType, UErrorPtr* error)
{
    UErrorPtr lookupError;
    const quint64 identifier = UFormattedDataComponentIdentifierWithComponentNameString(
        data, componentNameString, &lookupError);
    if (lookupError) {
        UFemSetError(error, lookupError);
        return std::monostate();
    }
    if (identifier == UFemNotFound)
        return std::monostate();
    return UFormattedDataComponentObjectWithComponentIdentifier(data, identifier, valueType, error);
}

quint64 getUFormattedDataComponentDataBytesWithComponentIdentifier(const QByteArray& data,
    QByteArray* dataBytes, quint64 componentIdentifier, quint64 valueType, UErrorPtr* error)
{
    if (valueType == UFormattedDataValueTypeString
        || valueType == UFormattedDataValueTypeStringArray) {
        *dataBytes = QByteArray();
        return 0;
    }
    UFormattedDataComponentObject object;
    UErrorPtr readError;
    const UFormattedDataRange range = _UFormattedDataComponentDataRangeOrGetComponentObjectPtr(
        data, &object, componentIdentifier, valueType, &readError);
    if (readError) {
        *dataBytes = QByteArray();
        UFemSetError(error, readError);
        return 0;
    }
    if (const QByteArray* swapped = std::get_if<QByteArray>(&object)) {
        *dataBytes = *swapped;
        return quint64(swapped->size());
    }
    if (range.length == 0)
        return 0;
    *dataBytes
        = QByteArray::fromRawData(data.constData() + range.location, qsizetype(range.length));
    return range.length;
}

quint64 getUFormattedDataComponentDataBytesWithComponentNameString(const QByteArray& data,
    QByteArray* dataBytes, const char* componentNameString, quint64 valueType, UErrorPtr* error)
{
    UErrorPtr lookupError;
    const quint64 identifier = UFormattedDataComponentIdentifierWithComponentNameString(
        data, componentNameString, &lookupError);
    if (lookupError || identifier == UFemNotFound) {
        *dataBytes = QByteArray();
        if (lookupError)
            UFemSetError(error, lookupError);
        return 0;
    }
    return getUFormattedDataComponentDataBytesWithComponentIdentifier(
        data, dataBytes, identifier, valueType, error);
}

quint64 UFormattedDataComponentIdentifierWithComponentNameString(
    const QByteArray& data, const char* componentNameString, UErrorPtr* error)
{
    const std::optional<UFormattedDataCheckedView> view
        = UFormattedDataCheckedView::checkedViewOrError(data, error);
    if (!view || componentNameString == nullptr)
        return UFemNotFound;
    const quint64 index = indexOfName(*view, componentNameString);
    return index == UFemNotFound ? UFemNotFound : quint64(view->record(index).identifier);
}

const char* UFormattedDataComponentNameStringWithComponentIdentifier(
    const QByteArray& data, quint64 componentIdentifier, UErrorPtr* error)
{
    const std::optional<UFormattedDataCheckedView> view
        = UFormattedDataCheckedView::checkedViewOrError(data, error);
    if (!view)
        return nullptr;
    const quint64 index = indexOfIdentifier(*view, componentIdentifier);
    return index == UFemNotFound ? nullptr : view->recordNamePtr(index);
}

bool UFormattedDataComponentNameStringArray_error(
    const QByteArray& data, QStringList* names, UErrorPtr* error)
{
    const std::optional<UFormattedDataCheckedView> view
        = UFormattedDataCheckedView::checkedViewOrError(data, error);
    if (!view)
        return false;
    names->clear();
    for (quint64 index = 0; index < view->componentCount(); ++index)
        names->append(QString::fromUtf8(view->recordNamePtr(index)));
    return true;
}

bool getUFormattedDataComponentIdentifierTable(
    const QByteArray& data, std::vector<quint64>* identifierTable, UErrorPtr* error)
{
    const std::optional<UFormattedDataCheckedView> view
        = UFormattedDataCheckedView::checkedViewOrError(data, error);
    if (!view)
        return false;
    identifierTable->clear();
    for (quint64 index = 0; index < view->componentCount(); ++index)
        identifierTable->push_back(view->record(index).identifier);
    return true;
}
