#include "documents/document/UFemProjectFilePath.h"

#include "foundation/errors/UFemErrorsFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString Home = QStringLiteral("~");
} // namespace

bool UFemIsProjectFilePathValid(const QString& path, const QString& extension)
{
    if (path.size() <= extension.size() + 1)
        return false;
    const QString lastComponent = path.section(u'/', -1);
    const qsizetype dot = lastComponent.lastIndexOf(u'.');
    return dot >= 0 && lastComponent.mid(dot + 1) == extension;
}

QString UFemStandardizedFilePath(const QString& path)
{
    QString expanded = path;
    if (path == Home || path.startsWith(Home + u'/'))
        expanded = QDir::homePath() + path.mid(Home.size());
    return QDir::cleanPath(expanded);
}

std::optional<QString> UFemResolvedProjectFilePath(
    const QString& path, const QString& projectFilePath, UErrorPtr* error)
{
    const QString standardized = UFemStandardizedFilePath(path);
    const bool relative = QDir::isRelativePath(standardized);
    if (standardized.contains(QChar(0)) || (relative && projectFilePath.isEmpty())) {
        UFemSetError(error, UFemFilePathStringError_withFilePathString(standardized));
        return std::nullopt;
    }
    if (!relative)
        return standardized;
    return QDir::cleanPath(QFileInfo(projectFilePath).absoluteDir().filePath(standardized));
}

QString UFemAbbreviatedFilePath(const QString& path)
{
    const QString home = QDir::homePath();
    if (path == home)
        return Home;
    if (path.startsWith(home + u'/'))
        return Home + path.mid(home.size());
    return path;
}
