#pragma once

#include "foundation/errors/UError.h"

#include <QDialog>
#include <QString>

#include <optional>

class DocumentController;
class FilePanels;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SheetPresenter;

// The New Project panel: a project name and a directory make a project directory and an empty
// project file, which then opens as a new project. The directory follows the chosen directory and
// the name (auto mode, optionally creating a directory named after the project) until the user
// types a directory (manual mode); choosing a directory returns to auto mode.
class UFemNewProjectPanel : public QDialog {
    Q_OBJECT
public:
    UFemNewProjectPanel(DocumentController& documentController, SheetPresenter& sheets,
        FilePanels& panels, QWidget* parent = nullptr);
    ~UFemNewProjectPanel() override;

    // Back to an empty name, auto mode, the home directory and create-directory on.
    void reset();

    QString projectNameString() const { return projectName_; }
    void setProjectNameString(const QString& name);
    QString directoryPathString() const;
    // The user typed a directory: manual mode from now on.
    void setDirectoryPathString(const QString& directory);
    bool doesChangeDirectoryPathStringAuto() const { return isAuto_; }
    QString chosenDirectoryPathString() const { return chosenDirectory_; }
    // 1 or 0 in auto mode, -1 (mixed) in manual mode.
    int doesCreateProjectDirectoryActiveState() const;
    // Flips the create-directory flag whatever it is given, as a click on the check box does.
    void setDoesCreateProjectDirectoryActiveState(int ignored);
    QString descriptionString() const;
    bool canApply() const;

    // Runs the directory chooser as a sheet on the panel.
    void chooseDirectory();
    // A directory chosen in the chooser: "~" for the home directory, ending in "/"; auto mode.
    void directoryChosen(const QString& path);

    // Creates the directory and the project file and opens it; an error is shown as a sheet on
    // the panel, which then stays open. Answers whether the project opened.
    bool apply();

    QLineEdit* projectNameField() const { return nameField_; }

private:
    [[nodiscard]] bool createProjectFile(QString* file, UErrorPtr* error) const;
    [[nodiscard]] bool prepareDirectory(const QString& directory, UErrorPtr* error) const;
    void refresh();

    DocumentController& documentController_;
    SheetPresenter& sheets_;
    FilePanels& panels_;
    QString projectName_;
    bool isAuto_ = true;
    QString chosenDirectory_;
    QString manualDirectory_;
    bool doesCreateProjectDirectory_ = true;

    QLineEdit* nameField_;
    QLineEdit* directoryField_;
    QCheckBox* createDirectoryBox_;
    QLabel* descriptionLabel_;
    QPushButton* applyButton_;
};
