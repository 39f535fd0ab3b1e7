#include "DocumentTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/mainview/UFemInfoViewBoxView.h"
#include "documents/mainview/UFemInsidePanelTextView.h"
#include "documents/mainview/UFemMainViewControllerMaker.h"
#include "documents/mainview/UFemProjectInfoViewController.h"
#include "documents/window/UFemWindowController.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A project "Beam.vtproj" with the default fields (model "Beam.vtmodel", not there yet) and a
// window whose information view is the project info view.
struct ProjectWindow {
    ProjectWindow()
    {
        harness.writeFile(QStringLiteral("Beam.vtproj"), {});
        document = harness.open(QStringLiteral("Beam.vtproj"));
        window = static_cast<UFemWindowController*>(document->addWindowController(
            std::make_unique<UFemWindowController>(harness.tracker, UFemMakeMainViewController)));
        window->windowDidLoad();
        finishEventTurn();
        alertsBefore = harness.sheets.alerts.size();
    }

    UFemProjectInfoViewController& view() const
    {
        return dynamic_cast<UFemProjectInfoViewController&>(*window->mainViewController());
    }
    // The alerts since the window opened.
    QStringList newAlerts() const
    {
        QStringList texts;
        for (size_t index = alertsBefore; index < harness.sheets.alerts.size(); ++index)
            texts.append(harness.sheets.alerts[index].messageText);
        return texts;
    }
    void editModel() const
    {
        UErrorPtr error;
        ASSERT_EQ(document->dataController().addCardsWithModelText(
                      QStringLiteral("Node , N9 ,  , 9 , 0 , 0 ,\n"),
                      UFemColumnSeparatingCharacterTypeComma, UFemNotFound, true, &error),
            1u);
        finishEventTurn();
    }

    DocumentHarness harness;
    UFemDocument* document = nullptr;
    UFemWindowController* window = nullptr;
    size_t alertsBefore = 0;
};

void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(ProjectInfoViewTest, TheNewModelFileHoldsTheProjectAsCommentLinesAndLoads)
{
    ProjectWindow project;
    ASSERT_EQ(project.window->viewType(), UFemViewTypeInfo);
    UFemProjectInfoViewController& view = project.view();
    const auto& form = view.form();
    EXPECT_EQ(form.fileName->text(), QStringLiteral("Beam.vtproj"));
    EXPECT_EQ(form.modelPath->text(), QStringLiteral("Beam.vtmodel"));
    EXPECT_EQ(form.loadUnloadModel->text(), QStringLiteral("Load"));
    EXPECT_TRUE(form.createModelFile->isEnabled());
    EXPECT_EQ(view.minimumMainViewBoxSize(), QSize(700, 540));

    emit form.title->textEdited(QStringLiteral("Cantilever"));
    form.comment->setPlainText(QStringLiteral("First line\nSecond line\n"));
    EXPECT_EQ(project.document->projectTitleString(), QStringLiteral("Cantilever"));
    EXPECT_EQ(
        project.document->projectCommentString(), QStringLiteral("First line\nSecond line\n"));
    EXPECT_TRUE(project.document->isProjectDocumentEdited());

    form.createModelFile->click();
    EXPECT_TRUE(project.newAlerts().isEmpty()) << project.newAlerts().join('|').toStdString();
    const QString expected = QStringLiteral(
        "\\ Model File Name: Beam.vtmodel\n\n"
        "\\ Project File Name: Beam.vtproj\n\n"
        "\\ Cantilever\n\n"
        "\\ First line\n"
        "\\ Second line\n\n\n"
        "\\ Add model cards, such as nodes, elements, cases, etc. with 'ModelEditWindow' or just "
        "type.\n\n\n");
    EXPECT_EQ(
        QString::fromUtf8(project.harness.readFile(QStringLiteral("Beam.vtmodel"))), expected);
    EXPECT_TRUE(project.document->hasModelData());
    EXPECT_EQ(form.loadUnloadModel->text(), QStringLiteral("Unload"));
    EXPECT_FALSE(form.modelPath->isEnabled());
    EXPECT_FALSE(form.createModelFile->isEnabled());
}

