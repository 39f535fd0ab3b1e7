#include "documents/mainview/UFemProjectInfoViewController.h"

#include "appkit/Alert.h"
#include "appkit/Notifier.h"
#include "appkit/SheetPresenter.h"
#include "documents/application/UFemNotImplementedNotice.h"
#include "documents/document/UFemDocument.h"
#include "documents/document/UFemProjectModelFileText.h"
#include "documents/mainview/UFemInfoViewBoxView.h"
#include "documents/mainview/UFemInsidePanelTextView.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsFile.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int CommentRowStretch = 1;

std::optional<QString> optionalText(const QString& text)
{
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

void setTextKeepingCursor(QLineEdit* field, const std::optional<QString>& text)
{
    if (field->text() != text.value_or(QString()))
        field->setText(text.value_or(QString()));
}

} // namespace

UFemProjectInfoViewController::UFemProjectInfoViewController(UFemWindowController& windowController)
    : UFemInfoViewController(windowController)
{
    UFemWindowController* owner = &windowController;
    box_ = std::make_unique<UFemProjectInfoViewBoxView>([owner](bool isRedo) {
        Document* document = owner->document();
        if (document == nullptr)
            return QString();
        return isRedo ? document->undoManager().redoMenuItemTitle()
                      : document->undoManager().undoMenuItemTitle();
    });
    box_->setObjectName(QStringLiteral("UFemProjectInfoView"));
    buildForm();
    connectEdits();
    refresh();
}

UFemProjectInfoViewController::~UFemProjectInfoViewController()
{
    finish();
}

void UFemProjectInfoViewController::finish()
{
    if (windowController() == nullptr)
        return;
    viewWillSwapOut();
    box_.reset();
    UFemInfoViewController::finish();
}

QWidget* UFemProjectInfoViewController::mainViewBox() const
{
    return box_.get();
}

UFemDocument& UFemProjectInfoViewController::projectDocument() const
{
    auto* document = dynamic_cast<UFemDocument*>(this->document());
    if (document == nullptr)
        UFemRaiseProgramError(QStringLiteral("The project info view needs a project document."));
    return *document;
}

void UFemProjectInfoViewController::buildForm()
{
    auto* grid = new QGridLayout(box_.get());
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* field) {
        grid->addWidget(new QLabel(label), row, 0, Qt::AlignRight | Qt::AlignTop);
        grid->addWidget(field, row++, 1);
    };
    form_.fileName = new QLabel;
    form_.directory = new QLabel;
    form_.title = new QLineEdit;
    form_.version = new QLineEdit;
    form_.comment = new UFemInsidePanelTextView;
    addRow(QObject::tr("Project File:"), form_.fileName);
    addRow(QObject::tr("Directory:"), form_.directory);
    addRow(QObject::tr("Title:"), form_.title);
    addRow(QObject::tr("Version:"), form_.version);
    addRow(QObject::tr("Comment:"), form_.comment);
    grid->setRowStretch(row - 1, CommentRowStretch);

    form_.modelPath = new QLineEdit;
    form_.loadsModel = new QCheckBox(QObject::tr("Load Model File when Project opened"));
    form_.loadUnloadModel = new QPushButton;
    form_.createModelFile = new QPushButton(QObject::tr("Create Model File"));
    auto* modelRow = new QWidget;
    auto* modelLayout = new QHBoxLayout(modelRow);
    modelLayout->setContentsMargins(0, 0, 0, 0);
    modelLayout->addWidget(form_.modelPath, 1);
    modelLayout->addWidget(
        addNoticeButton(QObject::tr("Choose..."), "Choose Model File with Panel"));
    modelLayout->addWidget(
        addNoticeButton(QObject::tr("Change..."), "Change Model File with Panel"));
    modelLayout->addWidget(form_.loadUnloadModel);
    modelLayout->addWidget(form_.createModelFile);
    addRow(QObject::tr("Model File:"), modelRow);
    grid->addWidget(form_.loadsModel, row++, 1);

    form_.resultPath = new QLineEdit;
    form_.loadsResult = new QCheckBox(QObject::tr("Load Result File when Project opened"));
    form_.loadUnloadResult = new QPushButton;
    auto* resultRow = new QWidget;
    auto* resultLayout = new QHBoxLayout(resultRow);
    resultLayout->setContentsMargins(0, 0, 0, 0);
    resultLayout->addWidget(form_.resultPath, 1);
    resultLayout->addWidget(
        addNoticeButton(QObject::tr("Choose..."), "Choose Result File with Panel"));
    resultLayout->addWidget(addNoticeButton(QObject::tr("Change..."), "Change Result File Path"));
    resultLayout->addWidget(form_.loadUnloadResult);
    addRow(QObject::tr("Result File:"), resultRow);
    grid->addWidget(form_.loadsResult, row++, 1);
    firstKeyView_ = form_.title;
}

