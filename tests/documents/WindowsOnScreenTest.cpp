#include "CalculationTestSupport.h"
#include "ShellTestSupport.h"

#include "appkit/WindowTracker.h"
#include "documents/calculation/UFemCalculationManager.h"
#include "documents/document/UFemProjectFile.h"
#include "documents/window/UFemWindowController.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A model with a card that stops a calculation and a project of another model, in the harness's
// home folder.
void writeWalkFiles(ShellHarness& harness)
{
    harness.writeHomeFile(QStringLiteral("M.vtmodel"), InvertedHexaModel.toUtf8());
    harness.writeHomeFile(QStringLiteral("P.vtmodel"), TwoNodeModel.toUtf8());
    UFemProjectFileContents contents;
    contents.projectModelFilePathString = QStringLiteral("P.vtmodel");
    contents.projectDoesLoadModelDataAuto = true;
    harness.writeHomeFile(QStringLiteral("P.vtproj"), UFemProjectFileData(contents));
}

UFemWindowController* firstWindowOf(UFemDocument* document)
{
    return document == nullptr || document->windowControllers().empty()
        ? nullptr
        : dynamic_cast<UFemWindowController*>(document->windowControllers().front().get());
}

} // namespace

// Runs on the offscreen screens of each test configuration (the one default screen, and a wide
// screen beside a small one): the main window is put in the far corner of each screen, and every
// window the walk opens after it must still lie wholly on that screen.
TEST(WindowsOnScreen, EveryWindowOfTheWalkOpensInsideTheMainWindowsScreen)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect available = screen->availableGeometry();
        ShellHarness harness;
        writeWalkFiles(harness);
        harness.shell->start();
        harness.shell->openFiles({ harness.homePath(QStringLiteral("M.vtmodel")) });
        UFemDocument* model = harness.documentAt(harness.homePath(QStringLiteral("M.vtmodel")));
        UFemWindowController* main = firstWindowOf(model);
        ASSERT_NE(main, nullptr);
        QWidget* mainWindow = main->window();
        const QSize mainFrame = mainWindow->frameGeometry().size();
        mainWindow->move(available.bottomRight() - QPoint(mainFrame.width(), mainFrame.height()));
        harness.shell->windowTracker().windowDidActivate(main);
        finishEventTurn();

        std::vector<QWidget*> opened;
        opened.push_back(model->makeNewWindow()->window());
        harness.item(QStringLiteral("checkToRunCalculation:"))->trigger();
        ASSERT_EQ(model->windowControllers().size(), 3u);
        opened.push_back(model->windowControllers().back()->window());
        harness.shell->openFiles({ harness.homePath(QStringLiteral("P.vtproj")) });
        opened.push_back(
            firstWindowOf(harness.documentAt(harness.homePath(QStringLiteral("P.vtproj"))))
                ->window());
        UFemCalculationManager& calculations = UFemCalculationManager::sharedCalculationManager();
        calculations.displayCalculationManagerPanel();
        finishEventTurn();

        for (QWidget* window : opened) {
            ASSERT_TRUE(window->isVisible());
            EXPECT_TRUE(available.contains(window->frameGeometry()))
                << window->windowTitle().toStdString() << " at " << window->frameGeometry().y()
                << " on " << screen->name().toStdString();
        }
        // No new window hides another where the screen has room for both.
        if (screen->availableGeometry().width() > 1000) {
            std::vector<QPoint> corners { mainWindow->frameGeometry().topLeft() };
            for (QWidget* window : opened) {
                const QPoint corner = window->frameGeometry().topLeft();
                EXPECT_EQ(std::count(corners.begin(), corners.end(), corner), 0);
                corners.push_back(corner);
            }
        }
        // A sheet stands over its window.
        QMessageBox sheet(QMessageBox::Information, QStringLiteral("Vantrel"),
            QStringLiteral("Checking model completed."), QMessageBox::Ok, mainWindow);
        sheet.setWindowModality(Qt::WindowModal);
        sheet.open();
        finishEventTurn();
        EXPECT_TRUE(mainWindow->frameGeometry().contains(sheet.frameGeometry().center()));
        sheet.close();
        // The shared panel keeps the place it first had, on whichever screen that was.
        QWidget& panel = calculations.calculationManagerPanel();
        const QScreen* panelScreen = QGuiApplication::screenAt(panel.frameGeometry().center());
        ASSERT_NE(panelScreen, nullptr);
        const QRect panelAvailable = panelScreen->availableGeometry();
        EXPECT_TRUE(panelAvailable.contains(panel.frameGeometry()));
        // Dragged a third past the screen's bottom and shown again, it comes back up onto it.
        panel.hide();
        const QRect dragged = panel.frameGeometry().translated(
            0, panelAvailable.bottom() - panel.frameGeometry().bottom() + panel.height() / 3);
        panel.move(dragged.topLeft());
        calculations.displayCalculationManagerPanel();
        finishEventTurn();
        EXPECT_EQ(panel.frameGeometry().bottom(), panelAvailable.bottom());
        EXPECT_EQ(panel.frameGeometry().left(), dragged.left());
        panel.hide();
    }
}
