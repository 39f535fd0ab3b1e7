// A large file opened to be shown stands behind a painted progress window while it is read.

#include "ShellTestSupport.h"

#include "documents/document/UFemDocumentController.h"
#include "documents/window/UFemOpeningProgressWindow.h"

#include <QApplication>
#include <QEvent>

#include <gtest/gtest.h>

namespace {

// Counts the paint events the progress windows receive.
class ProgressPaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<UFemOpeningProgressWindow*>(watched))
            ++paints;
        return false;
    }
    int paints = 0;
};

std::vector<UFemOpeningProgressWindow*> progressWindows()
{
    std::vector<UFemOpeningProgressWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<UFemOpeningProgressWindow*>(widget))
            windows.push_back(window);
    return windows;
}

// The question about the old restraint card name is asked in the middle of the read.
const QString OldRestraintModel
    = QStringLiteral("Node, N1, , 0, 0, 0\nRestraintExpression, R1, N1\n");

} // namespace

TEST(OpeningProgress, aFileAtTheSizeIsReadBehindAShownPaintedWindowAndASmallerOneIsNot)
{
    ShellHarness harness;
    const QByteArray small = OldRestraintModel.toUtf8();
    const QByteArray large = "\\ a comment that makes the file larger\n" + small;
    harness.writeHomeFile(QStringLiteral("small.vtmodel"), small);
    harness.writeHomeFile(QStringLiteral("large.vtmodel"), large);
    harness.shell->documentController().setOpeningProgressFileBytes(large.size());
    ProgressPaintCounter counter;
    qApp->installEventFilter(&counter);
    std::vector<bool> shownAndPainted;
    harness.prompt.whenAsked = [&] {
        const auto windows = progressWindows();
        shownAndPainted.push_back(
            windows.size() == 1 && windows.front()->isVisible() && counter.paints > 0);
    };

    for (const QString& name :
        { QStringLiteral("small.vtmodel"), QStringLiteral("large.vtmodel") }) {
        UErrorPtr error;
        EXPECT_NE(
            harness.shell->documentController().openDocument(harness.homePath(name), true, &error),
            nullptr);
    }
    qApp->removeEventFilter(&counter);

    EXPECT_EQ(shownAndPainted, (std::vector<bool> { false, true }));
    EXPECT_TRUE(progressWindows().empty());
}
