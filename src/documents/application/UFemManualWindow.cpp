#include "documents/application/UFemManualWindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int WindowWidth = 760;
constexpr int WindowHeight = 860;

} // namespace

std::unique_ptr<QWidget> UFemManualWindow::makeWindow(const QString& markdownPath)
{
    const QFileInfo source(markdownPath);
    if (!source.isFile() || !source.isReadable())
        return nullptr;
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
    window->setWindowTitle(QObject::tr("Vantrel Users Manual"));
    window->resize(WindowWidth, WindowHeight);
    auto* view = new QTextBrowser;
    view->setObjectName(QStringLiteral("usersManualView"));
    view->setOpenExternalLinks(true);
    // Pictures are found beside the text.
    view->setSource(
        QUrl::fromLocalFile(source.absoluteFilePath()), QTextDocument::MarkdownResource);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    return window;
}
