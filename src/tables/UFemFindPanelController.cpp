#include "tables/UFemFindPanelController.h"

#include "appkit/CommandItem.h"
#include "appkit/WindowFront.h"
#include "appkit/WindowTracker.h"
#include "cardmodel/text/UFemStringSearchManager.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/toolbar/UFemCardFilterField.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/errors/UFemErrorsSearchString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("UFemFindPanelController", text);
}

struct CommandButton {
    const char* outlet;
    const char* title;
};

constexpr std::array<CommandButton, UFemFindPanelController::commandCount> commandButtonTexts { {
    { "findNextApplyButtonOutlet", "Next" },
    { "findPreviousApplyButtonOutlet", "Previous" },
    { "replaceSelectionAndFindNextApplyButtonOutlet", "Replace && Find" },
    { "replaceSelectionApplyButtonOutlet", "Replace" },
    { "replaceAllApplyButtonOutlet", "Replace All" },
} };

struct SearchOption {
    int tag;
    const char* title;
};

constexpr std::array<SearchOption, 6> searchOptions { {
    { UFemFindPanelController::CardStringContainsTag, "Card String: Contains" },
    { UFemFindPanelController::CardStringBeginsWithTag, "Card String: Begins With" },
    { UFemFindPanelController::EachColumnContainsTag, "Each Column: Contains" },
    { UFemFindPanelController::EachColumnBeginsWithTag, "Each Column: Begins With" },
    { UFemFindPanelController::CardNameContainsTag, "Card Name: Contains" },
    { UFemFindPanelController::CardNameBeginsWithTag, "Card Name: Begins With" },
} };

template <typename Widget> Widget* outlet(QWidget* parent, const char* name)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox* editableComboBox(QWidget* parent, const char* name)
{
    auto* box = outlet<QComboBox>(parent, name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::InsertAtTop);
    return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* title)
{
    auto* box = outlet<QCheckBox>(parent, name);
    box->setText(tr(title));
    return box;
}

} // namespace

const std::array<QString, UFemFindPanelController::commandCount> UFemFindPanelController::commands {
    UFemFindNextCommand,
    UFemFindPreviousCommand,
    UFemReplaceSelectionAndFindNextCommand,
    UFemReplaceSelectionCommand,
    UFemReplaceAllCommand,
};

UFemFindPanelController::UFemFindPanelController(WindowTracker& tracker)
    : tracker_(tracker)
{
    observe();
}

UFemFindPanelController::~UFemFindPanelController()
{
    for (const QMetaObject::Connection& connection : trackerConnections_)
        QObject::disconnect(connection);
    if (UFemFindPanel::shared() == this)
        UFemFindPanel::setShared(nullptr);
}

// Every change of which window is in front or what it shows may change the target.
void UFemFindPanelController::observe()
{
    UNotificationCenter& center = UNotificationCenter::defaultCenter();
    auto revalidate = [this](const UNotification&) { updateValidateButtons(); };
    for (const QString& name : { UWindowDidResignMainNotification,
             UFemActiveMainViewDidChangeNotification, UFemDocumentLockStatusDidChangeNotification })
        observations_.push_back(center.observe(name, nullptr, revalidate));
    for (auto signal : { &WindowTracker::mainWindowChanged, &WindowTracker::keyWindowChanged })
        trackerConnections_.push_back(
            QObject::connect(&tracker_, signal, [this] { updateValidateButtons(); }));
}

void UFemFindPanelController::loadWindow()
{
    if (window_ == nullptr)
        buildWindow();
}

