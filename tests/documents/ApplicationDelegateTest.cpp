#include "ShellTestSupport.h"

#include "appkit/CommandRouter.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "documents/application/UFemAppDelegate.h"
#include "documents/application/UFemApplicationCommandHooks.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/application/UFemNotifier.h"
#include "documents/application/UFemOpenGLInfoWindow.h"
#include "documents/application/UFemStartWindow.h"
#include "documents/document/UFemDocumentController.h"
#include "documents/document/UFemProjectFile.h"
#include "documents/preferences/UFemPreferencesMessageReporter.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "platform/UUserDefaults.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

const QString ViewType = QStringLiteral("viewTypeMenuItemSelectedWithMenuItem:");

struct MenuState {
    bool tableEnabled, graphicEnabled, infoEnabled;
    bool tableOn, graphicOn, infoOn;
    QString infoTitle;
    bool moveModeEnabled, viewSettingEnabled, caseEnabled, findEnabled, setDirectionEnabled;

    bool operator==(const MenuState&) const = default;
};

[[maybe_unused]] void PrintTo(const MenuState& state, std::ostream* stream)
{
    *stream << "view items enabled " << state.tableEnabled << state.graphicEnabled
            << state.infoEnabled << " on " << state.tableOn << state.graphicOn << state.infoOn
            << " \"" << state.infoTitle.toStdString() << "\" mode/setting/case/find/direction "
            << state.moveModeEnabled << state.viewSettingEnabled << state.caseEnabled
            << state.findEnabled << state.setDirectionEnabled;
}

MenuState menuState(const UFemMainMenu& menu)
{
    return { menu.tableViewTypeMenuItem()->isEnabled(), menu.graphicViewTypeMenuItem()->isEnabled(),
        menu.projectInfoViewTypeMenuItem()->isEnabled(), menu.tableViewTypeMenuItem()->isChecked(),
        menu.graphicViewTypeMenuItem()->isChecked(),
        menu.projectInfoViewTypeMenuItem()->isChecked(), menu.projectInfoViewTypeMenuItem()->text(),
        menu.graphicMoveModeMenuItem()->isEnabled(), menu.viewSettingMenuItem()->isEnabled(),
        menu.caseMenuItem()->isEnabled(), menu.findBaseMenuItem()->isEnabled(),
        menu.setDirectionMenuItem()->isEnabled() };
}

const MenuState NoWindowMenu = { false, false, false, false, false, false,
    QStringLiteral("Project Info"), false, false, false, false, false };

// A project whose model file loads with it.
void writeProject(ShellHarness& harness)
{
    UFemProjectFileContents contents;
    contents.projectModelFilePathString = QStringLiteral("P.vtmodel");
    contents.projectDoesLoadModelDataAuto = true;
    harness.writeHomeFile(QStringLiteral("P.vtproj"), UFemProjectFileData(contents));
    harness.writeHomeFile(QStringLiteral("P.vtmodel"), TwoNodeModel.toUtf8());
}

// The files of one of each kind in the home folder: a model, a result of it and a new project
// whose default model file is there too.
void writeOneOfEachKind(ShellHarness& harness)
{
    harness.writeHomeFile(QStringLiteral("M.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeHomeFile(
        QStringLiteral("R.vtresult"), FakeResultData::fileData(canonicalModelText(TwoNodeModel)));
    writeProject(harness);
}

class StaticRendererSource : public UGLGraphicProcessorInfoSource {
public:
    quint64 virtualScreenCount(UErrorPtr*) override { return records.size(); }
    bool getGraphicProcessorInfo(
        quint64 index, UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr*) override
    {
        *record = records.at(index);
        return true;
    }
    std::vector<UOpenGLGraphicProcessorInfoRecord> records;
};

// The delegate's start-up as the program runs it. It installs the program's services and
// preference alerts for the whole process; the test puts back what the other tests' data
// controllers use and leaves the alerts to the log again.
class DelegateStartUp {
public:
    explicit DelegateStartUp(SheetPresenter& sheets)
        : previousServices_(UFemDataControllerServices::shared())
    {
        UFemAppDelegate::initialize(sheets);
    }
    ~DelegateStartUp()
    {
        UFemDataControllerServices::setShared(previousServices_);
        UFemUserPreferences::applicationPreferencesMessageReporter().setPresenter({});
    }
    DelegateStartUp(const DelegateStartUp&) = delete;
    DelegateStartUp& operator=(const DelegateStartUp&) = delete;

private:
    UFemDataControllerServices previousServices_;
};

} // namespace

