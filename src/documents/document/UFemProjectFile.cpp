#include "documents/document/UFemProjectFile.h"

#include "foundation/UFemConstants.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "platform/KeyedArchive.h"

#include <cmath>

namespace {

const QString DataTypeKey = QStringLiteral("UFemDataTypeString");
const QString MinimumVersionStringKey
    = QStringLiteral("UFemMinimumApplicationVersionStringForDataType");
const QString MinimumVersionNumberKey
    = QStringLiteral("UFemMinimumApplicationVersionNumberForDataType");
const QString CreatorVersionStringKey = QStringLiteral("UFemDataCreatorApplicationVersionString");
const QString CreatorVersionNumberKey = QStringLiteral("UFemDataCreatorApplicationVersionNumber");
const QString TitleKey = QStringLiteral("projectTitleString");
const QString VersionKey = QStringLiteral("projectVersionString");
const QString CommentKey = QStringLiteral("projectCommentString");
const QString ModelPathKey = QStringLiteral("projectModelFilePathString");
const QString ModelAutoKey = QStringLiteral("projectDoesLoadModelDataAuto");
const QString ResultPathKey = QStringLiteral("projectResultFilePathString");
const QString ResultAutoKey = QStringLiteral("projectDoesLoadResultDataAuto");
const QString PreferencesKey = QStringLiteral("projectPreferencesDictionary");

const QString ProjectDataType = QStringLiteral("UFemProjectDocument");
const QString MinimumVersionString = QStringLiteral("0.8");
const QString& CreatorVersionString = UFemProgramVersionString;
// Named in the version message of old files that did not store the string.
const QString UnstatedMinimumVersionString = QStringLiteral("0.8 (or 0.8.0.1)");

// An absent value keeps its key, referring to no object, as the platform's archiver writes nil.
template <typename Value>
void encodeOptional(KeyedArchive& archive, const std::optional<Value>& value, const QString& key)
{
    archive.encodeObject(value ? QVariant::fromValue(*value) : QVariant(), key);
}

// An absent entry, or one referring to no object or to the null object, is no value.
bool isAbsent(const QVariant& value)
{
    return !value.isValid() || value.metaType().id() == QMetaType::Nullptr;
}

// A value of the kind `Value` at the key, or none; false for a value of another kind.
template <typename Value>
bool decodeOptional(const KeyedArchive& archive, const QString& key, std::optional<Value>& out)
{
    const QVariant value = archive.decodeObjectForKey(key);
    out.reset();
    if (isAbsent(value))
        return true;
    if (value.metaType() != QMetaType::fromType<Value>())
        return false;
    out = value.value<Value>();
    return true;
}

// A version number that is text or not finite says nothing of the version a file needs.
bool isAbsentOrFiniteNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    case QMetaType::Double:
        return std::isfinite(value.toDouble());
    default:
        return isAbsent(value);
    }
}

// A flag stored as a number, or as text the way the platform reads text as a flag ("YES",
// "true", a digit other than 0 at its start, after blanks).
bool decodeFlag(const KeyedArchive& archive, const QString& key)
{
    const QVariant value = archive.decodeObjectForKey(key);
    if (value.typeId() != QMetaType::QString)
        return archive.decodeBoolForKey(key);
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    return QStringLiteral("YyTt").contains(first) || (first >= u'1' && first <= u'9');
}

bool decodeFields(const KeyedArchive& archive, UFemProjectFileContents& contents)
{
    if (!decodeOptional(archive, TitleKey, contents.projectTitleString)
        || !decodeOptional(archive, VersionKey, contents.projectVersionString)
        || !decodeOptional(archive, CommentKey, contents.projectCommentString)
        || !decodeOptional(archive, ModelPathKey, contents.projectModelFilePathString))
        return false;
    contents.projectDoesLoadModelDataAuto = decodeFlag(archive, ModelAutoKey);
    if (!decodeOptional(archive, ResultPathKey, contents.projectResultFilePathString))
        return false;
    contents.projectDoesLoadResultDataAuto = decodeFlag(archive, ResultAutoKey);
    return decodeOptional(archive, PreferencesKey, contents.projectPreferencesDictionary);
}

} // namespace

QByteArray UFemProjectFileData(const UFemProjectFileContents& contents)
{
    KeyedArchive archive;
    archive.encodeObject(ProjectDataType, DataTypeKey);
    archive.encodeObject(MinimumVersionString, MinimumVersionStringKey);
    archive.encodeInteger(UFemProjectFileMinimumVersionNumber, MinimumVersionNumberKey);
    archive.encodeObject(CreatorVersionString, CreatorVersionStringKey);
    archive.encodeInteger(UFemProjectFileCreatorVersionNumber, CreatorVersionNumberKey);
    encodeOptional(archive, contents.projectTitleString, TitleKey);
    encodeOptional(archive, contents.projectVersionString, VersionKey);
    encodeOptional(archive, contents.projectCommentString, CommentKey);
    encodeOptional(archive, contents.projectModelFilePathString, ModelPathKey);
    archive.encodeBool(contents.projectDoesLoadModelDataAuto, ModelAutoKey);
    encodeOptional(archive, contents.projectResultFilePathString, ResultPathKey);
    archive.encodeBool(contents.projectDoesLoadResultDataAuto, ResultAutoKey);
    encodeOptional(archive, contents.projectPreferencesDictionary, PreferencesKey);
    return archive.data();
}

std::optional<UFemProjectFileContents> UFemReadProjectFileData(
    const QByteArray& data, UErrorPtr* error)
{
    const std::optional<KeyedArchive> archive = KeyedArchive::fromData(data);
    if (!archive) {
        UFemSetError(error, UFemUnknownProjectFileTypeError());
        return std::nullopt;
    }
    std::optional<QString> dataType;
    std::optional<QString> minimumVersionString;
    if (!decodeOptional(*archive, DataTypeKey, dataType) || dataType != ProjectDataType
        || !decodeOptional(*archive, MinimumVersionStringKey, minimumVersionString)
        || !isAbsentOrFiniteNumber(archive->decodeObjectForKey(MinimumVersionNumberKey))) {
        UFemSetError(error, UFemUnknownProjectFileTypeError());
        return std::nullopt;
    }
    if (archive->decodeIntegerForKey(MinimumVersionNumberKey)
        > UFemProjectFileCreatorVersionNumber) {
        UFemSetError(error,
            UFemUnreadableNewProjectFileVersionError_withMinAppVersionStringRequired(
                minimumVersionString.value_or(UnstatedMinimumVersionString)));
        return std::nullopt;
    }
    UFemProjectFileContents contents;
    if (!decodeFields(*archive, contents)) {
        UFemSetError(error, UFemUnknownProjectFileTypeError());
        return std::nullopt;
    }
    return contents;
}
