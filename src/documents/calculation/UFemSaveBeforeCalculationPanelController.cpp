#include "documents/calculation/UFemSaveBeforeCalculationPanelController.h"

#include "appkit/SheetPresenter.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

UFemSaveBeforeCalculationPanelController::UFemSaveBeforeCalculationPanelController(
    Delegate delegate)
    : delegate_(std::move(delegate))
{
}

UFemSaveBeforeCalculationPanelController::~UFemSaveBeforeCalculationPanelController() = default;

void UFemSaveBeforeCalculationPanelController::setProjectVersionString(const QString& version)
{
    projectVersionString_ = version;
    if (panel_ && projectVersionField_->text() != version)
        projectVersionField_->setText(version);
}

void UFemSaveBeforeCalculationPanelController::updateProjectVersionStringFromDelegate()
{
    setProjectVersionString(
        delegate_.projectVersionString ? delegate_.projectVersionString() : QString());
    if (panel_)
        projectVersionField_->setFocus();
}

void UFemSaveBeforeCalculationPanelController::beginSheet(
    QWidget* window, SheetPresenter& presenter, std::function<void(int tag)> ended)
{
    presenter.beginSheet(
        window, [this](QWidget* parent) { return makePanel(parent); },
        [ended = std::move(ended)](QDialog&, int tag) {
            if (ended)
                ended(tag);
        });
}

QDialog* UFemSaveBeforeCalculationPanelController::makePanel(QWidget* window)
{
    auto* panel = new QDialog(window);
    panel->setWindowTitle(QStringLiteral("Save Before Calculation"));
    projectVersionField_ = new QLineEdit(projectVersionString_, panel);
    auto* revertButton = new QPushButton(QStringLiteral("Revert"));
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"));
    auto* calculateButton = new QPushButton(QStringLiteral("Calculate without Saving"));
    auto* saveButton = new QPushButton(QStringLiteral("Save and Calculate"));
    saveButton->setDefault(true);
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(new QLabel(QStringLiteral("Project Version:")));
    versionRow->addWidget(projectVersionField_, 1);
    versionRow->addWidget(revertButton);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cancelButton);
    buttonRow->addWidget(calculateButton);
    buttonRow->addWidget(saveButton);
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(versionRow);
    layout->addLayout(buttonRow);

    QObject::connect(projectVersionField_, &QLineEdit::textEdited, &receiver_,
        [this](const QString& text) { projectVersionString_ = text; });
    QObject::connect(revertButton, &QPushButton::clicked, &receiver_,
        [this] { updateProjectVersionStringFromDelegate(); });
    const auto connectTag = [this](QPushButton* button, int tag) {
        QObject::connect(button, &QPushButton::clicked, &receiver_,
            [this, tag] { saveBeforeCalculationPanelButtonPushed(tag); });
    };
    connectTag(saveButton, SaveAndCalculateTag);
    connectTag(calculateButton, CalculateTag);
    connectTag(cancelButton, CancelTag);
    panel_ = panel;
    return panel;
}

void UFemSaveBeforeCalculationPanelController::saveBeforeCalculationPanelButtonPushed(int tag)
{
    if (delegate_.buttonPushed && !delegate_.buttonPushed(tag))
        return;
    if (panel_)
        panel_->done(tag);
}
