#include "ShellTestSupport.h"

#include "appkit/CommandRouter.h"
#include "cards/UFemCardClasses.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/application/UFemNewProjectPanel.h"
#include "documents/application/UFemStartWindow.h"
#include "documents/document/UFemDocumentController.h"
#include "documents/document/UFemDocumentTypeRegistration.h"
#include "documents/document/UFemProjectFile.h"

#include <QFile>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace {

// A document whose window reports the overlay requests.
class OverlayDocument : public UFemDocument {
public:
    explicit OverlayDocument(WindowTracker& tracker)
        : UFemDocument(FakeResultData::services())
        , tracker_(tracker)
    {
    }

    void makeWindowControllers() override
    {
        addWindowController(std::make_unique<FakeMenuWindowController>(tracker_));
    }

    const FakeMenuWindowController& window() const
    {
        return static_cast<const FakeMenuWindowController&>(*windowControllers().front());
    }

private:
    WindowTracker& tracker_;
};

struct OverlayHarness {
    OverlayHarness()
        : controller(sheets, panels, tracker)
    {
        UFemInstallCardClasses();
        UFemRegisterDocumentTypes(controller, [this]() -> std::unique_ptr<Document> {
            return std::make_unique<OverlayDocument>(tracker);
        });
        UFemProjectFileContents project;
        write("p.vtproj", UFemProjectFileData(project));
        write("m.vtmodel", TwoNodeModel.toUtf8());
        write("r.vtresult", FakeResultData::fileData(canonicalModelText(TwoNodeModel)));
    }
    ~OverlayHarness()
    {
        for (Document* document : controller.documents())
            controller.removeDocument(document);
        finishEventTurn();
    }

    void write(const char* name, const QByteArray& contents) const
    {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    OverlayDocument* open(const char* name, bool display)
    {
        UErrorPtr error;
        auto* document = dynamic_cast<OverlayDocument*>(
            controller.openDocument(folder.filePath(QString::fromLatin1(name)), display, &error));
        EXPECT_NE(document, nullptr) << (error ? error->localizedDescription().toStdString() : "");
        return document;
    }

    QTemporaryDir folder;
    WindowTracker tracker;
    RecordingSheetPresenter sheets;
    RecordingFilePanels panels;
    UFemDocumentController controller;
};

} // namespace

TEST(UFemDocumentControllerTest, FreshlyShownProjectsAndResultsDrawTheirProjectInfoOverlaid)
{
    OverlayHarness harness;
    OverlayDocument* project = harness.open("p.vtproj", true);
    OverlayDocument* model = harness.open("m.vtmodel", true);
    OverlayDocument* result = harness.open("r.vtresult", true);
    ASSERT_TRUE(project && model && result);
    EXPECT_EQ(project->window().overlaidProjectInfoRequests, 1);
    EXPECT_TRUE(project->window().drawsOverlaidProjectInfo);
    EXPECT_EQ(model->window().overlaidProjectInfoRequests, 0);
    EXPECT_EQ(result->window().overlaidProjectInfoRequests, 1);

    // Opening an open document again does not set it again.
    EXPECT_EQ(harness.open("p.vtproj", true), project);
    EXPECT_EQ(project->window().overlaidProjectInfoRequests, 1);
}

TEST(UFemDocumentControllerTest, ADocumentOpenedWithoutDisplayGetsNoWindowNorOverlay)
{
    OverlayHarness harness;
    OverlayDocument* project = harness.open("p.vtproj", false);
    ASSERT_NE(project, nullptr);
    EXPECT_TRUE(project->windowControllers().empty());
    // Shown later as an open document: not fresh any more.
    EXPECT_EQ(harness.open("p.vtproj", true), project);
    ASSERT_EQ(project->windowControllers().size(), 1u);
    EXPECT_EQ(project->window().overlaidProjectInfoRequests, 0);
}

TEST(UFemDocumentControllerTest, NewModelOpensUntitledModelsInTheirOwnWindows)
{
    ShellHarness harness;
    harness.shell->start();
    CommandRouter& router = harness.shell->commandRouter();
    ASSERT_TRUE(router.perform(QStringLiteral("newModelDocument:")));
    ASSERT_TRUE(router.perform(QStringLiteral("newModelDocument:")));
    const std::vector<Document*> documents = harness.documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0]->displayName(), QStringLiteral("Untitled"));
    EXPECT_EQ(documents[1]->displayName(), QStringLiteral("Untitled 2"));
    for (Document* document : documents) {
        EXPECT_EQ(dynamic_cast<UFemDocument*>(document)->documentType(), UFemDocumentTypeModel);
        ASSERT_EQ(document->windowControllers().size(), 1u);
        QWidget* window = document->windowControllers().front()->window();
        EXPECT_TRUE(window->isVisible());
        // Each document window carries the program's menu.
        EXPECT_EQ(window->findChild<QMenuBar*>()->actions().size(), 6);
    }
    EXPECT_FALSE(harness.shell->startWindow().isVisible());
    // The generic New is not offered.
    CommandItem newDocument(QStringLiteral("newDocument:"));
    EXPECT_FALSE(router.validate(newDocument));
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

TEST(UFemDocumentControllerTest, NewProjectShowsTheResetPanelWithTheNameFieldFocused)
{
    ShellHarness harness;
    ASSERT_TRUE(harness.shell->commandRouter().perform(QStringLiteral("newProjectDocument:")));
    UFemNewProjectPanel& panel = harness.shell->documentController().newProjectPanel();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.directoryPathString(), QStringLiteral("~/"));
}
