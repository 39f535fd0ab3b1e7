#include "documents/toolbar/UFemWindowToolbar.h"

#include "appkit/Document.h"
#include "appkit/DocumentController.h"
#include "appkit/Notifier.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "documents/application/UFemApplicationCommandHooks.h"
#include "documents/mainview/UFemGraphicMoveModeController.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/toolbar/UFemCardFilterField.h"
#include "documents/toolbar/UFemCasePopup.h"
#include "documents/toolbar/UFemViewSettingPopup.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowDocument.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/errors/UException.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int ViewTypePopupWidth[] = { 100, 120 };
constexpr int ViewSettingPopupWidth[] = { 100, 128 };
constexpr int CasePopupWidth[] = { 100, 200 };
constexpr int CardFilterFieldWidth[] = { 100, 1024 };
constexpr int ItemSpacing = 2;

// The segments of the move mode switch, by their move modes.
const std::pair<quint64, const char*> MoveModeSegments[] = {
    { 1, QT_TRANSLATE_NOOP("UFemWindowToolbar", "Pointer") },
    { 2, QT_TRANSLATE_NOOP("UFemWindowToolbar", "Move") },
    { 3, QT_TRANSLATE_NOOP("UFemWindowToolbar", "Rotate") },
    { 4, QT_TRANSLATE_NOOP("UFemWindowToolbar", "Roll") },
    { 5, QT_TRANSLATE_NOOP("UFemWindowToolbar", "Zoom") },
};
constexpr quint64 PointerMoveMode = 1;

bool canPerformOn(CommandTarget* target, const QString& command)
{
    if (target == nullptr || !target->respondsToCommand(command))
        return false;
    CommandItem item(command);
    return target->validateCommand(item);
}

bool performOn(CommandTarget* target, const QString& command)
{
    if (!canPerformOn(target, command))
        return false;
    CommandItem item(command);
    target->performCommand(item);
    return true;
}

} // namespace

struct UFemWindowToolbar::Item {
    QString identifier;
    QString label;
    QWidget* control;
};

UFemWindowToolbar::UFemWindowToolbar(UFemWindowController& windowController)
    : windowController_(windowController)
    , toolbar_(new QToolBar)
{
    toolbar_->setObjectName(UFemWindowToolbarIdentifier);
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    buildItems();
    if (auto* layout = qobject_cast<QBoxLayout*>(windowController_.window()->layout()))
        layout->insertWidget(0, toolbar_);
    else
        toolbar_->setParent(windowController_.window());
}

UFemWindowToolbar::~UFemWindowToolbar()
{
    finish();
}

QStringList UFemWindowToolbar::toolbarDefaultItemIdentifiers(const QString& toolbarIdentifier)
{
    if (toolbarIdentifier != UFemWindowToolbarIdentifier)
        return {};
    return { OpenModelEditWindowToolbarItemIdentifier, SaveDocumentToolbarItemIdentifier,
        ToolbarSeparatorItemIdentifier, ViewTypePopupToolbarItemIdentifier,
        GraphicMoveModeSwitchToolbarItemIdentifier, ViewSettingPopupToolbarItemIdentifier,
        CasePopupToolbarItemIdentifier, CardFilterTextFieldToolbarItemIdentifier };
}

QStringList UFemWindowToolbar::toolbarAllowedItemIdentifiers(const QString& toolbarIdentifier)
{
    Q_UNUSED(toolbarIdentifier);
    return { OpenModelEditWindowToolbarItemIdentifier, SaveDocumentToolbarItemIdentifier,
        ViewTypePopupToolbarItemIdentifier, GraphicMoveModeSwitchToolbarItemIdentifier,
        ViewSettingPopupToolbarItemIdentifier, CasePopupToolbarItemIdentifier,
        CardFilterTextFieldToolbarItemIdentifier, CardTypePopupToolbarItemIdentifier,
        ToolbarPrintItemIdentifier, ToolbarCustomizeItemIdentifier,
        ToolbarFlexibleSpaceItemIdentifier, ToolbarSpaceItemIdentifier,
        ToolbarSeparatorItemIdentifier };
}

