#include "documents/window/UFemOpeningProgressWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

constexpr int windowWidth = 360;

} // namespace

UFemOpeningProgressWindow::UFemOpeningProgressWindow(const QString& fileName)
    : QWidget(nullptr, Qt::Dialog)
{
    setWindowTitle(QStringLiteral("Opening"));
    setFixedWidth(windowWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Opening \u201C%1\u201D\u2026").arg(fileName)));
    auto* bar = new QProgressBar;
    // The length of the read is not known ahead: a busy bar.
    bar->setRange(0, 0);
    layout->addWidget(bar);
}

void UFemOpeningProgressWindow::showPainted()
{
    show();
    raise();
    // Windows shown just before (the start window) are painted too, not left black.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}
