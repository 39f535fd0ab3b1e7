#include "documents/mainview/UFemResultInfoViewController.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "documents/mainview/UFemInfoViewBoxView.h"
#include "documents/mainview/UFemInsidePanelTextView.h"
#include "documents/window/UFemWindowDocument.h"

#include <QFormLayout>
#include <QLabel>

UFemResultInfoViewController::UFemResultInfoViewController(UFemWindowController& windowController)
    : UFemInfoViewController(windowController)
    , box_(std::make_unique<UFemResultInfoViewBoxView>())
{
    box_->setObjectName(QStringLiteral("UFemResultInfoView"));
    buildForm();
}

UFemResultInfoViewController::~UFemResultInfoViewController()
{
    finish();
}

void UFemResultInfoViewController::finish()
{
    if (windowController() == nullptr)
        return;
    viewWillSwapOut();
    UFemInfoViewController::finish();
}

QWidget* UFemResultInfoViewController::mainViewBox() const
{
    return box_.get();
}

void UFemResultInfoViewController::buildForm()
{
    auto* layout = new QFormLayout(box_.get());
    form_.title = new QLabel(projectTitleString());
    form_.version = new QLabel(projectVersionString());
    form_.comment = new UFemInsidePanelTextView;
    form_.comment->setPlainText(projectCommentString());
    form_.calculationError = new UFemInsidePanelTextView;
    form_.calculationError->setPlainText(resultDataCalculationErrorString());
    for (UFemInsidePanelTextView* text : { form_.comment, form_.calculationError }) {
        text->setReadOnly(true);
        text->setFont(userFont());
    }
    form_.title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form_.version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addRow(QObject::tr("Project Title:"), form_.title);
    layout->addRow(QObject::tr("Version:"), form_.version);
    layout->addRow(QObject::tr("Comment:"), form_.comment);
    layout->addRow(QObject::tr("Calculation Error:"), form_.calculationError);
}

QString UFemResultInfoViewController::projectTitleString() const
{
    return ufemDocument()->projectTitleString().value_or(QString());
}

QString UFemResultInfoViewController::projectVersionString() const
{
    return ufemDocument()->projectVersionString().value_or(QString());
}

QString UFemResultInfoViewController::projectCommentString() const
{
    return ufemDocument()->projectCommentString().value_or(QString());
}

QString UFemResultInfoViewController::resultDataCalculationErrorString() const
{
    const UFemResultDataManager* results = dataController().resultDataManager();
    const std::optional<QString> text
        = results != nullptr ? results->calculationErrorString() : std::nullopt;
    return text.value_or(QObject::tr("No Error."));
}