void UFemWindowToolbar::buildItems()
{
    addItem(OpenModelEditWindowToolbarItemIdentifier, tr("ModelEditWindow"),
        tr("Open ModelEditWindow"),
        makeCommandButton(UFemOpenModelEditWindowCommand, QStringLiteral("editwindow_icon"),
            QStyle::SP_FileDialogDetailedView),
        0, 0);
    addItem(SaveDocumentToolbarItemIdentifier, tr("Save"), tr("Save Document"),
        makeCommandButton(
            SaveDocumentCommand, QStringLiteral("save_icon"), QStyle::SP_DialogSaveButton),
        0, 0);
    toolbar_->addSeparator();
    itemIdentifiers_.append(ToolbarSeparatorItemIdentifier);
    addItem(ViewTypePopupToolbarItemIdentifier, tr("View"),
        tr("Choose 'Card View' or '3D Graphic View'"), makeViewTypePopup(), ViewTypePopupWidth[0],
        ViewTypePopupWidth[1]);
    addItem(GraphicMoveModeSwitchToolbarItemIdentifier, tr("Graphic Mode"),
        tr("Choose Pointer Arrow or Graphic Move Mode"), makeMoveModeSwitch(), 0, 0);
    viewSettingPopup_ = new UFemViewSettingPopup(windowController_);
    addItem(ViewSettingPopupToolbarItemIdentifier, tr("View Setting"), tr("View Setting"),
        viewSettingPopup_, ViewSettingPopupWidth[0], ViewSettingPopupWidth[1]);
    casePopup_ = new UFemCasePopup(windowController_);
    addItem(CasePopupToolbarItemIdentifier, tr("Case"), tr("Case Select"), casePopup_,
        CasePopupWidth[0], CasePopupWidth[1]);
    cardFilterField_ = new UFemCardFilterField;
    connect(cardFilterField_, &UFemCardFilterField::filterEntered, this,
        &UFemWindowToolbar::cardFilterTextFieldChanged);
    addItem(CardFilterTextFieldToolbarItemIdentifier, tr("Card Filter"),
        tr("Set Card Filter of cards on this window."), cardFilterField_, CardFilterFieldWidth[0],
        CardFilterFieldWidth[1]);
}

// A control with its label under it; widths of 0 keep the control's own.
QWidget* UFemWindowToolbar::addItem(const QString& identifier, const QString& label,
    const QString& toolTip, QWidget* control, int minimumWidth, int maximumWidth)
{
    auto* box = new QWidget;
    box->setObjectName(identifier);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(ItemSpacing, 0, ItemSpacing, 0);
    layout->setSpacing(ItemSpacing);
    if (minimumWidth > 0) {
        // Never narrower than the control needs for its longest item.
        const int needed = control->sizeHint().width();
        control->setMinimumWidth(std::max(minimumWidth, needed));
        control->setMaximumWidth(std::max(maximumWidth, needed));
    }
    control->setToolTip(toolTip);
    layout->addWidget(control, 0, Qt::AlignHCenter);
    auto* caption = new QLabel(label);
    caption->setAlignment(Qt::AlignHCenter);
    layout->addWidget(caption, 0, Qt::AlignHCenter);
    if (identifier == CardFilterTextFieldToolbarItemIdentifier)
        box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar_->addWidget(box);
    itemIdentifiers_.append(identifier);
    items_.push_back({ identifier, label, control });
    return box;
}

QToolButton* UFemWindowToolbar::makeCommandButton(
    const QString& command, const QString& objectName, int icon)
{
    auto* button = new QToolButton;
    button->setObjectName(objectName);
    button->setIcon(toolbar_->style()->standardIcon(QStyle::StandardPixmap(icon)));
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, [this, command] { sendCommand(command); });
    return button;
}

QComboBox* UFemWindowToolbar::makeViewTypePopup()
{
    viewTypePopup_ = new QComboBox;
    viewTypePopup_->setObjectName(QStringLiteral("toolbarViewTypePopupOutlet"));
    viewTypePopup_->addItem(tr("Card View"), quint64(UFemViewTypeCard));
    viewTypePopup_->addItem(tr("3D Graphic View"), quint64(UFemViewTypeGraphic));
    viewTypePopup_->addItem(tr("Project Info"), quint64(UFemViewTypeInfo));
    connect(viewTypePopup_, &QComboBox::activated, this, [this](int index) {
        windowController_.setViewTypeMenuTag(viewTypePopup_->itemData(index).toULongLong());
    });
    return viewTypePopup_;
}