void UFemFindPanelController::buildWindow()
{
    window_ = std::make_unique<QWidget>(nullptr, Qt::Tool);
    QWidget* panel = window_.get();
    panel->setObjectName(QStringLiteral("UFemFindPanel"));
    panel->setWindowTitle(tr("Find"));
    findStringComboBoxOutlet_ = editableComboBox(panel, "findStringComboBoxOutlet");
    replaceStringComboBoxOutlet_ = editableComboBox(panel, "replaceStringComboBoxOutlet");
    searchOptionPopupButtonOutlet_ = outlet<QComboBox>(panel, "searchOptionPopupButtonOutlet");
    for (const SearchOption& option : searchOptions)
        searchOptionPopupButtonOutlet_->addItem(tr(option.title), option.tag);
    ignoreSpaceCheckButtonOutlet_ = checkBox(panel, "ignoreSpaceCheckButtonOutlet", "Ignore Space");
    ignoreInCommentCheckButtonOutlet_
        = checkBox(panel, "ignoreInCommentCheckButtonOutlet", "Ignore in Comment");
    ignoreCaseCheckButtonOutlet_ = checkBox(panel, "ignoreCaseCheckButtonOutlet", "Ignore Case");
    wrapAroundCheckButtonOutlet_ = checkBox(panel, "wrapAroundCheckButtonOutlet", "Wrap Around");
    wrapAroundCheckButtonOutlet_->setChecked(true);
    replaceAllMessageTextFieldOutlet_ = outlet<QLabel>(panel, "replaceAllMessageTextFieldOutlet");

    auto* fields = new QFormLayout;
    fields->addRow(tr("Find:"), findStringComboBoxOutlet_);
    fields->addRow(tr("Replace:"), replaceStringComboBoxOutlet_);
    fields->addRow(tr("Search:"), searchOptionPopupButtonOutlet_);
    auto* options = new QHBoxLayout;
    for (QCheckBox* box : { ignoreSpaceCheckButtonOutlet_, ignoreInCommentCheckButtonOutlet_,
             ignoreCaseCheckButtonOutlet_, wrapAroundCheckButtonOutlet_ })
        options->addWidget(box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(replaceAllMessageTextFieldOutlet_, 1);
    for (int k = 0; k < commandCount; ++k) {
        QPushButton* button = outlet<QPushButton>(panel, commandButtonTexts[k].outlet);
        button->setText(tr(commandButtonTexts[k].title));
        button->setAutoDefault(false);
        const QString command = commands[k];
        QObject::connect(
            button, &QPushButton::clicked, panel, [this, command] { performFindCommand(command); });
        commandButtons_[k] = button;
        buttons->addWidget(button);
    }
    commandButtons_.front()->setDefault(true);
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(fields);
    layout->addLayout(options);
    layout->addLayout(buttons);
    resetMessageString();
}

void UFemFindPanelController::showFindPanel()
{
    loadWindow();
    WindowFront::bring(*window_);
    findStringComboBoxOutlet_->setFocus(Qt::OtherFocusReason);
    updateValidateButtons();
}

QString UFemFindPanelController::searchString() const
{
    return isWindowLoaded() ? findStringComboBoxOutlet_->currentText() : QString();
}

void UFemFindPanelController::setSearchString(const QString& searchString)
{
    loadWindow();
    findStringComboBoxOutlet_->setCurrentText(searchString);
}

QString UFemFindPanelController::replaceString() const
{
    return isWindowLoaded() ? replaceStringComboBoxOutlet_->currentText() : QString();
}

void UFemFindPanelController::setReplaceAllMessageString(const QString& message)
{
    loadWindow();
    replaceAllMessageTextFieldOutlet_->setText(message);
}

void UFemFindPanelController::resetMessageString()
{
    if (isWindowLoaded())
        replaceAllMessageTextFieldOutlet_->clear();
}

qint64 UFemFindPanelController::searchTarget() const
{
    if (!isWindowLoaded())
        return 0;
    switch (searchOptionPopupButtonOutlet_->currentData().toInt()) {
    case CardStringContainsTag:
    case CardStringBeginsWithTag:
        return ignoreInCommentCheckButtonOutlet_->isChecked()
            ? UFemStringSearchTargetCardStringWithoutComment
            : UFemStringSearchTargetCardString;
    case EachColumnContainsTag:
    case EachColumnBeginsWithTag:
        return UFemStringSearchTargetEachColumn;
    case CardNameContainsTag:
    case CardNameBeginsWithTag:
        return UFemStringSearchTargetCardNameColumn;
    default:
        return 0;
    }
}

qint64 UFemFindPanelController::searchFunction() const
{
    if (!isWindowLoaded())
        return 0;
    switch (searchOptionPopupButtonOutlet_->currentData().toInt()) {
    case CardStringContainsTag:
    case EachColumnContainsTag:
    case CardNameContainsTag:
        return UFemStringSearchFunctionContains;
    case CardStringBeginsWithTag:
    case EachColumnBeginsWithTag:
    case CardNameBeginsWithTag:
        return UFemStringSearchFunctionBeginsWith;
    default:
        return 0;
    }
}

bool UFemFindPanelController::doesSearchIgnoreSpace() const
{
    return isWindowLoaded() && ignoreSpaceCheckButtonOutlet_->isChecked();
}

bool UFemFindPanelController::doesSearchIgnoreCase() const
{
    return isWindowLoaded() && ignoreCaseCheckButtonOutlet_->isChecked();
}

bool UFemFindPanelController::doesSearchWrapAround() const
{
    return isWindowLoaded() && wrapAroundCheckButtonOutlet_->isChecked();
}

std::shared_ptr<UFemStringSearchManager>
UFemFindPanelController::stringSearchManagerWithDoesSearchBackDirection(
    bool doesSearchBackDirection, UErrorPtr* error)
{
    const QString string = searchString();
    if (string.isEmpty()) {
        UFemSetError(error, UFemEmptySearchStringError());
        return nullptr;
    }
    return UFemStringSearchManager::stringSearchManagerWithSearchString(string, searchFunction(),
        searchTarget(), doesSearchBackDirection, doesSearchIgnoreSpace(), doesSearchIgnoreCase(),
        doesSearchWrapAround(), error);
}

// The main window when it is a document window, else the frontmost shown document window.
UFemWindowController* UFemFindPanelController::frontDocumentWindowController() const
{
    if (auto* main = dynamic_cast<UFemWindowController*>(tracker_.mainWindowController()))
        return main;
    for (WindowController* controller : tracker_.orderedWindowControllers()) {
        auto* window = dynamic_cast<UFemWindowController*>(controller);
        if (window != nullptr && window->window() != nullptr && window->window()->isVisible())
            return window;
    }
    return nullptr;
}

CommandTarget* UFemFindPanelController::findPanelActionTargetObject() const
{
    UFemWindowController* window = frontDocumentWindowController();
    if (window == nullptr || window->mainViewController() == nullptr)
        return nullptr;
    if (qobject_cast<UFemCardFilterField*>(window->window()->focusWidget()) != nullptr)
        return nullptr;
    const UFemViewType type = window->viewType();
    if (type != UFemViewTypeCard && type != UFemViewTypeGraphic)
        return nullptr;
    return window->mainViewController();
}

void UFemFindPanelController::performFindCommand(const QString& command)
{
    CommandTarget* target = findPanelActionTargetObject();
    if (target == nullptr || !target->respondsToCommand(command))
        return;
    CommandItem item(command);
    if (!target->validateCommand(item))
        return;
    target->performCommand(item);
}

void UFemFindPanelController::updateValidateButtons()
{
    if (!isWindowLoaded())
        return;
    CommandTarget* target = findPanelActionTargetObject();
    for (int k = 0; k < commandCount; ++k) {
        CommandItem item(commands[k]);
        commandButtons_[k]->setEnabled(target != nullptr && target->respondsToCommand(commands[k])
            && target->validateCommand(item));
    }
    resetMessageString();
}

QPushButton* UFemFindPanelController::commandButton(const QString& command) const
{
    for (int k = 0; k < commandCount; ++k)
        if (commands[k] == command)
            return commandButtons_[k];
    return nullptr;
}