TEST(ApplicationDelegateTest, StartsWithNoDocumentAndTheStartWindowCarriesTheMenu)
{
    ShellHarness harness;
    const DelegateStartUp startUp(harness.sheets);
    harness.shell->start();

    // Every preference has its value before the first document reads one.
    const QVariantMap registered = UFemUserPreferences::registeredDefaults();
    ASSERT_FALSE(registered.isEmpty());
    for (const QString& key : registered.keys())
        EXPECT_EQ(UUserDefaults::standardUserDefaults().objectForKey(key), registered.value(key))
            << key.toStdString();
    EXPECT_TRUE(harness.documents().empty());
    EXPECT_TRUE(harness.shell->startWindow().isVisible());
    // File, Edit, View, Model, Window and Help.
    EXPECT_EQ(harness.shell->startWindow().menuBar()->actions().size(), 6);
    EXPECT_EQ(harness.shell->appDelegate().activeWindowController(), nullptr);
    EXPECT_EQ(menuState(harness.shell->mainMenu()), NoWindowMenu);
    // The commands of the start window reach the delegate and the document controller.
    CommandRouter& router = harness.shell->commandRouter();
    for (const char* command : { "newProjectDocument:", "newModelDocument:", "openDocument:",
             "showAboutPanel:", "showOpenGLInfo:", "showPreferencePanel:", "terminate:" }) {
        CommandItem item(QString::fromLatin1(command));
        EXPECT_TRUE(router.validate(item)) << command;
    }
    CommandItem save(QStringLiteral("saveDocument:"));
    EXPECT_FALSE(router.validate(save));
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

TEST(ApplicationDelegateTest, OpensProjectModelAndResultFilesFromTheCommandLine)
{
    ShellHarness harness;
    writeOneOfEachKind(harness);
    harness.shell->start();
    const QString previousDirectory = QDir::currentPath();
    QDir::setCurrent(harness.home.path());
    harness.shell->openFiles({ QStringLiteral("M.vtmodel"), harness.homePath("R.vtresult"),
        harness.homePath("P.vtproj") });
    QDir::setCurrent(previousDirectory);
    finishEventTurn();

    EXPECT_TRUE(harness.sheets.alerts.empty());
    ASSERT_EQ(harness.documents().size(), 3u);
    const UFemDocument* model = harness.documentAt(harness.homePath("M.vtmodel"));
    const UFemDocument* result = harness.documentAt(harness.homePath("R.vtresult"));
    const UFemDocument* project = harness.documentAt(harness.homePath("P.vtproj"));
    ASSERT_TRUE(model && result && project);
    EXPECT_EQ(model->documentType(), UFemDocumentTypeModel);
    EXPECT_EQ(model->dataController().cardCount(), 2u);
    EXPECT_EQ(result->documentType(), UFemDocumentTypeResult);
    EXPECT_TRUE(result->hasResultData());
    EXPECT_EQ(project->documentType(), UFemDocumentTypeProject);
    EXPECT_TRUE(project->hasModelData());
    for (Document* document : harness.documents()) {
        ASSERT_EQ(document->windowControllers().size(), 1u);
        auto* window
            = dynamic_cast<UFemWindowController*>(document->windowControllers().front().get());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->window()->isVisible());
        // Projects and results first show their project information over the window.
        EXPECT_EQ(window->doesDrawOverlaidProjectInfo(), document != model);
    }
    EXPECT_FALSE(harness.shell->startWindow().isVisible());
}

TEST(ApplicationDelegateTest, FileOpenOpensTheChosenProjectModelAndResultInWindowsWithTheMenu)
{
    ShellHarness harness;
    writeOneOfEachKind(harness);
    harness.shell->start();
    const QString missing = harness.homePath("gone.vtresult");
    harness.panels.openPaths = { harness.homePath("P.vtproj"), harness.homePath("M.vtmodel"),
        harness.homePath("R.vtresult"), missing };
    ASSERT_TRUE(harness.shell->commandRouter().perform(QStringLiteral("openDocument:")));
    finishEventTurn();

    ASSERT_EQ(harness.panels.openPanels.size(), 1u);
    const OpenPanelOptions& options = harness.panels.openPanels.front();
    EXPECT_TRUE(options.allowsMultipleSelection);
    EXPECT_EQ(options.allowedExtensions,
        (QStringList {
            QStringLiteral("vtproj"), QStringLiteral("vtmodel"), QStringLiteral("vtresult") }));
    ASSERT_EQ(harness.documents().size(), 3u);
    for (Document* document : harness.documents()) {
        ASSERT_EQ(document->windowControllers().size(), 1u);
        QWidget* window = document->windowControllers().front()->window();
        EXPECT_TRUE(window->isVisible());
        ASSERT_NE(window->findChild<QMenuBar*>(), nullptr);
        EXPECT_EQ(window->findChild<QMenuBar*>()->actions().size(), 6);
    }
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts[0].messageText,
        UFemFileNotExistError_withFilePathString(missing)->localizedDescription());
    EXPECT_FALSE(harness.shell->startWindow().isVisible());
}