QPushButton* UFemProjectInfoViewController::addNoticeButton(
    const QString& title, const QString& functionName)
{
    auto* button = new QPushButton(title);
    QObject::connect(button, &QPushButton::clicked, box_.get(),
        [functionName] { UFemNotifyThisFunctionIsNotImplementedYet(functionName); });
    return button;
}

void UFemProjectInfoViewController::connectEdits()
{
    QObject* context = box_.get();
    auto onEdit = [this, context](QLineEdit* field, auto setter) {
        QObject::connect(
            field, &QLineEdit::textEdited, context, [this, setter](const QString& text) {
                (projectDocument().*setter)(optionalText(text));
                refresh();
            });
    };
    onEdit(form_.title, &UFemDocument::setProjectTitleString);
    onEdit(form_.version, &UFemDocument::setProjectVersionString);
    onEdit(form_.modelPath, &UFemDocument::setProjectModelFilePathString);
    onEdit(form_.resultPath, &UFemDocument::setProjectResultFilePathString);
    QObject::connect(form_.comment, &QPlainTextEdit::textChanged, context, [this] {
        if (isRefreshing_)
            return;
        projectDocument().setProjectCommentString(optionalText(form_.comment->toPlainText()));
        refresh();
    });
    QObject::connect(form_.loadsModel, &QCheckBox::clicked, context, [this](bool checked) {
        projectDocument().setProjectDoesLoadModelDataAuto(checked);
        refresh();
    });
    QObject::connect(form_.loadsResult, &QCheckBox::clicked, context, [this](bool checked) {
        projectDocument().setProjectDoesLoadResultDataAuto(checked);
        refresh();
    });
    QObject::connect(form_.loadUnloadModel, &QPushButton::clicked, context,
        [this] { loadUnloadModelDataButtonPushed(); });
    QObject::connect(form_.loadUnloadResult, &QPushButton::clicked, context,
        [this] { loadUnloadResultDataButtonPushed(); });
    QObject::connect(form_.createModelFile, &QPushButton::clicked, context,
        [this] { createModelFileButtonPushed(); });
}

void UFemProjectInfoViewController::refresh()
{
    if (windowController() == nullptr || document() == nullptr)
        return;
    isRefreshing_ = true;
    form_.fileName->setText(projectFileNameString());
    form_.directory->setText(projectDirectoryPathString());
    setTextKeepingCursor(form_.title, projectTitleString());
    setTextKeepingCursor(form_.version, projectVersionString());
    if (form_.comment->toPlainText() != projectCommentString().value_or(QString()))
        form_.comment->setPlainText(projectCommentString().value_or(QString()));
    setTextKeepingCursor(form_.modelPath, projectModelFilePathString());
    setTextKeepingCursor(form_.resultPath, projectResultFilePathString());
    form_.modelPath->setEnabled(canChangeModelFilePath());
    form_.resultPath->setEnabled(canChangeResultFilePath());
    form_.loadsModel->setChecked(projectDoesLoadModelDataAutoActiveState() != 0);
    form_.loadsResult->setChecked(projectDoesLoadResultDataAutoActiveState() != 0);
    form_.loadUnloadModel->setText(loadUnloadModelDataButtonTitleString());
    form_.loadUnloadModel->setEnabled(canLoadUnloadModelData());
    form_.loadUnloadResult->setText(loadUnloadResultDataButtonTitleString());
    form_.loadUnloadResult->setEnabled(canLoadUnloadResultData());
    form_.createModelFile->setEnabled(canCreateModelFile());
    isRefreshing_ = false;
}

void UFemProjectInfoViewController::viewDidSwapIn()
{
    if (firstKeyView_ != nullptr)
        firstKeyView_->setFocus();
    if (!isRegisteredAsObserver_) {
        observation_ = QObject::connect(&projectDocument(), &UFemDocument::valueDidChange,
            box_.get(), [this](const QString&) { refresh(); });
        isRegisteredAsObserver_ = true;
    }
    refresh();
}

void UFemProjectInfoViewController::viewWillSwapOut()
{
    if (!isRegisteredAsObserver_)
        return;
    QObject::disconnect(observation_);
    isRegisteredAsObserver_ = false;
}

// ---- Values

QString UFemProjectInfoViewController::projectFileNameString() const
{
    return projectDocument().projectFileNameString();
}

QString UFemProjectInfoViewController::projectDirectoryPathString() const
{
    return projectDocument().projectDirectoryPathString();
}

std::optional<QString> UFemProjectInfoViewController::projectTitleString() const
{
    return projectDocument().projectTitleString();
}

std::optional<QString> UFemProjectInfoViewController::projectVersionString() const
{
    return projectDocument().projectVersionString();
}

std::optional<QString> UFemProjectInfoViewController::projectCommentString() const
{
    return projectDocument().projectCommentString();
}

std::optional<QString> UFemProjectInfoViewController::projectModelFilePathString() const
{
    return projectDocument().projectModelFilePathString();
}

