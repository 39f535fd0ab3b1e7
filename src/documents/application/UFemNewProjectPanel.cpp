#include "documents/application/UFemNewProjectPanel.h"

#include "appkit/DocumentController.h"
#include "appkit/FilePanels.h"
#include "appkit/SheetPresenter.h"
#include "documents/document/UFemDocumentType.h"
#include "foundation/errors/UFemErrorsFile.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString HomeAbbreviation = QStringLiteral("~");
const QString Slash = QStringLiteral("/");
constexpr int DescriptionMinimumWidth = 420;

QString withTrailingSlash(const QString& path)
{
    return path.endsWith(Slash) ? path : path + Slash;
}

// "~" expanded and the path cleaned, without a trailing "/".
QString standardizedPath(const QString& path)
{
    QString expanded = path;
    if (path == HomeAbbreviation || path.startsWith(HomeAbbreviation + Slash))
        expanded = QDir::homePath() + path.mid(HomeAbbreviation.size());
    return QDir::cleanPath(expanded);
}

QString abbreviatedPath(const QString& path)
{
    const QString home = QDir::cleanPath(QDir::homePath());
    if (path == home)
        return HomeAbbreviation;
    if (path.startsWith(home + Slash))
        return HomeAbbreviation + path.mid(home.size());
    return path;
}

bool isPlainFileName(const QString& name)
{
    return !name.contains(Slash) && name != QStringLiteral(".") && name != QStringLiteral("..");
}

} // namespace

UFemNewProjectPanel::UFemNewProjectPanel(DocumentController& documentController,
    SheetPresenter& sheets, FilePanels& panels, QWidget* parent)
    : QDialog(parent)
    , documentController_(documentController)
    , sheets_(sheets)
    , panels_(panels)
    , nameField_(new QLineEdit)
    , directoryField_(new QLineEdit)
    , createDirectoryBox_(new QCheckBox(tr("Create project directory")))
    , descriptionLabel_(new QLabel)
{
    setWindowTitle(tr("New Project"));
    auto* chooseButton = new QPushButton(tr("Choose..."));
    auto* directoryRow = new QHBoxLayout;
    directoryRow->addWidget(directoryField_, 1);
    directoryRow->addWidget(chooseButton);
    auto* form = new QFormLayout;
    form->addRow(tr("Project Name:"), nameField_);
    form->addRow(tr("Directory:"), directoryRow);
    form->addRow(QString(), createDirectoryBox_);
    descriptionLabel_->setWordWrap(true);
    descriptionLabel_->setMinimumWidth(DescriptionMinimumWidth);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    applyButton_ = buttons->addButton(tr("Apply"), QDialogButtonBox::AcceptRole);
    applyButton_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(descriptionLabel_);
    layout->addWidget(buttons);

    // Only the user's edits switch modes; the panel's own updates of the fields do not.
    connect(nameField_, &QLineEdit::textEdited, this, &UFemNewProjectPanel::setProjectNameString);
    connect(directoryField_, &QLineEdit::textEdited, this,
        &UFemNewProjectPanel::setDirectoryPathString);
    connect(createDirectoryBox_, &QCheckBox::clicked, this,
        [this] { setDoesCreateProjectDirectoryActiveState(0); });
    connect(chooseButton, &QPushButton::clicked, this, &UFemNewProjectPanel::chooseDirectory);
    connect(applyButton_, &QPushButton::clicked, this, &UFemNewProjectPanel::apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    reset();
}

UFemNewProjectPanel::~UFemNewProjectPanel() = default;

void UFemNewProjectPanel::reset()
{
    projectName_.clear();
    isAuto_ = true;
    chosenDirectory_ = HomeAbbreviation + Slash;
    manualDirectory_.clear();
    doesCreateProjectDirectory_ = true;
    refresh();
}

void UFemNewProjectPanel::setProjectNameString(const QString& name)
{
    projectName_ = name;
    refresh();
}

QString UFemNewProjectPanel::directoryPathString() const
{
    if (!isAuto_)
        return manualDirectory_;
    if (doesCreateProjectDirectory_ && !projectName_.isEmpty())
        return chosenDirectory_ + projectName_ + Slash;
    return chosenDirectory_;
}

void UFemNewProjectPanel::setDirectoryPathString(const QString& directory)
{
    isAuto_ = false;
    manualDirectory_ = directory;
    refresh();
}

int UFemNewProjectPanel::doesCreateProjectDirectoryActiveState() const
{
    if (!isAuto_)
        return -1;
    return doesCreateProjectDirectory_ ? 1 : 0;
}

void UFemNewProjectPanel::setDoesCreateProjectDirectoryActiveState(int)
{
    doesCreateProjectDirectory_ = !doesCreateProjectDirectory_;
    refresh();
}

QString UFemNewProjectPanel::descriptionString() const
{
    const QString directory = directoryPathString();
    if (projectName_.isEmpty() || directory.isEmpty())
        return QString();
    const QString shown = withTrailingSlash(directory);
    if (!isAuto_)
        return tr("The project directory %1 will be created if necessary, and the project file "
                  "%2.vtproj will be created therein.")
            .arg(shown, projectName_);
    if (doesCreateProjectDirectory_)
        return tr("The project directory %1 will be created, and the project file %2.vtproj will "
                  "be created therein.")
            .arg(shown, projectName_);
    return tr("The project file %1.vtproj will be created in the directory %2.")
        .arg(projectName_, shown);
}

bool UFemNewProjectPanel::canApply() const
{
    return !projectName_.isEmpty() && !directoryPathString().isEmpty();
}

void UFemNewProjectPanel::chooseDirectory()
{
    OpenPanelOptions options;
    options.directory = standardizedPath(chosenDirectory_);
    options.canChooseFiles = false;
    options.canChooseDirectories = true;
    options.canCreateDirectories = true;
    options.prompt = tr("Choose");
    panels_.beginOpenPanel(this, options, [this](const QStringList& paths) {
        if (!paths.isEmpty())
            directoryChosen(paths.first());
    });
}

void UFemNewProjectPanel::directoryChosen(const QString& path)
{
    chosenDirectory_ = withTrailingSlash(abbreviatedPath(QDir::cleanPath(path)));
    isAuto_ = true;
    refresh();
}

bool UFemNewProjectPanel::apply()
{
    UErrorPtr error;
    QString file;
    if (!createProjectFile(&file, &error)
        || documentController_.openDocument(file, true, &error) == nullptr) {
        sheets_.presentError(this, *error);
        return false;
    }
    hide();
    return true;
}

bool UFemNewProjectPanel::createProjectFile(QString* file, UErrorPtr* error) const
{
    const QString directory = standardizedPath(directoryPathString());
    *file = QDir(directory).filePath(projectName_ + QLatin1Char('.') + UFemProjectFileExtension);
    // A relative directory would land wherever the program was started.
    if (!QDir::isAbsolutePath(directory) || !isPlainFileName(projectName_)) {
        UFemSetError(error, UFemFilePathStringError_withFilePathString(*file));
        return false;
    }
    if (!prepareDirectory(directory, error))
        return false;
    const QFileInfo existing(*file);
    if (existing.exists() || existing.isSymLink()) {
        UFemSetError(error,
            existing.isDir() ? UFemDirectoryAlreadyExistOfFileNameError_withFilePathString(*file)
                             : UFemFileAlreadyExistError_withFilePathString(*file));
        return false;
    }
    // Exclusive: a file made meanwhile by someone else is never overwritten.
    QFile created(*file);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        UFemSetError(error, UFemCreatingFileFailedError_withFilePathString(*file));
        return false;
    }
    return true;
}