TEST(ProjectInfoViewTest, CreatingOverAFileOrFolderShowsTheErrorAndWritesNothing)
{
    ProjectWindow project;
    const QByteArray contents = "Node , N1 ,  , 0 , 0 , 0 ,\n";
    project.harness.writeFile(QStringLiteral("there.vtmodel"), contents);
    emit project.view().form().modelPath->textEdited(QStringLiteral("there.vtmodel"));
    EXPECT_EQ(project.document->projectModelFilePathString(), QStringLiteral("there.vtmodel"));
    project.view().createModelFileButtonPushed();
    const QString there = project.harness.path(QStringLiteral("there.vtmodel"));
    EXPECT_EQ(project.newAlerts(),
        QStringList({ QStringLiteral("File '%1' already exist.").arg(there) }));
    EXPECT_EQ(project.harness.readFile(QStringLiteral("there.vtmodel")), contents);
    EXPECT_FALSE(project.document->hasModelData());

    ASSERT_TRUE(QDir(project.harness.folder.path()).mkdir(QStringLiteral("folder.vtmodel")));
    emit project.view().form().modelPath->textEdited(QStringLiteral("folder.vtmodel"));
    project.view().createModelFileButtonPushed();
    EXPECT_EQ(project.newAlerts().last(),
        QStringLiteral("Directory ( not file ) '%1' already exist.")
            .arg(project.harness.path(QStringLiteral("folder.vtmodel"))));
}

TEST(ProjectInfoViewTest, UnloadingAsksOnlyForAnEditedModelAndNeverDuringACalculation)
{
    ProjectWindow project;
    project.harness.writeFile(QStringLiteral("Beam.vtmodel"), "Node , N1 ,  , 0 , 0 , 0 ,\n");
    UFemProjectInfoViewController& view = project.view();
    view.loadUnloadModelDataButtonPushed();
    ASSERT_TRUE(project.document->hasModelData());
    EXPECT_FALSE(view.canChangeModelFilePath());

    view.loadUnloadModelDataButtonPushed();
    EXPECT_FALSE(project.document->hasModelData());
    EXPECT_TRUE(project.newAlerts().isEmpty());

    view.loadUnloadModelDataButtonPushed();
    project.editModel();
    ASSERT_TRUE(project.document->isModelDocumentEdited());
    view.loadUnloadModelDataButtonPushed();
    ASSERT_TRUE(project.harness.sheets.hasPending());
    const Alert& alert = project.harness.sheets.pendingAlert();
    EXPECT_EQ(alert.messageText, QStringLiteral("Model Document is Edited."));
    EXPECT_EQ(alert.informativeText,
        QStringLiteral("The changes on model document will be lost.\nTo save changes, push "
                       "'Cancel' here then select 'Save' from 'File' menu. Then you can unload "
                       "model document."));
    EXPECT_EQ(alert.buttons, QStringList({ "Unload Model Document", "Cancel" }));
    project.harness.sheets.answer(1);
    EXPECT_TRUE(project.document->hasModelData());

    view.loadUnloadModelDataButtonPushed();
    project.harness.sheets.answer(0);
    EXPECT_FALSE(project.document->hasModelData());
    EXPECT_EQ(view.form().loadUnloadModel->text(), QStringLiteral("Load"));

    view.loadUnloadModelDataButtonPushed();
    project.document->calculationDidStart(7);
    EXPECT_FALSE(view.canLoadUnloadModelData());
    const size_t beeps = project.harness.beeps.sounds.size();
    view.loadUnloadModelDataButtonPushed();
    EXPECT_FALSE(project.harness.sheets.hasPending());
    EXPECT_EQ(project.harness.beeps.sounds.size(), beeps + 1);
    EXPECT_TRUE(project.document->hasModelData());
}