QWidget* UFemWindowToolbar::makeMoveModeSwitch()
{
    moveModeSwitchBox_ = new QWidget;
    moveModeSwitchBox_->setObjectName(QStringLiteral("toolbarGraphicMoveModeSwitchOutlet"));
    auto* row = new QHBoxLayout(moveModeSwitchBox_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    moveModeSwitch_ = new QButtonGroup(moveModeSwitchBox_);
    moveModeSwitch_->setExclusive(true);
    for (const auto& [mode, title] : MoveModeSegments) {
        auto* segment = new QToolButton;
        segment->setText(tr(title));
        segment->setCheckable(true);
        row->addWidget(segment);
        moveModeSwitch_->addButton(segment, int(mode));
    }
    connect(moveModeSwitch_, &QButtonGroup::idClicked, this,
        [this](int mode) { setGraphicMoveModeMenuTag(quint64(mode)); });
    return moveModeSwitchBox_;
}

void UFemWindowToolbar::setupToolbar()
{
    finish();
    auto& center = UNotificationCenter::defaultCenter();
    observations_.push_back(center.observe(UFemActiveMainViewDidChangeNotification,
        &windowController_, [this](const UNotification&) { activeMainViewDidChange(); }));
    observations_.push_back(center.observe(UFemGraphicMoveModeDidChangeNotification, nullptr,
        [this](const UNotification&) { updateToolbarGraphicMoveModeMenu(); }));
    observations_.push_back(center.observe(UFemWindowCurrentCaseDidChangeNotification,
        &windowController_, [this](const UNotification&) { updateToolbarCaseMenu(); }));
    UFemDataController& model = windowController_.dataController();
    UNotificationCenter* modelCenter = model.notificationCenter();
    observations_.push_back((modelCenter != nullptr ? *modelCenter : center)
                                .observe(UFemModelDataDidChangeNotification, &model,
                                    [this](const UNotification&) { updateToolbarCaseMenu(); }));
    if (Document* document = windowController_.document())
        editedConnection_
            = connect(document, &Document::editedChanged, this, [this] { validateToolbarItems(); });
    activeMainViewDidChange();
}

void UFemWindowToolbar::finish()
{
    observations_.clear();
    disconnect(editedConnection_);
}

QString UFemWindowToolbar::itemLabel(const QString& identifier) const
{
    for (const Item& item : items_) {
        if (item.identifier == identifier)
            return item.label;
    }
    return {};
}

QWidget* UFemWindowToolbar::itemControl(const QString& identifier) const
{
    for (const Item& item : items_) {
        if (item.identifier == identifier)
            return item.control;
    }
    return nullptr;
}

bool UFemWindowToolbar::validateToolbarItem(const QString& identifier) const
{
    if (identifier == SaveDocumentToolbarItemIdentifier) {
        const Document* document = windowController_.document();
        return document != nullptr && document->isDocumentEdited();
    }
    // As its menu item: enabled only when someone takes the command.
    if (identifier == OpenModelEditWindowToolbarItemIdentifier)
        return canSendCommand(UFemOpenModelEditWindowCommand);
    return identifier == ViewTypePopupToolbarItemIdentifier
        || identifier == GraphicMoveModeSwitchToolbarItemIdentifier
        || identifier == ViewSettingPopupToolbarItemIdentifier
        || identifier == CasePopupToolbarItemIdentifier
        || identifier == CardFilterTextFieldToolbarItemIdentifier
        || identifier == CardTypePopupToolbarItemIdentifier
        || identifier == ToolbarPrintItemIdentifier;
}

// The item itself; the controls inside set their own state in the refreshers.
void UFemWindowToolbar::validateToolbarItems()
{
    for (const Item& item : items_)
        item.control->parentWidget()->setEnabled(validateToolbarItem(item.identifier));
}

// The targets the toolbar's commands go to, first to last.
std::vector<CommandTarget*> UFemWindowToolbar::commandTargets() const
{
    Document* document = windowController_.document();
    DocumentController* controller = document != nullptr ? document->documentController() : nullptr;
    return { &windowController_, document, controller };
}

bool UFemWindowToolbar::canSendCommand(const QString& command) const
{
    if (commandValidator_)
        return commandValidator_(command);
    CommandItem item(command);
    return std::ranges::any_of(commandTargets(), [&command](CommandTarget* target) {
        return canPerformOn(target, command);
    }) || UFemApplicationCommandHooks::validate(item);
}

void UFemWindowToolbar::sendCommand(const QString& command)
{
    if (commandSender_) {
        if (!commandSender_(command))
            Notifier::beep();
        return;
    }
    CommandItem item(command);
    if (!std::ranges::any_of(commandTargets(),
            [&command](CommandTarget* target) { return performOn(target, command); })
        && !UFemApplicationCommandHooks::perform(item))
        Notifier::beep();
}

UFemViewType UFemWindowToolbar::shownViewType() const
{
    return windowController_.mainViewController() != nullptr ? windowController_.viewType()
                                                             : UFemViewTypeNone;
}

void UFemWindowToolbar::activeMainViewDidChange()
{
    updateToolbarControls();
}

void UFemWindowToolbar::updateToolbarControls()
{
    updateToolbarViewTypeMenu();
    updateToolbarGraphicMoveModeMenu();
    updateToolbarViewSettingMenu();
    updateToolbarCaseMenu();
    updateToolbarCardFilterTextField();
    validateToolbarItems();
}

void UFemWindowToolbar::updateToolbarViewTypeMenu()
{
    const UFemWindowDocument* document = windowController_.ufemDocument();
    if (document == nullptr)
        return;
    auto* model = qobject_cast<QStandardItemModel*>(viewTypePopup_->model());
    const UFemDocumentType type = document->documentType();
    for (int index = 0; index < viewTypePopup_->count(); ++index) {
        QStandardItem* item = model->item(index);
        const quint64 tag = item->data(Qt::UserRole).toULongLong();
        if (tag != UFemViewTypeInfo) {
            item->setEnabled(document->hasModelData());
            continue;
        }
        item->setEnabled(type == UFemDocumentTypeProject || type == UFemDocumentTypeResult);
        item->setText(type == UFemDocumentTypeResult ? tr("Result Info") : tr("Project Info"));
    }
    const int shown = viewTypePopup_->findData(quint64(shownViewType()));
    viewTypePopup_->setCurrentIndex(shown);
}

quint64 UFemWindowToolbar::graphicMoveModeMenuTag() const
{
    const UFemGraphicMoveModeController* graphic = moveModeController();
    return graphic != nullptr ? graphic->objectMoveMode() : PointerMoveMode;
}

UFemGraphicMoveModeController* UFemWindowToolbar::moveModeController() const
{
    return shownViewType() == UFemViewTypeGraphic
        ? dynamic_cast<UFemGraphicMoveModeController*>(windowController_.mainViewController())
        : nullptr;
}

bool UFemWindowToolbar::isGraphicMoveModeAvailable() const
{
    return moveModeController() != nullptr;
}

void UFemWindowToolbar::setGraphicMoveModeMenuTag(quint64 tag)
{
    UFemGraphicMoveModeController* graphic = moveModeController();
    if (graphic == nullptr)
        UFemRaiseProgramError(QStringLiteral(
            "(mainViewController==nil) or (mainViewController!=graphicViewController)"));
    postFromWindow(UFemGraphicMoveModeWillChangeNotification);
    graphic->setObjectMoveMode(tag);
    postFromWindow(UFemGraphicMoveModeDidChangeNotification);
}

void UFemWindowToolbar::postFromWindow(const QString& name) const
{
    UNotificationCenter::defaultCenter().post(name, &windowController_);
}

void UFemWindowToolbar::updateToolbarGraphicMoveModeMenu()
{
    // A stand-in for the 3-D view takes no move modes.
    const bool isAvailable = isGraphicMoveModeAvailable();
    moveModeSwitchBox_->setEnabled(isAvailable);
    if (!isAvailable)
        return;
    if (QAbstractButton* segment = moveModeSwitch_->button(int(graphicMoveModeMenuTag())))
        segment->setChecked(true);
}

void UFemWindowToolbar::updateToolbarViewSettingMenu()
{
    viewSettingPopup_->updateToolbarViewSettingMenu();
}

void UFemWindowToolbar::updateToolbarCaseMenu()
{
    casePopup_->updateToolbarCaseMenu();
}

void UFemWindowToolbar::updateToolbarCardFilterTextField()
{
    const UFemWindowDocument* document = windowController_.ufemDocument();
    cardFilterField_->showFilter(
        windowController_.filterString(), windowController_.cardFilterError());
    cardFilterField_->setEnabled(
        shownViewType() != UFemViewTypeInfo && document != nullptr && document->hasModelData());
}

void UFemWindowToolbar::cardFilterTextFieldChanged(const QString& text)
{
    windowController_.setCardFilterString(text);
    updateToolbarCardFilterTextField();
}
