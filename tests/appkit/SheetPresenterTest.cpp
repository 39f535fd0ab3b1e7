#include "AppKitTestSupport.h"

#include "appkit/Alert.h"
#include "appkit/FileDialogPanels.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowFront.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

namespace {

QMessageBox* shownBox(SheetPresenter& sheets, QWidget* window)
{
    return qobject_cast<QMessageBox*>(sheets.currentSheet(window));
}

QAbstractButton* button(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* candidate : box->buttons()) {
        if (candidate->text() == title) {
            return candidate;
        }
    }
    return nullptr;
}

Alert alertWithText(const QString& text)
{
    Alert alert;
    alert.messageText = text;
    alert.buttons = { QStringLiteral("OK"), QStringLiteral("Cancel") };
    return alert;
}

} // namespace

TEST(SheetPresenterTest, TwoSheetsOnOneWindowAreShownInTurn)
{
    QWidget window;
    window.resize(300, 200);
    window.show();
    QWidget other;
    other.show();
    SheetPresenter sheets;
    QStringList ended;

    sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("first")),
        [&](int answer) { ended.append(QStringLiteral("first %1").arg(answer)); });
    sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("second")),
        [&](int answer) { ended.append(QStringLiteral("second %1").arg(answer)); });
    sheets.beginAlertSheet(&other, alertWithText(QStringLiteral("elsewhere")));

    QMessageBox* first = shownBox(sheets, &window);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("first"));
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowModality(), Qt::WindowModal);
    EXPECT_EQ(first->parentWidget(), &window);
    EXPECT_EQ(sheets.sheetCount(&window), 2);
    EXPECT_EQ(shownBox(sheets, &other)->text(), QStringLiteral("elsewhere"))
        << "another window's sheet does not wait";

    button(first, QStringLiteral("Cancel"))->click();
    EXPECT_EQ(ended, QStringList { QStringLiteral("first 1") });
    QMessageBox* second = shownBox(sheets, &window);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text(), QStringLiteral("second"));
    EXPECT_TRUE(second->isVisible());

    // A sheet asked for by a completion waits behind those already waiting.
    sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("third")));
    second->defaultButton()->click();
    EXPECT_EQ(ended, (QStringList { QStringLiteral("first 1"), QStringLiteral("second 0") }));
    EXPECT_EQ(shownBox(sheets, &window)->text(), QStringLiteral("third"));
    shownBox(sheets, &window)->reject();
    EXPECT_EQ(sheets.sheetCount(&window), 0);
    EXPECT_EQ(sheets.currentSheet(&window), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// However a sheet ends, the window brought forward by its buttons' work stays in front, else the
// window under the sheet is active again (the offscreen platform activates only on request).
TEST(SheetPresenterTest, TheFrontGoesToAWindowBroughtWhileTheSheetWasUpElseBackUnderIt)
{
    for (const bool bringsPanel : { false, true }) {
        SCOPED_TRACE(bringsPanel ? "panel brought meanwhile" : "nothing brought meanwhile");
        QWidget window;
        window.show();
        QWidget panel(nullptr, Qt::Tool);
        SheetPresenter sheets;
        sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("Start?")));
        if (bringsPanel) {
            WindowFront::bring(panel);
        }
        finishEventTurn();
        shownBox(sheets, &window)->defaultButton()->click();
        finishEventTurn();
        EXPECT_EQ(QApplication::activeWindow(), bringsPanel ? &panel : &window);
    }
}

TEST(SheetPresenterTest, CompletionsQueueBehindWaitingSheets)
{
    QWidget window;
    window.show();
    SheetPresenter sheets;
    QStringList order;
    sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("a")), [&](int) {
        order.append(QStringLiteral("a"));
        sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("c")));
    });
    sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("b")));
    shownBox(sheets, &window)->defaultButton()->click();
    EXPECT_EQ(shownBox(sheets, &window)->text(), QStringLiteral("b"));
    shownBox(sheets, &window)->defaultButton()->click();
    EXPECT_EQ(shownBox(sheets, &window)->text(), QStringLiteral("c"));
    EXPECT_EQ(order, QStringList { QStringLiteral("a") });
}

