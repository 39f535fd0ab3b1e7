#pragma once

#include <QWidget>

class QProgressBar;

// A small window that stands while a large file is read on the main thread: shown and painted
// before the read starts, so that the user sees the program at work instead of an unpainted
// window, busy until the reader tells how far it is, and closed when its owner lets it go.
class UFemOpeningProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit UFemOpeningProgressWindow(const QString& fileName);

    // Shows the window and paints it, with every window waiting for its first paint, before
    // returning; input stays queued.
    void showPainted();
    // Shows the share of the file read (0 to 1) at once.
    void showFractionRead(double fraction);

private:
    QProgressBar* bar_;
};
