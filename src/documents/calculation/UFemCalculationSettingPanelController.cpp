#include "documents/calculation/UFemCalculationSettingPanelController.h"

#include "appkit/FilePanels.h"
#include "appkit/SheetPresenter.h"
#include "foundation/errors/UFemErrorsFile.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString UntitledResultFileName = QStringLiteral("Untitled.vtresult");

} // namespace

QString UFemStandardizedPathString(const QString& path)
{
    QString expanded = path;
    if (expanded == QStringLiteral("~") || expanded.startsWith(QStringLiteral("~/")))
        expanded.replace(0, 1, QDir::homePath());
    return QDir::cleanPath(expanded);
}

QString UFemAbbreviatedPathString(const QString& path)
{
    const QString home = QDir::homePath();
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

UFemCalculationSettingPanelController::UFemCalculationSettingPanelController(
    UFemCalculationSettingPanelDelegate* delegate)
    : delegate_(delegate)
{
    reset();
}

UFemCalculationSettingPanelController::~UFemCalculationSettingPanelController() = default;

void UFemCalculationSettingPanelController::setDoesSaveResultFile(bool doesSave)
{
    doesSaveResultFile_ = doesSave;
    if (!doesSave && !doesLoadWhenDone_)
        doesLoadWhenDone_ = true;
    updateControls();
}

void UFemCalculationSettingPanelController::setDoesLoadWhenDone(bool doesLoad)
{
    doesLoadWhenDone_ = doesLoad;
    if (!doesLoad && !doesSaveResultFile_)
        doesSaveResultFile_ = true;
    updateControls();
}

void UFemCalculationSettingPanelController::setResultFilePathString(const QString& path)
{
    resultFilePathString_ = path;
    updateControls();
}

void UFemCalculationSettingPanelController::reset()
{
    baseURL_.clear();
    doesLoadWhenDone_ = true;
    resultFilePathString_ = UntitledResultFileName;
    doesSaveResultFile_ = true;
    updateControls();
}

std::optional<QString> UFemCalculationSettingPanelController::resultFileURL(UErrorPtr* error) const
{
    const QString& path = resultFilePathString_;
    if (path.size() <= ResultFileExtension.size() + 1
        || QFileInfo(path).suffix() != ResultFileExtension) {
        UFemSetError(error, UFemFilePathStringError_withFilePathString(path));
        return std::nullopt;
    }
    const QString standardized = UFemStandardizedPathString(path);
    if (QDir::isAbsolutePath(standardized))
        return standardized;
    if (baseURL_.isEmpty()) {
        UFemSetError(error,
            UFemFilePathStringError_withFilePathString(
                QStringLiteral("%1 (not absolute path)").arg(standardized)));
        return std::nullopt;
    }
    return QDir::cleanPath(QFileInfo(baseURL_).absoluteDir().filePath(standardized));
}

void UFemCalculationSettingPanelController::beginSheet(
    QWidget* window, SheetPresenter& presenter, FilePanels& filePanels)
{
    filePanels_ = &filePanels;
    presenter.beginSheet(window, [this](QWidget* parent) { return makePanel(parent); }, {});
}

QDialog* UFemCalculationSettingPanelController::makePanel(QWidget* window)
{
    auto* panel = new QDialog(window);
    panel->setWindowTitle(QStringLiteral("Calculation Setting"));
    doesSaveResultFileSwitch_ = new QCheckBox(QStringLiteral("Save result file"));
    resultFilePathField_ = new QLineEdit;
    auto* changeButton = new QPushButton(QStringLiteral("Change..."));
    doesLoadWhenDoneSwitch_ = new QCheckBox(QStringLiteral("Load result data when done"));
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"));
    auto* okButton = new QPushButton(QStringLiteral("OK"));
    okButton->setDefault(true);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(resultFilePathField_, 1);
    pathRow->addWidget(changeButton);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cancelButton);
    buttonRow->addWidget(okButton);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(doesSaveResultFileSwitch_);
    layout->addLayout(pathRow);
    layout->addWidget(doesLoadWhenDoneSwitch_);
    layout->addLayout(buttonRow);

    QObject::connect(doesSaveResultFileSwitch_, &QCheckBox::clicked, &receiver_,
        [this](bool checked) { setDoesSaveResultFile(checked); });
    QObject::connect(doesLoadWhenDoneSwitch_, &QCheckBox::clicked, &receiver_,
        [this](bool checked) { setDoesLoadWhenDone(checked); });
    QObject::connect(resultFilePathField_, &QLineEdit::textEdited, &receiver_,
        [this](const QString& text) { resultFilePathString_ = text; });
    QObject::connect(changeButton, &QPushButton::clicked, &receiver_,
        [this] { calculationSettingPanelChangeFilePathButtonPushed(); });
    QObject::connect(okButton, &QPushButton::clicked, &receiver_,
        [this] { calculationSettingPanelButtonPushed(OKTag); });
    QObject::connect(cancelButton, &QPushButton::clicked, &receiver_,
        [this] { calculationSettingPanelButtonPushed(CancelTag); });
    panel_ = panel;
    updateControls();
    return panel;
}

void UFemCalculationSettingPanelController::updateControls()
{
    if (!panel_)
        return;
    doesSaveResultFileSwitch_->setChecked(doesSaveResultFile_);
    doesLoadWhenDoneSwitch_->setChecked(doesLoadWhenDone_);
    if (resultFilePathField_->text() != resultFilePathString_)
        resultFilePathField_->setText(resultFilePathString_);
    resultFilePathField_->setEnabled(doesSaveResultFile_);
}

void UFemCalculationSettingPanelController::calculationSettingPanelButtonPushed(int tag)
{
    if (delegate_ && !delegate_->calculationSettingPanelButtonPushed(*this, tag))
        return;
    if (panel_)
        panel_->done(tag);
}

void UFemCalculationSettingPanelController::calculationSettingPanelChangeFilePathButtonPushed()
{
    if (filePanels_ == nullptr)
        return;
    SavePanelOptions options;
    options.title = QStringLiteral("Result File Name");
    UErrorPtr invalidPath;
    const std::optional<QString> current = resultFileURL(&invalidPath);
    const QFileInfo start(current ? *current : QDir::home().filePath(UntitledResultFileName));
    options.directory = start.absolutePath();
    options.fileName = start.fileName();
    options.allowedExtensions = { ResultFileExtension };
    options.prompt = QStringLiteral("OK");
    filePanels_->beginSavePanel(panel_, options, [this](const QString& path) {
        if (!path.isNull())
            setResultFilePathString(UFemAbbreviatedPathString(path));
    });
}