TEST(SheetPresenterTest, WindowClosedWithSheetsWaiting)
{
    SheetPresenter sheets;
    int ended = 0;
    {
        QWidget window;
        window.show();
        sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("a")), [&](int) { ++ended; });
        sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("b")), [&](int) { ++ended; });
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ended, 0);
    QWidget next;
    next.show();
    sheets.beginAlertSheet(&next, alertWithText(QStringLiteral("c")));
    EXPECT_EQ(sheets.sheetCount(&next), 1);
}

TEST(SheetPresenterTest, AlertFromErrorTakesDescriptionSuggestionAndStyle)
{
    const UErrorPtr error
        = UFemFewChanceError_withDescription(QStringLiteral("There is no text in clipboard."),
            QStringLiteral("Execute after 'Copy' Card Value Text in clipboard."));
    const Alert alert = Alert::fromError(*error);
    EXPECT_EQ(alert.messageText, QStringLiteral("There is no text in clipboard."));
    EXPECT_EQ(alert.informativeText,
        QStringLiteral("Execute after 'Copy' Card Value Text in clipboard."));
    EXPECT_EQ(alert.style, error->alertStyle());

    const auto iconFor = [](quint64 style) {
        Alert styled;
        styled.style = style;
        std::unique_ptr<QMessageBox> box(styled.makeMessageBox(nullptr));
        return box->icon();
    };
    EXPECT_EQ(iconFor(UFemAlertStyleWarning), QMessageBox::Warning);
    EXPECT_EQ(iconFor(UFemAlertStyleInformational), QMessageBox::Information);
    EXPECT_EQ(iconFor(UFemAlertStyleCritical), QMessageBox::Critical);

    std::unique_ptr<QMessageBox> box(alert.makeMessageBox(nullptr));
    EXPECT_EQ(box->text(), alert.messageText);
    EXPECT_EQ(box->informativeText(), alert.informativeText);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(box->escapeButton(), box->defaultButton());
}

TEST(SheetPresenterTest, FilePanelsWaitBehindAnAlertOnTheirWindow)
{
    QTemporaryDir folder;
    QWidget window;
    window.show();
    SheetPresenter sheets;
    FileDialogPanels panels(sheets);
    sheets.beginAlertSheet(&window, alertWithText(QStringLiteral("first")));

    SavePanelOptions save;
    save.directory = folder.path();
    save.fileName = QStringLiteral("Untitled.vtmodel");
    save.nameFieldLabel = QStringLiteral("Export As:");
    save.allowedExtensions = { QStringLiteral("vtmodel") };
    QString chosen = QStringLiteral("<none>");
    panels.beginSavePanel(&window, save, [&](const QString& path) { chosen = path; });
    QStringList opened { QStringLiteral("<none>") };
    panels.beginOpenPanel(
        &window, OpenPanelOptions(), [&](const QStringList& paths) { opened = paths; });
    EXPECT_EQ(sheets.sheetCount(&window), 3);
    shownBox(sheets, &window)->defaultButton()->click();

    auto* dialog = qobject_cast<QFileDialog*>(sheets.currentSheet(&window));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->labelText(QFileDialog::FileName), QStringLiteral("Export As:"));
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("vtmodel"));
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(QDir(dialog->directory()), QDir(folder.path()));
    dialog->selectFile(QStringLiteral("beam"));
    static_cast<QDialog*>(dialog)->accept();
    EXPECT_EQ(chosen, folder.filePath(QStringLiteral("beam.vtmodel")));

    auto* open = qobject_cast<QFileDialog*>(sheets.currentSheet(&window));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    EXPECT_TRUE(open->testOption(QFileDialog::ReadOnly)) << "no new folders unless asked";
    open->reject();
    EXPECT_TRUE(opened.isEmpty()) << "cancel chooses nothing";
    EXPECT_EQ(sheets.sheetCount(&window), 0);
}
