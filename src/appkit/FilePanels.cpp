#include "appkit/FilePanels.h"

#include "foundation/errors/UFemErrorsFile.h"

#include <QDir>
#include <QFileInfo>

QString FilePanelPathWithAllowedExtension(const QString& path, const QStringList& allowedExtensions)
{
    if (allowedExtensions.isEmpty())
        return path;
    const QFileInfo chosen(path);
    const QString suffix = chosen.suffix();
    if (allowedExtensions.contains(suffix, Qt::CaseInsensitive))
        return path;
    const QString base = suffix.isEmpty() || chosen.completeBaseName().isEmpty()
        ? chosen.fileName()
        : chosen.completeBaseName();
    return chosen.dir().filePath(base + u'.' + allowedExtensions.first());
}

[[nodiscard]] std::optional<QString> FilePanelSavePath(
    const QString& path, const QStringList& allowedExtensions, UErrorPtr* error)
{
    const QString savePath = FilePanelPathWithAllowedExtension(path, allowedExtensions);
    if (savePath != path && QFileInfo::exists(savePath)) {
        UFemSetError(error, UFemFileAlreadyExistError_withFilePathString(savePath));
        return std::nullopt;
    }
    return savePath;
}