bool UFemNewProjectPanel::prepareDirectory(const QString& directory, UErrorPtr* error) const
{
    const QFileInfo info(directory);
    const bool mustCreate = isAuto_ && doesCreateProjectDirectory_;
    if (isAuto_ && !mustCreate && !info.exists()) {
        UFemSetError(error, UFemDirectoryNotExistError_withDirectoryPathString(directory));
        return false;
    }
    if (mustCreate && info.exists()) {
        UFemSetError(error,
            info.isDir()
                ? UFemDirectoryAlreadyExistError_withDirectoryPathString(directory)
                : UFemFileAlreadyExistOfDirectoryNameError_withDirectoryPathString(directory));
        return false;
    }
    if (!info.exists()) {
        if (!QDir().mkdir(directory)) {
            UFemSetError(
                error, UFemCreatingDirectoryFailedError_withDirectoryPathString(directory));
            return false;
        }
        return true;
    }
    if (!info.isDir()) {
        UFemSetError(
            error, UFemDirectoryNotExistButFileExistError_withDirectoryPathString(directory));
        return false;
    }
    return true;
}

void UFemNewProjectPanel::refresh()
{
    if (nameField_->text() != projectName_)
        nameField_->setText(projectName_);
    if (!directoryField_->hasFocus() || isAuto_)
        directoryField_->setText(directoryPathString());
    const int state = doesCreateProjectDirectoryActiveState();
    createDirectoryBox_->setTristate(state < 0);
    createDirectoryBox_->setCheckState(
        state < 0 ? Qt::PartiallyChecked : (state > 0 ? Qt::Checked : Qt::Unchecked));
    descriptionLabel_->setText(descriptionString());
    applyButton_->setEnabled(canApply());
}