TEST(ProjectInfoViewTest, TheFormFollowsTheDocumentOnlyWhileShown)
{
    ProjectWindow project;
    UFemProjectInfoViewController& view = project.view();
    EXPECT_TRUE(view.isRegisteredAsObserver());
    project.view().form().loadsModel->click();
    EXPECT_FALSE(project.document->projectDoesLoadModelDataAuto());
    EXPECT_EQ(view.projectDoesLoadModelDataAutoActiveState(), 0);

    project.harness.writeFile(QStringLiteral("Beam.vtmodel"), "Node , N1 ,  , 0 , 0 , 0 ,\n");
    UErrorPtr error;
    ASSERT_TRUE(project.document->loadProjectModelData(&error));
    EXPECT_EQ(view.form().loadUnloadModel->text(), QStringLiteral("Unload"));

    project.window->setViewType(UFemViewTypeCard);
    EXPECT_FALSE(view.isRegisteredAsObserver());
    project.document->unloadModelData();
    EXPECT_EQ(view.form().loadUnloadModel->text(), QStringLiteral("Unload"));
    project.window->setViewType(UFemViewTypeInfo);
    EXPECT_TRUE(view.isRegisteredAsObserver());
    EXPECT_EQ(view.form().loadUnloadModel->text(), QStringLiteral("Load"));
}

TEST(ProjectInfoViewTest, NoCardsGoHereAndUndoShowsTheDocumentTitlesButStaysOff)
{
    ProjectWindow project;
    UErrorPtr error;
    EXPECT_EQ(project.view().cardRowIndexToAddCard(&error), UFemNotFound);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Can't edit model data on Project Info View."));

    auto* box = dynamic_cast<UFemInfoViewBoxView*>(project.view().mainViewBox());
    ASSERT_NE(box, nullptr);
    CommandItem undo(QStringLiteral("undo:"));
    EXPECT_FALSE(box->validateCommand(undo));
    EXPECT_EQ(undo.title(), project.document->undoManager().undoMenuItemTitle());
    CommandItem redo(QStringLiteral("redo:"));
    EXPECT_FALSE(box->validateCommand(redo));
    EXPECT_EQ(redo.title(), project.document->undoManager().redoMenuItemTitle());
    box->performCommand(undo);
    EXPECT_EQ(project.harness.beeps.sounds.back(), QString());
    CommandItem other(QStringLiteral("copy:"));
    EXPECT_TRUE(box->validateCommand(other));
}

TEST(ProjectInfoViewTest, ButtonsWithoutAFunctionPlayTheNoticeAndChangeNothing)
{
    ProjectWindow project;
    QPushButton* choose = nullptr;
    for (QPushButton* button : project.view().mainViewBox()->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Choose..."))
            choose = button;
    ASSERT_NE(choose, nullptr);
    choose->click();
    EXPECT_EQ(project.harness.beeps.sounds, QStringList({ QStringLiteral("Morse") }));
    EXPECT_EQ(project.document->projectModelFilePathString(), QStringLiteral("Beam.vtmodel"));
}

TEST(ProjectInfoViewTest, InsidePanelTextViewMovesFocusOnTabAndPressesTheDefaultButtonOnReturn)
{
    NotifierRecorder beeps;
    QWidget panel;
    auto* layout = new QVBoxLayout(&panel);
    auto* before = new QLineEdit;
    auto* text = new UFemInsidePanelTextView;
    auto* after = new QLineEdit;
    auto* button = new QPushButton(QStringLiteral("OK"));
    for (QWidget* widget : { static_cast<QWidget*>(before), static_cast<QWidget*>(text),
             static_cast<QWidget*>(after), static_cast<QWidget*>(button) })
        layout->addWidget(widget);
    panel.show();
    QApplication::setActiveWindow(&panel);
    text->setPlainText(QStringLiteral("kept"));
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });

    press(text, Qt::Key_Return);
    EXPECT_EQ(beeps.sounds, QStringList({ QString() }));
    button->setDefault(true);
    press(text, Qt::Key_Return);
    EXPECT_EQ(clicks, 1);

    text->setFocus();
    press(text, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    text->setFocus();
    press(text, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("kept"));
}
