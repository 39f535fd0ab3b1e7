#include "ShellTestSupport.h"

#include "appkit/WindowTracker.h"
#include "documents/document/UFemProjectFile.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// How the program opens the window, and where its alert comes.
enum class Opening {
    // Model > Check Model on a model with a card that cannot run: the window listing the card,
    // then the alert.
    CheckModel,
    // Model > Check Model on a sound model (the alert), then Window > New Window.
    NewWindow,
    // A project whose model file is missing: the project's window, then the alert.
    Project,
};

enum class Closing { OkButton, ReturnKey, EscapeKey, CloseButton };

QByteArray rodExample()
{
    QFile file(QStringLiteral(VANTREL_EXAMPLES_DIR "/rod-truss.vtmodel"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The open alert, closed as the user may close it.
void closeAlert(Closing closing)
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    if (closing == Closing::OkButton) {
        box->buttons().front()->click();
    } else if (closing == Closing::CloseButton) {
        box->close();
    } else {
        QKeyEvent press(QEvent::KeyPress,
            closing == Closing::ReturnKey ? Qt::Key_Return : Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &press);
    }
    ASSERT_FALSE(box->isVisible());
}

QWidget* lastWindowOf(const ShellHarness& harness, const QString& name)
{
    UFemDocument* document = harness.documentAt(harness.homePath(name));
    return document == nullptr ? nullptr : document->windowControllers().back()->window();
}

// Opens the model's window and makes it the active one, as the user's last click would.
void openActiveModelWindow(ShellHarness& harness, const QString& name)
{
    harness.shell->openFiles({ harness.homePath(name) });
    QWidget* window = lastWindowOf(harness, name);
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    finishEventTurn();
    ASSERT_EQ(QApplication::activeWindow(), window);
}

// Opens the window as `opening` says; an alert that comes after it is left open.
QWidget* openWindow(ShellHarness& harness, Opening opening, Closing closing)
{
    const QString model = opening == Opening::CheckModel ? QStringLiteral("Errors.vtmodel")
                                                         : QStringLiteral("Rod.vtmodel");
    openActiveModelWindow(harness, model);
    if (opening == Opening::Project) {
        harness.shell->openFiles({ harness.homePath(QStringLiteral("P.vtproj")) });
        return lastWindowOf(harness, QStringLiteral("P.vtproj"));
    }
    harness.item(QStringLiteral("checkToRunCalculation:"))->trigger();
    if (opening == Opening::NewWindow) {
        finishEventTurn();
        closeAlert(closing);
        finishEventTurn();
        harness.item(QStringLiteral("makeNewWindow:"))->trigger();
    }
    EXPECT_EQ(harness.documentAt(harness.homePath(model))->windowControllers().size(), 2u);
    return lastWindowOf(harness, model);
}

} // namespace

// Runs with real alerts: the offscreen platform activates what the program asks to activate, so
// the active window after the event loop has turned is the one the program left in front.
TEST(CheckModelWindowInFront, AWindowOpenedForTheUserIsActiveWhicheverWayTheAlertClosed)
{
    const std::pair<Opening, const char*> openings[] = { { Opening::CheckModel, "Check Model" },
        { Opening::NewWindow, "New Window" }, { Opening::Project, "project" } };
    const std::pair<Closing, const char*> closings[]
        = { { Closing::OkButton, "OK" }, { Closing::ReturnKey, "Return" },
              { Closing::EscapeKey, "Esc" }, { Closing::CloseButton, "close button" } };
    UFemProjectFileContents project;
    project.projectModelFilePathString = QStringLiteral("Missing.vtmodel");
    project.projectDoesLoadModelDataAuto = true;
    for (const auto& [opening, openingName] : openings) {
        for (const auto& [closing, closingName] : closings) {
            SCOPED_TRACE(std::string(openingName) + ", alert closed by " + closingName);
            ShellHarness harness;
            harness.sheets.showsAlertSheets = true;
            harness.writeHomeFile(QStringLiteral("Rod.vtmodel"), rodExample());
            harness.writeHomeFile(QStringLiteral("Errors.vtmodel"),
                rodExample() + "ShellProp , SP , Steel , 0.1 ,\nRod , R4 , SP , N1 , N2 ,\n");
            harness.writeHomeFile(QStringLiteral("P.vtproj"), UFemProjectFileData(project));
            harness.shell->start();

            QWidget* opened = openWindow(harness, opening, closing);
            ASSERT_NE(opened, nullptr);
            finishEventTurn();
            if (opening != Opening::NewWindow)
                closeAlert(closing);
            finishEventTurn();

            ASSERT_EQ(harness.sheets.alerts.size(), 1u);
            if (opening == Opening::CheckModel) {
                EXPECT_EQ(harness.sheets.alerts.front().messageText,
                    QStringLiteral("( Error to Run ) Some cards has error to run."));
            }
            EXPECT_EQ(QApplication::activeWindow(), opened);
            const WindowTracker& tracker = harness.shell->windowTracker();
            ASSERT_NE(tracker.mainWindowController(), nullptr);
            EXPECT_EQ(tracker.mainWindowController()->window(), opened);
            EXPECT_EQ(tracker.orderedWindowControllers().front()->window(), opened);
        }
    }
}
