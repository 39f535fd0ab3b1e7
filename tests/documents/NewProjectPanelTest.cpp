#include "ShellTestSupport.h"

#include "documents/application/UFemNewProjectPanel.h"
#include "documents/document/UFemDocumentController.h"
#include "foundation/errors/UFemErrorsFile.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// The panel as New Project shows it, over a temporary home folder.
struct NewProjectHarness : ShellHarness {
    NewProjectHarness() { shell->documentController().newProjectDocument(); }

    UFemNewProjectPanel& panel() const { return shell->documentController().newProjectPanel(); }
    // The description of the one alert shown, on the panel.
    QString alertText() const
    {
        EXPECT_EQ(sheets.alerts.size(), 1u);
        if (!sheets.hasPending())
            return QString();
        EXPECT_EQ(sheets.pendingWindow(), &panel());
        return sheets.pendingAlert().messageText;
    }
    // Applies, expecting a refusal; gives its alert's text and dismisses it.
    QString refusal()
    {
        EXPECT_FALSE(panel().apply());
        const QString text = alertText();
        if (sheets.hasPending())
            sheets.answer(0);
        sheets.alerts.clear();
        return text;
    }
    QString homeDirectory(const QString& name) const { return QDir::cleanPath(homePath(name)); }
};

} // namespace

TEST(NewProjectPanelTest, BeamMakesItsDirectoryAndProjectAndASecondApplyIsRefused)
{
    NewProjectHarness harness;
    UFemNewProjectPanel& panel = harness.panel();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.directoryPathString(), QStringLiteral("~/"));
    EXPECT_FALSE(panel.canApply());
    EXPECT_EQ(panel.descriptionString(), QString());

    panel.setProjectNameString(QStringLiteral("Beam"));
    EXPECT_EQ(panel.directoryPathString(), QStringLiteral("~/Beam/"));
    EXPECT_EQ(panel.doesCreateProjectDirectoryActiveState(), 1);
    EXPECT_EQ(panel.descriptionString(),
        QStringLiteral("The project directory ~/Beam/ will be created, and the project file "
                       "Beam.vtproj will be created therein."));
    ASSERT_TRUE(panel.canApply());
    ASSERT_TRUE(panel.apply());

    const QString file = harness.homePath("Beam/Beam.vtproj");
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(QFileInfo(file).size(), 0);
    const UFemDocument* project = harness.documentAt(file);
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->documentType(), UFemDocumentTypeProject);
    EXPECT_FALSE(project->isDocumentEdited());
    EXPECT_FALSE(panel.isVisible());

    panel.show();
    EXPECT_EQ(harness.refusal(),
        QStringLiteral("Directory '%1' already exist.").arg(harness.homeDirectory("Beam")));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(harness.documents().size(), 1u);
}

