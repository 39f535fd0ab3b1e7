#include "documents/application/UFemStartWindow.h"

#include "documents/application/UFemMainMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

constexpr int WindowWidth = 480;
constexpr int WindowHeight = 220;
constexpr int TitlePixelSize = 28;

} // namespace

UFemStartWindow::UFemStartWindow(UFemMainMenu& mainMenu, std::function<void()> quit)
    : quit_(std::move(quit))
{
    setWindowTitle(QApplication::applicationName());
    resize(WindowWidth, WindowHeight);
    mainMenu.fillMenuBar(menuBar());

    auto* title = new QLabel(QApplication::applicationName());
    QFont font = title->font();
    font.setPixelSize(TitlePixelSize);
    font.setBold(true);
    title->setFont(font);
    auto* hint = new QLabel(tr("Open a project, model or result file with File > Open, or start "
                               "a new project or model from the File menu."));
    hint->setWordWrap(true);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addStretch();
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(hint);
    layout->addStretch();
    setCentralWidget(content);
}

void UFemStartWindow::closeEvent(QCloseEvent* event)
{
    // The program decides, after reviewing unsaved documents, whether it ends.
    event->ignore();
    if (quit_)
        quit_();
}