std::optional<QString> UFemProjectInfoViewController::projectResultFilePathString() const
{
    return projectDocument().projectResultFilePathString();
}

int UFemProjectInfoViewController::projectDoesLoadModelDataAutoActiveState() const
{
    return projectDocument().projectDoesLoadModelDataAuto() ? 1 : 0;
}

int UFemProjectInfoViewController::projectDoesLoadResultDataAutoActiveState() const
{
    return projectDocument().projectDoesLoadResultDataAuto() ? 1 : 0;
}

bool UFemProjectInfoViewController::hasModelData() const
{
    return projectDocument().hasModelData();
}

bool UFemProjectInfoViewController::hasResultData() const
{
    return projectDocument().hasResultData();
}

// Never while a calculation runs on the loaded model: its results would no longer match.
bool UFemProjectInfoViewController::canLoadUnloadModelData() const
{
    if (hasModelData())
        return !projectDocument().isCalculating();
    return projectDocument().isProjectModelFilePathValid();
}

bool UFemProjectInfoViewController::canLoadUnloadResultData() const
{
    return hasResultData() || (hasModelData() && projectDocument().isProjectResultFilePathValid());
}

bool UFemProjectInfoViewController::canCreateModelFile() const
{
    return !hasModelData() && projectDocument().isProjectModelFilePathValid();
}

QString UFemProjectInfoViewController::loadUnloadModelDataButtonTitleString() const
{
    return hasModelData() ? QObject::tr("Unload") : QObject::tr("Load");
}

QString UFemProjectInfoViewController::loadUnloadResultDataButtonTitleString() const
{
    return hasResultData() ? QObject::tr("Unload") : QObject::tr("Load");
}

// ---- Buttons

void UFemProjectInfoViewController::loadUnloadModelDataButtonPushed()
{
    UFemDocument& document = projectDocument();
    if (!canLoadUnloadModelData()) {
        Notifier::beep();
        return;
    }
    if (document.hasModelData() && document.isModelDocumentEdited()) {
        unloadModelAfterAsking();
        return;
    }
    if (document.hasModelData()) {
        document.unloadModelData();
    } else {
        UErrorPtr error;
        if (!document.loadProjectModelData(&error))
            presentError(error);
    }
    refresh();
}

void UFemProjectInfoViewController::unloadModelAfterAsking()
{
    SheetPresenter* sheets = windowController()->sheetPresenter();
    if (sheets == nullptr)
        return;
    Alert alert;
    alert.messageText = QObject::tr("Model Document is Edited.");
    alert.informativeText = QObject::tr(
        "The changes on model document will be lost.\nTo save changes, push 'Cancel' here then "
        "select 'Save' from 'File' menu. Then you can unload model document.");
    alert.buttons = { QObject::tr("Unload Model Document"), QObject::tr("Cancel") };
    QPointer<QWidget> box = box_.get();
    sheets->beginAlertSheet(window(), alert, [this, box](int answer) {
        if (answer != 0 || box == nullptr || windowController() == nullptr)
            return;
        projectDocument().unloadModelData();
        refresh();
    });
}

void UFemProjectInfoViewController::loadUnloadResultDataButtonPushed()
{
    UFemDocument& document = projectDocument();
    if (document.hasResultData()) {
        document.unloadResultData();
    } else {
        UErrorPtr error;
        if (!document.loadProjectResultData(&error))
            presentError(error);
    }
    refresh();
}

void UFemProjectInfoViewController::createModelFileButtonPushed()
{
    UFemDocument& document = projectDocument();
    UErrorPtr error;
    const std::optional<QString> path = document.projectModelFileURL(&error);
    if (!path || !createModelFile(*path, &error) || !document.loadProjectModelData(&error))
        presentError(error);
    refresh();
}

// Never over an existing file or folder; a partly written file is removed.
bool UFemProjectInfoViewController::createModelFile(const QString& path, UErrorPtr* error) const
{
    const QFileInfo existing(path);
    if (existing.isDir()) {
        UFemSetError(error, UFemDirectoryAlreadyExistOfFileNameError_withFilePathString(path));
        return false;
    }
    if (existing.exists() || existing.isSymLink()) {
        UFemSetError(error, UFemFileAlreadyExistError_withFilePathString(path));
        return false;
    }
    const UFemDocument& document = projectDocument();
    const QByteArray text = UFemProjectModelFileText(
        QFileInfo(document.projectModelFilePathString().value_or(QString())).fileName(),
        document.projectFileNameString(), document.projectTitleString().value_or(QString()),
        document.projectCommentString().value_or(QString()))
                                .toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        UFemSetError(error, UFemCreatingFileFailedError_withFilePathString(path));
        return false;
    }
    if (file.write(text) != text.size() || !file.flush()) {
        file.remove();
        UFemSetError(error, UFemCreatingFileFailedError_withFilePathString(path));
        return false;
    }
    return true;
}
