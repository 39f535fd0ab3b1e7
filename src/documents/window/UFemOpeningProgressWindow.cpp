#include "documents/window/UFemOpeningProgressWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr int windowWidth = 360;
constexpr int progressSteps = 1000;
constexpr unsigned long exposurePollMilliseconds = 5;
constexpr qint64 longestExposureWaitMilliseconds = 500;

} // namespace

UFemOpeningProgressWindow::UFemOpeningProgressWindow(const QString& fileName)
    : QWidget(nullptr, Qt::Dialog)
{
    setWindowTitle(QStringLiteral("Opening"));
    setFixedWidth(windowWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Opening \u201C%1\u201D\u2026").arg(fileName)));
    bar_ = new QProgressBar;
    bar_->setRange(0, 0);
    layout->addWidget(bar_);
}

void UFemOpeningProgressWindow::showFractionRead(double fraction)
{
    bar_->setRange(0, progressSteps);
    bar_->setValue(int(fraction * progressSteps));
    // The main thread is busy reading: paint now.
    repaint();
}

void UFemOpeningProgressWindow::showPainted()
{
    show();
    raise();
    // The window system maps the window a moment later: a paint before that is lost. Windows
    // shown just before (the start window) are painted meanwhile too, not left black.
    QElapsedTimer waited;
    waited.start();
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (windowHandle() != nullptr && windowHandle()->isExposed())
            break;
        QThread::msleep(exposurePollMilliseconds);
    } while (waited.elapsed() < longestExposureWaitMilliseconds);
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