TEST(ApplicationDelegateTest, FilesThatCannotBeOpenedGiveTheirAlertAndTheOthersStillOpen)
{
    ShellHarness harness;
    harness.writeHomeFile(QStringLiteral("notes.txt"), "text");
    harness.writeHomeFile(QStringLiteral("broken.vtproj"), "not an archive");
    harness.writeHomeFile(QStringLiteral("M.vtmodel"), TwoNodeModel.toUtf8());
    harness.shell->start();
    const QString missing = harness.homePath("missing.vtmodel");
    harness.shell->openFiles({ missing, harness.homePath("notes.txt"),
        harness.homePath("broken.vtproj"), harness.homePath("M.vtmodel") });
    finishEventTurn();

    ASSERT_EQ(harness.sheets.alerts.size(), 3u);
    EXPECT_EQ(harness.sheets.alerts[0].messageText,
        UFemFileNotExistError_withFilePathString(missing)->localizedDescription());
    EXPECT_EQ(harness.sheets.alerts[1].messageText,
        UFemUnknownFileTypeError_withFileTypeString("txt")->localizedDescription());
    EXPECT_EQ(harness.sheets.alerts[2].messageText,
        UFemUnknownProjectFileTypeError()->localizedDescription());
    ASSERT_EQ(harness.documents().size(), 1u);
    EXPECT_NE(harness.documentAt(harness.homePath("M.vtmodel")), nullptr);
}

TEST(ApplicationDelegateTest, MenuFollowsTheKindOfTheActiveDocument)
{
    ShellHarness harness;
    writeOneOfEachKind(harness);
    harness.shell->start();
    const UFemMainMenu& menu = harness.shell->mainMenu();

    harness.shell->openFiles({ harness.homePath("M.vtmodel") });
    // Each window first shows its cards.
    MenuState model = NoWindowMenu;
    model.tableEnabled = model.graphicEnabled = model.findEnabled = model.tableOn = true;
    // With a model the card view has cases; its stand-in in these tests takes no view settings.
    model.caseEnabled = true;
    EXPECT_EQ(menuState(menu), model);

    // The window system activates each window as it opens.
    const auto openAndActivate = [&harness](const QString& name) {
        harness.shell->openFiles({ harness.homePath(name) });
        harness.shell->windowTracker().windowDidActivate(
            harness.documentAt(harness.homePath(name))->windowControllers().front().get());
    };
    openAndActivate(QStringLiteral("R.vtresult"));
    MenuState result = model;
    result.infoEnabled = true;
    result.infoTitle = QStringLiteral("Result Info");
    EXPECT_EQ(menuState(menu), result);

    openAndActivate(QStringLiteral("P.vtproj"));
    MenuState project = result;
    project.infoTitle = QStringLiteral("Project Info");
    EXPECT_EQ(menuState(menu), project);

    // Closing every window leaves no active window and brings the start window back.
    for (Document* document : harness.documents())
        document->close();
    finishEventTurn();
    EXPECT_EQ(menuState(menu), NoWindowMenu);
    EXPECT_TRUE(harness.shell->startWindow().isVisible());
}

