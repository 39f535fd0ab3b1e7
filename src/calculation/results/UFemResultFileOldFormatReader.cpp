#include "calculation/results/UFemResultFileOldFormatReader.h"

#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "platform/KeyedArchive.h"

namespace {

// Files that need a newer reader than this are refused.
constexpr qint64 newestReadableVersionNumber = 801051;

std::optional<QString> textForKey(const KeyedArchive& archive, const char* key)
{
    const QVariant value = archive.decodeObjectForKey(QLatin1String(key));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

} // namespace

bool UFemReadOldFormatResultFile(
    const QByteArray& data, UFemResultDataContents* contents, UErrorPtr* error)
{
    if (data.isEmpty()) {
        UFemSetError(error, UFemEmptyResultFileError());
        return false;
    }
    const std::optional<KeyedArchive> archive = KeyedArchive::fromData(data);
    if (!archive
        || textForKey(*archive, "UFemDataTypeString")
            != QStringLiteral("UFemResultPackageDocument")) {
        UFemSetError(error, UFemUnknownResultFileTypeError());
        return false;
    }
    if (archive->decodeIntegerForKey(
            QStringLiteral("UFemMinimumApplicationVersionNumberForDataType"))
        > newestReadableVersionNumber) {
        UFemSetError(error,
            UFemUnreadableNewResultFileVersionError_withMinAppVersionStringRequired(
                textForKey(*archive, "UFemMinimumApplicationVersionStringForDataType")
                    .value_or(QStringLiteral("0.8 (or 0.8.0.1)"))));
        return false;
    }
    contents->projectTitleString = textForKey(*archive, "projectTitleString");
    contents->projectVersionString = textForKey(*archive, "projectVersionString");
    contents->projectCommentString = textForKey(*archive, "projectCommentString");
    contents->modelText = textForKey(*archive, "ModelText");
    if (!contents->modelText) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("No model data in ResultPackageDocument.")));
        return false;
    }
    return true;
}
