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

// How the program opens the window, and what alert comes before it.
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

const char* nameOf(Opening opening)
{
    switch (opening) {
    case Opening::CheckModel:
        return "Check Model";
    case Opening::NewWindow:
        return "New Window";
    case Opening::Project:
        return "project";
    }
    return "";
}

const char* nameOf(Closing closing)
{
    switch (closing) {
    case Closing::OkButton:
        return "OK";
    case Closing::ReturnKey:
        return "Return";
    case Closing::EscapeKey:
        return "Esc";
    case Closing::CloseButton:
        return "close button";
    }
    return "";
}

QByteArray rodExample()
{
    QFile file(QStringLiteral(VANTREL_EXAMPLES_DIR "/rod-truss.vtmodel"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void pressKey(QWidget& widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

// The open alert, closed as the user may close it.
void closeAlert(Closing closing)
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    switch (closing) {
    case Closing::OkButton:
        box->buttons().front()->click();
        break;
    case Closing::ReturnKey:
        pressKey(*box, Qt::Key_Return);
        break;
    case Closing::EscapeKey:
        pressKey(*box, Qt::Key_Escape);
        break;
    case Closing::CloseButton:
        box->close();
        break;
    }
    ASSERT_FALSE(box->isVisible());
}

// Opens a model window and makes it the active one, as the user's last click would.
QWidget* openModelWindow(ShellHarness& harness, const QString& name)
{
    harness.shell->openFiles({ harness.homePath(name) });
    UFemDocument* document = harness.documentAt(harness.homePath(name));
    EXPECT_NE(document, nullptr);
    if (document == nullptr)
        return nullptr;
    QWidget* window = document->windowControllers().front()->window();
    window->activateWindow();
    finishEventTurn();
    EXPECT_EQ(QApplication::activeWindow(), window);
    return window;
}

// Opens the window the way `opening` names, after or before its alert; the alert is left open.
QWidget* openWindow(ShellHarness& harness, Opening opening, Closing closing)
{
    const auto documentWindows = [&harness](const QString& name) {
        return harness.documentAt(harness.homePath(name))->windowControllers().size();
    };
    switch (opening) {
    case Opening::CheckModel:
        openModelWindow(harness, QStringLiteral("Errors.vtmodel"));
        harness.item(QStringLiteral("checkToRunCalculation:"))->trigger();
        EXPECT_EQ(documentWindows(QStringLiteral("Errors.vtmodel")), 2u);
        return harness.documentAt(harness.homePath(QStringLiteral("Errors.vtmodel")))
            ->windowControllers()
            .back()
            ->window();
    case Opening::NewWindow:
        openModelWindow(harness, QStringLiteral("Rod.vtmodel"));
        harness.item(QStringLiteral("checkToRunCalculation:"))->trigger();
        finishEventTurn();
        closeAlert(closing);
        finishEventTurn();
        harness.item(QStringLiteral("makeNewWindow:"))->trigger();
        EXPECT_EQ(documentWindows(QStringLiteral("Rod.vtmodel")), 2u);
        return harness.documentAt(harness.homePath(QStringLiteral("Rod.vtmodel")))
            ->windowControllers()
            .back()
            ->window();
    case Opening::Project:
        openModelWindow(harness, QStringLiteral("Rod.vtmodel"));
        harness.shell->openFiles({ harness.homePath(QStringLiteral("P.vtproj")) });
        return harness.documentAt(harness.homePath(QStringLiteral("P.vtproj")))
            ->windowControllers()
            .front()
            ->window();
    }
    return nullptr;
}

} // namespace

// Runs with real alerts: the offscreen platform activates what the program asks to activate, so
// the active window after the event loop has turned is the one the program left in front.
TEST(CheckModelWindowInFront, AWindowOpenedForTheUserIsActiveWhicheverWayTheAlertClosed)
{
    UFemProjectFileContents project;
    project.projectModelFilePathString = QStringLiteral("Missing.vtmodel");
    project.projectDoesLoadModelDataAuto = true;
    for (Opening opening : { Opening::CheckModel, Opening::NewWindow, Opening::Project }) {
        for (Closing closing :
            { Closing::OkButton, Closing::ReturnKey, Closing::EscapeKey, Closing::CloseButton }) {
            SCOPED_TRACE(std::string(nameOf(opening)) + ", alert closed by " + nameOf(closing));
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

            EXPECT_EQ(harness.sheets.alerts.size(), 1u);
            EXPECT_EQ(QApplication::activeWindow(), opened);
            const WindowTracker& tracker = harness.shell->windowTracker();
            ASSERT_NE(tracker.mainWindowController(), nullptr);
            EXPECT_EQ(tracker.mainWindowController()->window(), opened);
            EXPECT_EQ(tracker.orderedWindowControllers().front()->window(), opened);
        }
    }
}