TEST(ApplicationDelegateTest, MenuFollowsTheViewOfTheActiveWindowOnItsNotifications)
{
    ShellHarness harness;
    writeProject(harness);
    harness.shell->start();
    harness.shell->openFiles({ harness.homePath("P.vtproj") });
    Document* document = harness.documents().front();
    auto* window = static_cast<FakeMenuWindowController*>(document->addWindowController(
        std::make_unique<FakeMenuWindowController>(harness.shell->windowTracker())));
    QAction* selectedCase = window->cases.addAction(QStringLiteral("C2"));
    selectedCase->setData(1001);
    window->cases.addAction(QStringLiteral("C1"))->setData(1000);
    window->shownViewType = UFemViewTypeGraphic;
    window->moveModeTag = 3;
    window->hasViewSettingMenu = window->hasCaseMenu = true;
    window->selectedCaseTag = 1001;
    harness.shell->windowTracker().windowDidActivate(window);
    const UFemMainMenu& menu = harness.shell->mainMenu();
    UNotificationCenter::defaultCenter().post(UFemActiveMainViewDidChangeNotification, window);

    EXPECT_EQ(menuState(menu),
        (MenuState { true, true, true, false, true, false, QStringLiteral("Project Info"), true,
            true, true, true, true }));
    QStringList checkedModes;
    for (QAction* mode : menu.graphicMoveModeMenuItem()->menu()->actions()) {
        if (mode->isChecked())
            checkedModes << mode->text();
    }
    EXPECT_EQ(checkedModes, QStringList { QStringLiteral("Rotate") });
    EXPECT_EQ(menu.caseMenuItem()->menu(), &window->cases);
    EXPECT_EQ(menu.viewSettingMenuItem()->menu(), &window->viewSettings);
    EXPECT_TRUE(selectedCase->isChecked());

    // The information view: no find, no 3-D items; a window without menus keeps the old
    // view-setting menu, disabled.
    window->shownViewType = UFemViewTypeInfo;
    window->hasViewSettingMenu = window->hasCaseMenu = false;
    UNotificationCenter::defaultCenter().post(UFemActiveMainViewDidChangeNotification, window);
    EXPECT_EQ(menuState(menu),
        (MenuState { true, true, true, false, false, true, QStringLiteral("Project Info"), false,
            false, false, false, false }));
    EXPECT_EQ(menu.viewSettingMenuItem()->menu(), &window->viewSettings);
}

