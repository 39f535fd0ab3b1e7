#pragma once

#include "documents/mainview/UFemInfoViewController.h"

#include <QMetaObject>

#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UFemDocument;
class UFemInsidePanelTextView;
class UFemProjectInfoViewBoxView;

// The information view of a project's window: a form over the project's fields (file name and
// folder, title, version, comment, model and result file paths with their automatic loading)
// with the buttons that load or unload the model and the result and create the model file.
// Every edit goes straight to the document. The form follows the document only while shown.
class UFemProjectInfoViewController : public UFemInfoViewController {
public:
    static constexpr int minimumWidth = 700;
    static constexpr int minimumHeight = 540;

    explicit UFemProjectInfoViewController(UFemWindowController& windowController);
    ~UFemProjectInfoViewController() override;

    void finish() override;
    QWidget* mainViewBox() const override;
    QSize minimumMainViewBoxSize() const override { return { minimumWidth, minimumHeight }; }
    void viewDidSwapIn() override;
    void viewWillSwapOut() override;
    bool isRegisteredAsObserver() const { return isRegisteredAsObserver_; }

    // ---- The values the form shows
    QString projectFileNameString() const;
    QString projectDirectoryPathString() const;
    std::optional<QString> projectTitleString() const;
    std::optional<QString> projectVersionString() const;
    std::optional<QString> projectCommentString() const;
    std::optional<QString> projectModelFilePathString() const;
    std::optional<QString> projectResultFilePathString() const;
    int projectDoesLoadModelDataAutoActiveState() const;
    int projectDoesLoadResultDataAutoActiveState() const;
    bool hasModelData() const;
    bool hasResultData() const;
    bool canChangeModelFilePath() const { return !hasModelData(); }
    bool canChangeResultFilePath() const { return !hasResultData(); }
    bool canLoadUnloadModelData() const;
    bool canLoadUnloadResultData() const;
    bool canCreateModelFile() const;
    QString loadUnloadModelDataButtonTitleString() const;
    QString loadUnloadResultDataButtonTitleString() const;

    // ---- Buttons
    void loadUnloadModelDataButtonPushed();
    void loadUnloadResultDataButtonPushed();
    void createModelFileButtonPushed();

    // The form's controls, by their roles.
    struct Form {
        QLabel* fileName;
        QLabel* directory;
        QLineEdit* title;
        QLineEdit* version;
        UFemInsidePanelTextView* comment;
        QLineEdit* modelPath;
        QCheckBox* loadsModel;
        QPushButton* loadUnloadModel;
        QPushButton* createModelFile;
        QLineEdit* resultPath;
        QCheckBox* loadsResult;
        QPushButton* loadUnloadResult;
    };
    const Form& form() const { return form_; }
    // Shows the document's values again.
    void refresh();

private:
    UFemDocument& projectDocument() const;
    void buildForm();
    void connectEdits();
    QPushButton* addNoticeButton(const QString& title, const QString& functionName);
    [[nodiscard]] bool createModelFile(const QString& path, UErrorPtr* error) const;
    void unloadModelAfterAsking();

    std::unique_ptr<UFemProjectInfoViewBoxView> box_;
    QWidget* firstKeyView_ = nullptr;
    Form form_ {};
    bool isRegisteredAsObserver_ = false;
    bool isRefreshing_ = false;
    QMetaObject::Connection observation_;
};
