#include "documents/application/UFemOpenGLInfoWindow.h"

#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int WindowWidth = 540;
constexpr int WindowHeight = 600;
constexpr int TextPixelSize = 12;

QString yesNo(bool flag)
{
    return flag ? QStringLiteral("YES") : QStringLiteral("NO");
}

QString rendererText(const UOpenGLGraphicProcessorInfoRecord& record, quint64 index)
{
    return QStringLiteral("( Renderer identifier: %1 )\n\nVendor: %2\nRenderer: %3\nVersion: "
                          "%4\nFramebufferObject support: %5\nPixelBuffer support: "
                          "%6\n\nExtensions:\n%7\n")
        .arg(index)
        .arg(record.venderString, record.rendererString, record.versionString,
            yesNo(record.isFrameBufferObjectSupported), yesNo(record.isPixelBufferSupported),
            record.extensionsString);
}

} // namespace

std::optional<QString> UFemOpenGLInfoWindow::rendererInfoText(
    const UGLGraphicProcessorInfoManager& catalogue, UErrorPtr* error)
{
    const quint64 count = catalogue.virtualScreenCount();
    if (count == 0) {
        if (UErrorPtr failure = catalogue.lastUpdateError()) {
            UFemSetError(error, failure);
            return std::nullopt;
        }
    }
    QString text = QStringLiteral("OpenGL Renderer count: %1\n").arg(count);
    for (quint64 index = 0; index < count; ++index) {
        UOpenGLGraphicProcessorInfoRecord record;
        if (!catalogue.getGraphicProcessorInfo(index, &record, error))
            return std::nullopt;
        text += QStringLiteral("\n\n") + rendererText(record, index);
    }
    return text;
}

std::unique_ptr<QWidget> UFemOpenGLInfoWindow::makeWindow(const QString& text)
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
    window->setWindowTitle(QObject::tr("OpenGL Renderer Info"));
    window->resize(WindowWidth, WindowHeight);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    auto* view = new QPlainTextEdit(text);
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(TextPixelSize);
    view->setFont(font);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    return window;
}