TEST(ApplicationDelegateTest, AboutWindowIsBuiltAfreshAfterClosingAndAltShowsRendererInfo)
{
    ShellHarness harness;
    QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
    UFemAppDelegate& delegate = harness.shell->appDelegate();
    delegate.showAboutPanel(Qt::NoModifier);
    QWidget* about = delegate.aboutPanel();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Vantrel"));
    EXPECT_EQ(about->size(), QSize(480, 270));
    EXPECT_TRUE(about->isVisible());
    QStringList texts;
    for (const QLabel* label : about->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(
        texts.contains(QStringLiteral("This software is still Under Development. NO WARRANTY.")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Vantrel")));
    delegate.showAboutPanel(Qt::NoModifier);
    EXPECT_EQ(delegate.aboutPanel(), about);

    about->close();
    finishEventTurn();
    EXPECT_EQ(delegate.aboutPanel(), nullptr);
    delegate.showAboutPanel(Qt::NoModifier);
    EXPECT_NE(delegate.aboutPanel(), nullptr);

    ASSERT_TRUE(delegate.openGLInfoWindows().empty());
    delegate.showAboutPanel(Qt::AltModifier);
    delegate.showAboutPanel(Qt::AltModifier);
    ASSERT_EQ(delegate.openGLInfoWindows().size(), 2u);
    QWidget* info = delegate.openGLInfoWindows().front();
    EXPECT_EQ(info->windowTitle(), QStringLiteral("OpenGL Renderer Info"));
    const auto* text = info->findChild<QPlainTextEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("OpenGL Renderer count: ")));
    info->close();
    finishEventTurn();
    EXPECT_EQ(delegate.openGLInfoWindows().size(), 1u);
}

TEST(ApplicationDelegateTest, RendererInfoTextListsEveryRendererOfTheCatalogue)
{
    auto source = std::make_shared<StaticRendererSource>();
    UOpenGLGraphicProcessorInfoRecord hardware;
    hardware.venderString = QStringLiteral("Maker");
    hardware.rendererString = QStringLiteral("GPU 1");
    hardware.versionString = QStringLiteral("4.5 (Compatibility Profile)");
    hardware.isFrameBufferObjectSupported = true;
    hardware.extensionsString = QStringLiteral("GL_ARB_a GL_ARB_b");
    UOpenGLGraphicProcessorInfoRecord software = hardware;
    software.rendererString = QStringLiteral("soft");
    software.isFrameBufferObjectSupported = false;
    software.isPixelBufferSupported = true;
    source->records = { hardware, software };
    UGLGraphicProcessorInfoManager catalogue(source);
    ASSERT_TRUE(catalogue.update(nullptr));

    UErrorPtr error;
    EXPECT_EQ(UFemOpenGLInfoWindow::rendererInfoText(catalogue, &error),
        QStringLiteral("OpenGL Renderer count: 2\n"
                       "\n\n( Renderer identifier: 0 )\n\nVendor: Maker\nRenderer: GPU 1\n"
                       "Version: 4.5 (Compatibility Profile)\nFramebufferObject support: YES\n"
                       "PixelBuffer support: NO\n\nExtensions:\nGL_ARB_a GL_ARB_b\n"
                       "\n\n( Renderer identifier: 1 )\n\nVendor: Maker\nRenderer: soft\n"
                       "Version: 4.5 (Compatibility Profile)\nFramebufferObject support: NO\n"
                       "PixelBuffer support: YES\n\nExtensions:\nGL_ARB_a GL_ARB_b\n"));
}

TEST(ApplicationDelegateTest, QuitReviewsUnsavedDocumentsPromptingOnce)
{
    ShellHarness harness;
    harness.writeHomeFile(QStringLiteral("M.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeHomeFile(QStringLiteral("N.vtmodel"), TwoNodeModel.toUtf8());
    harness.shell->start();
    harness.shell->openFiles({ harness.homePath("M.vtmodel"), harness.homePath("N.vtmodel") });
    Document* edited = harness.documentAt(harness.homePath("M.vtmodel"));
    edited->updateChangeCount(DocumentChange::Done);
    CommandRouter& router = harness.shell->commandRouter();

    // Cancel keeps the program and the document.
    EXPECT_TRUE(router.perform(QStringLiteral("terminate:")));
    ASSERT_TRUE(harness.sheets.hasPending());
    EXPECT_EQ(harness.sheets.pendingWindow(), edited->windowControllers().front()->window());
    // A second quit while the first is asking adds no prompt.
    router.perform(QStringLiteral("terminate:"));
    harness.sheets.answer(Document::CloseAnswerCancel);
    EXPECT_EQ(harness.quitCount, 0);
    EXPECT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.documents().size(), 2u);

    // Don't Save quits after exactly one prompt: the clean document asks nothing.
    router.perform(QStringLiteral("terminate:"));
    harness.sheets.answer(Document::CloseAnswerDontSave);
    finishEventTurn();
    EXPECT_FALSE(harness.sheets.hasPending());
    EXPECT_EQ(harness.sheets.alerts.size(), 2u);
    EXPECT_EQ(harness.quitCount, 1);
}

TEST(ApplicationDelegateTest, ClosingTheStartWindowQuitsAtOnceWithNothingEdited)
{
    ShellHarness harness;
    harness.shell->start();
    harness.shell->startWindow().close();
    EXPECT_EQ(harness.quitCount, 1);
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

TEST(ApplicationDelegateTest, NotifierPlaysItsTwoNamedSounds)
{
    NotifierRecorder sounds;
    UFemNotifier::notifyCalculationCompletedWithDocumentNameString(QStringLiteral("Beam"));
    UFemNotifier::notifyThisFunctionIsNotImplementedYetWithFunctionNameString(
        QStringLiteral("Saving View Preferences Setting"));
    EXPECT_EQ(sounds.sounds, (QStringList { QStringLiteral("Hero"), QStringLiteral("Morse") }));
}

// The model tools and the model edit window live above the documents and come in through the
// command hooks; without a handler their items stay disabled.
TEST(ApplicationDelegateTest, ToolCommandsGoThroughTheCommandHooksAndAreDisabledWithout)
{
    struct HooksReset {
        ~HooksReset() { UFemApplicationCommandHooks::removeAllHandlers(); }
    } hooksReset;
    ShellHarness harness;
    const DelegateStartUp startUp(harness.sheets);
    harness.shell->start();
    CommandRouter& router = harness.shell->commandRouter();
    const QString divide = QStringLiteral("divideSelectedElements:");
    const QString merge = QStringLiteral("mergeNodeOnSameLocation:");
    CommandItem unhooked(divide);
    EXPECT_FALSE(router.validate(unhooked));
    EXPECT_FALSE(router.perform(divide));
    EXPECT_EQ(harness.beeps.sounds.size(), 1);

    QStringList performed;
    UFemApplicationCommandHooks::setHandler(
        divide, [&performed](const CommandItem& sender) { performed.append(sender.command()); });
    bool mergeAllowed = false;
    UFemApplicationCommandHooks::setHandler(
        merge, [&performed](const CommandItem& sender) { performed.append(sender.command()); },
        [&mergeAllowed](CommandItem&) { return mergeAllowed; });
    QAction* divideItem = harness.item(divide);
    ASSERT_NE(divideItem, nullptr);
    router.validateActions({ divideItem, harness.item(merge) });
    EXPECT_TRUE(divideItem->isEnabled());
    EXPECT_FALSE(harness.item(merge)->isEnabled());
    divideItem->trigger();
    EXPECT_FALSE(router.perform(merge));
    mergeAllowed = true;
    EXPECT_TRUE(router.perform(merge));
    EXPECT_EQ(performed, QStringList({ divide, merge }));
    EXPECT_EQ(harness.beeps.sounds.size(), 2);

    UFemApplicationCommandHooks::removeAllHandlers();
    CommandItem removed(divide);
    EXPECT_FALSE(router.validate(removed));
}