TEST(NewProjectPanelTest, TypedDirectoryIsUsedAsItIsAndCreatedWhenMissing)
{
    NewProjectHarness harness;
    UFemNewProjectPanel& panel = harness.panel();
    ASSERT_TRUE(QDir(harness.home.path()).mkdir(QStringLiteral("Work")));
    panel.setProjectNameString(QStringLiteral("Frame"));
    panel.setDirectoryPathString(QStringLiteral("~/Work"));
    EXPECT_FALSE(panel.doesChangeDirectoryPathStringAuto());
    EXPECT_EQ(panel.doesCreateProjectDirectoryActiveState(), -1);
    EXPECT_EQ(panel.findChild<QCheckBox*>()->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(panel.descriptionString(),
        QStringLiteral("The project directory ~/Work/ will be created if necessary, and the "
                       "project file Frame.vtproj will be created therein."));
    ASSERT_TRUE(panel.apply());
    EXPECT_TRUE(QFileInfo(harness.homePath("Work/Frame.vtproj")).isFile());

    harness.panel().show();
    panel.setProjectNameString(QStringLiteral("Truss"));
    panel.setDirectoryPathString(QStringLiteral("~/New"));
    ASSERT_TRUE(panel.apply());
    EXPECT_TRUE(QFileInfo(harness.homePath("New/Truss.vtproj")).isFile());
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

TEST(NewProjectPanelTest, CheckBoxFlipsTheFlagWhateverItIsGiven)
{
    NewProjectHarness harness;
    UFemNewProjectPanel& panel = harness.panel();
    panel.setProjectNameString(QStringLiteral("Beam"));
    panel.setDoesCreateProjectDirectoryActiveState(1);
    EXPECT_EQ(panel.doesCreateProjectDirectoryActiveState(), 0);
    EXPECT_EQ(panel.directoryPathString(), QStringLiteral("~/"));
    EXPECT_EQ(panel.descriptionString(),
        QStringLiteral("The project file Beam.vtproj will be created in the directory ~/."));
    panel.setDoesCreateProjectDirectoryActiveState(0);
    EXPECT_EQ(panel.doesCreateProjectDirectoryActiveState(), 1);
    panel.setDoesCreateProjectDirectoryActiveState(-1);

    // The project file straight in the home folder.
    ASSERT_TRUE(panel.apply());
    EXPECT_TRUE(QFileInfo(harness.homePath("Beam.vtproj")).isFile());
    harness.panel().show();
    EXPECT_EQ(harness.refusal(),
        UFemFileAlreadyExistError_withFilePathString(harness.homeDirectory("Beam.vtproj"))
            ->localizedDescription());
}

TEST(NewProjectPanelTest, DirectoryRulesGiveTheirErrorsAndCreateNothing)
{
    struct Case {
        const char* name;
        bool createsDirectory;
        UErrorPtr expected;
    };
    NewProjectHarness harness;
    harness.writeHomeFile(QStringLiteral("Plate"), "a file");
    ASSERT_TRUE(QDir(harness.home.path()).mkpath(QStringLiteral("Shell/Shell.vtproj")));
    UFemNewProjectPanel& panel = harness.panel();
    panel.directoryChosen(harness.homePath("Missing"));
    EXPECT_EQ(panel.chosenDirectoryPathString(), QStringLiteral("~/Missing/"));

    // Without a project directory the chosen one must exist.
    panel.setProjectNameString(QStringLiteral("Beam"));
    panel.setDoesCreateProjectDirectoryActiveState(0);
    EXPECT_EQ(harness.refusal(),
        UFemDirectoryNotExistError_withDirectoryPathString(harness.homeDirectory("Missing"))
            ->localizedDescription());

    // A file where the project directory would go.
    panel.directoryChosen(harness.home.path());
    panel.setDoesCreateProjectDirectoryActiveState(0);
    panel.setProjectNameString(QStringLiteral("Plate"));
    EXPECT_EQ(harness.refusal(),
        UFemFileAlreadyExistOfDirectoryNameError_withDirectoryPathString(
            harness.homeDirectory("Plate"))
            ->localizedDescription());

    // A directory where the project file would go; a typed directory that is a file.
    panel.setProjectNameString(QStringLiteral("Shell"));
    panel.setDirectoryPathString(QStringLiteral("~/Shell/"));
    EXPECT_EQ(harness.refusal(),
        UFemDirectoryAlreadyExistOfFileNameError_withFilePathString(
            harness.homeDirectory("Shell/Shell.vtproj"))
            ->localizedDescription());
    panel.setDirectoryPathString(QStringLiteral("~/Plate"));
    EXPECT_EQ(harness.refusal(),
        UFemDirectoryNotExistButFileExistError_withDirectoryPathString(
            harness.homeDirectory("Plate"))
            ->localizedDescription());
    EXPECT_FALSE(QFileInfo::exists(harness.homePath("Missing")));
    EXPECT_TRUE(harness.documents().empty());
}

TEST(NewProjectPanelTest, NameWithASlashOrARelativeDirectoryIsAPathError)
{
    NewProjectHarness harness;
    UFemNewProjectPanel& panel = harness.panel();
    panel.setProjectNameString(QStringLiteral("a/b"));
    EXPECT_EQ(harness.refusal(),
        UFemFilePathStringError_withFilePathString(harness.homeDirectory("a/b/a/b.vtproj"))
            ->localizedDescription());
    panel.setProjectNameString(QStringLiteral("Beam"));
    panel.setDirectoryPathString(QStringLiteral("relative"));
    EXPECT_EQ(harness.refusal(),
        UFemFilePathStringError_withFilePathString(QStringLiteral("relative/Beam.vtproj"))
            ->localizedDescription());
    EXPECT_TRUE(harness.documents().empty());
}

TEST(NewProjectPanelTest, ChoosingADirectoryReturnsToAutoModeAndResetStartsAfresh)
{
    NewProjectHarness harness;
    UFemNewProjectPanel& panel = harness.panel();
    QLineEdit* directoryField = panel.findChildren<QLineEdit*>().at(1);
    // Only the user's edits of the field switch to manual mode.
    EXPECT_EQ(directoryField->text(), QStringLiteral("~/"));
    panel.setProjectNameString(QStringLiteral("Beam"));
    EXPECT_EQ(directoryField->text(), QStringLiteral("~/Beam/"));
    EXPECT_EQ(panel.projectNameField()->text(), QStringLiteral("Beam"));
    EXPECT_TRUE(panel.doesChangeDirectoryPathStringAuto());
    emit directoryField->textEdited(QStringLiteral("/tmp/x"));
    EXPECT_FALSE(panel.doesChangeDirectoryPathStringAuto());
    EXPECT_EQ(panel.directoryPathString(), QStringLiteral("/tmp/x"));

    ASSERT_TRUE(QDir(harness.home.path()).mkdir(QStringLiteral("Models")));
    harness.panels.openPaths = { harness.homePath("Models") };
    panel.chooseDirectory();
    ASSERT_EQ(harness.panels.openPanels.size(), 1u);
    const OpenPanelOptions& options = harness.panels.openPanels.front();
    EXPECT_FALSE(options.canChooseFiles);
    EXPECT_TRUE(options.canChooseDirectories);
    EXPECT_TRUE(options.canCreateDirectories);
    EXPECT_EQ(options.prompt, QStringLiteral("Choose"));
    EXPECT_EQ(options.directory, QDir::cleanPath(harness.home.path()));
    EXPECT_EQ(harness.panels.windows.front(), &panel);
    EXPECT_TRUE(panel.doesChangeDirectoryPathStringAuto());
    EXPECT_EQ(panel.directoryPathString(), QStringLiteral("~/Models/Beam/"));
    EXPECT_EQ(panel.doesCreateProjectDirectoryActiveState(), 1);

    harness.shell->documentController().newProjectDocument();
    EXPECT_EQ(panel.projectNameString(), QString());
    EXPECT_EQ(panel.projectNameField()->text(), QString());
    EXPECT_EQ(panel.directoryPathString(), QStringLiteral("~/"));
    EXPECT_TRUE(panel.doesChangeDirectoryPathStringAuto());
}
