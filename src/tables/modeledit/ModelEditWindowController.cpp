#include "tables/modeledit/ModelEditWindowController.h"

#include "appkit/Document.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WholeTextField.h"
#include "appkit/WindowController.h"
#include "appkit/WindowFront.h"
#include "appkit/WindowTracker.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "documents/window/UFemWindowDocument.h"
#include "foundation/strings/UFormattedString.h"
#include "tables/modeledit/ModelEditWindowCardViewController.h"
#include "tables/modeledit/ModelEditWindowChooseCardTableViewController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace {

UFemWindowDocument* windowDocumentOf(Document* document)
{
    return dynamic_cast<UFemWindowDocument*>(document);
}

} // namespace

ModelEditWindowController::ModelEditWindowController(WindowTracker& tracker, SheetPresenter& sheets)
    : tracker_(tracker)
    , sheets_(sheets)
    , window_(std::make_unique<QWidget>(nullptr, Qt::Tool))
    , chooseCardTableViewController_(
          std::make_unique<ModelEditWindowChooseCardTableViewController>())
{
    buildWindow();
    cardViewController_ = std::make_unique<ModelEditWindowCardViewController>(*this);
    setTargetDocumentWithMainWindow(tracker_.mainWindowController());
    setActionView(MODEL_EDIT_WINDOW_ACTION_MENU_SHOW);
    connect(&tracker_, &WindowTracker::mainWindowChanged, this,
        [this] { setTargetDocumentWithMainWindow(tracker_.mainWindowController()); });
}

ModelEditWindowController::~ModelEditWindowController()
{
    // The card view goes first: its box sits in this window.
    cardViewController_.reset();
}

void ModelEditWindowController::buildWindow()
{
    window_->setObjectName(QStringLiteral("modelEditWindow"));
    window_->setWindowTitle(tr("Model Edit"));
    auto* layout = new QGridLayout(window_.get());
    actionPopup_ = new QComboBox(window_.get());
    actionPopup_->setObjectName(QStringLiteral("actionPopupOutlet"));
    const std::array<QString, 5> titles { tr("Show"), tr("Add"), tr("Modify"), tr("Delete"),
        tr("Change Card Name") };
    for (size_t i = 0; i < titles.size(); ++i)
        actionPopup_->addItem(titles[i], qint64(i + 1));
    connect(actionPopup_, &QComboBox::activated, this, [this] { actionPopupDidChange(); });
    targetCardNameField_ = new WholeTextField(window_.get());
    targetCardNameField_->setObjectName(QStringLiteral("targetCardNameFieldOutlet"));
    connect(targetCardNameField_, &QLineEdit::returnPressed, this, [this] { loadTargetCard(); });
    loadTargetCardButton_ = new QPushButton(tr("Load"), window_.get());
    loadTargetCardButton_->setObjectName(QStringLiteral("loadTargetCardButtonOutlet"));
    connect(loadTargetCardButton_, &QPushButton::clicked, this, [this] { loadTargetCard(); });
    layout->addWidget(actionPopup_, 0, 0);
    layout->addWidget(targetCardNameField_, 0, 1);
    layout->addWidget(loadTargetCardButton_, 0, 2);

    actionStack_ = new QStackedWidget(window_.get());
    actionStack_->setObjectName(QStringLiteral("dummyActionViewOutlet"));
    layout->addWidget(actionStack_, 1, 0, 1, 3);
    layout->setRowStretch(1, 1);
    actionViews_ = {
        makeActionView(QStringLiteral("show"), tr("Show"), true),
        makeActionView(QStringLiteral("add"), tr("Add"), true),
        makeActionView(QStringLiteral("modify"), tr("Modify"), true),
        makeActionView(QStringLiteral("delete"), tr("Delete"), true),
        makeActionView(QStringLiteral("change"), tr("Change"), false),
    };
    addChangeCardNameFields(actionViews_[MODEL_EDIT_WINDOW_ACTION_MENU_CHANGE_CARD_NAME - 1]);
    const std::array<std::function<void()>, 5> applies { [this] { loadTargetCard(); },
        [this] { applyAddCard(); }, [this] { applyModifyCard(); }, [this] { applyDeleteCard(); },
        [this] { applyChangeCardName(); } };
    for (size_t i = 0; i < actionViews_.size(); ++i) {
        actionStack_->addWidget(actionViews_[i].view);
        connect(actionViews_[i].applyButton, &QPushButton::clicked, this, applies[i]);
    }
    const ActionView& add = actionView(MODEL_EDIT_WINDOW_ACTION_MENU_ADD);
    modelEditWindowAdditionalHeight_
        = (window_->sizeHint().height() - actionStack_->sizeHint().height())
        + (add.view->sizeHint().height() - add.cardBox->sizeHint().height());
}

ModelEditWindowController::ActionView ModelEditWindowController::makeActionView(
    const QString& name, const QString& applyTitle, bool hasCardView)
{
    ActionView action;
    action.view = new QWidget;
    action.view->setObjectName(name + QStringLiteral("ActionViewOutlet"));
    auto* layout = new QVBoxLayout(action.view);
    layout->setContentsMargins(0, 0, 0, 0);
    if (hasCardView) {
        auto* box = new QWidget(action.view);
        box->setObjectName(name + QStringLiteral("DummyCardViewOutlet"));
        action.cardBox = new QVBoxLayout(box);
        action.cardBox->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(box, 1);
    }
    if (name == QLatin1String("modify") || name == QLatin1String("delete")) {
        action.infoField = new WholeTextField(action.view);
        action.infoField->setObjectName(name + QStringLiteral("TargetCardInfoFieldOutlet"));
        action.infoField->setReadOnly(true);
        layout->addWidget(action.infoField);
    }
    auto* buttons = new QHBoxLayout;
    if (name == QLatin1String("add")) {
        action.allowOverwriteCheckButton = new QCheckBox(tr("Allow Overwrite"), action.view);
        action.allowOverwriteCheckButton->setObjectName(
            QStringLiteral("addAllowOverwriteCheckButtonOutlet"));
        buttons->addWidget(action.allowOverwriteCheckButton);
    }
    buttons->addStretch(1);
    auto* clear = new QPushButton(tr("Clear"), action.view);
    clear->setObjectName(name + QStringLiteral("ClearButtonOutlet"));
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, [this] { clearView(); });
    buttons->addWidget(clear);
    action.applyButton = new QPushButton(applyTitle, action.view);
    action.applyButton->setObjectName(name + QStringLiteral("ApplyButtonOutlet"));
    action.applyButton->setAutoDefault(false);
    buttons->addWidget(action.applyButton);
    layout->addLayout(buttons);
    return action;
}

void ModelEditWindowController::addChangeCardNameFields(ActionView& view)
{
    auto* form = new QFormLayout;
    changeCardNameField_ = new WholeTextField(view.view);
    changeCardNameField_->setObjectName(QStringLiteral("changeCardNameFieldOutlet"));
    changeNewCardNameField_ = new WholeTextField(view.view);
    changeNewCardNameField_->setObjectName(QStringLiteral("changeNewCardNameFieldOutlet"));
    form->addRow(tr("Card Name:"), changeCardNameField_);
    form->addRow(tr("New Card Name:"), changeNewCardNameField_);
    static_cast<QVBoxLayout*>(view.view->layout())->insertLayout(0, form);
    static_cast<QVBoxLayout*>(view.view->layout())->insertStretch(1, 1);
}

void ModelEditWindowController::showWindow()
{
    WindowFront::bring(*window_);
}

// ---- Target

WindowController* ModelEditWindowController::targetWindow() const
{
    WindowController* main = tracker_.mainWindowController();
    return main != nullptr && windowDocumentOf(main->document()) != nullptr ? main : nullptr;
}

UFemDataController* ModelEditWindowController::targetDataController() const
{
    UFemWindowDocument* document = windowDocumentOf(targetDocument_);
    return document != nullptr ? &document->dataController() : nullptr;
}

UFemCardPtr ModelEditWindowController::targetCard()
{
    return targetCardSetManager_.count() == 1 ? targetCardSetManager_.card() : nullptr;
}

const UFemCardVector& ModelEditWindowController::targetCardArray()
{
    return targetCardSetManager_.cardArray();
}

bool ModelEditWindowController::hasSetTargetCards()
{
    return targetCardSetManager_.count() > 0;
}

void ModelEditWindowController::clearTargetCardNameField()
{
    targetCardNameField_->clear();
}

void ModelEditWindowController::setTargetDocumentWithMainWindow(WindowController* mainWindow)
{
    Document* document = mainWindow != nullptr ? mainWindow->document() : nullptr;
    targetDocument_ = windowDocumentOf(document) != nullptr ? document : nullptr;
    if (targetDocument_ == targetDocument_old_
        && targetDataController() == targetCardSetManager_.dataController())
        return;
    swapAndClearView();
    setDataControllerOfViews(targetDataController());
    targetDocument_old_ = targetDocument_;
}

void ModelEditWindowController::setDataControllerOfViews(UFemDataController* dataController)
{
    modelDataDidChange_.reset();
    targetCardSetManager_.setDataController(dataController);
    chooseCardTableViewController_->setDataController(dataController);
    cardViewController_->setDataController(dataController);
    if (dataController == nullptr)
        return;
    UNotificationCenter* center = dataController->notificationCenter();
    if (center == nullptr)
        center = &UNotificationCenter::defaultCenter();
    modelDataDidChange_ = center->observe(UFemModelDataDidChangeNotification, dataController,
        [this](const UNotification&) { modelDataDidChange(); });
}

// ---- Views

void ModelEditWindowController::actionPopupDidChange()
{
    setActionView(actionPopup_->currentData().toLongLong());
}

void ModelEditWindowController::setActionView(qint64 tag)
{
    actionMenuTag_ = tag;
    actionPopup_->setCurrentIndex(actionPopup_->findData(tag));
    if (tag == actionMenuTag_old_)
        return;
    clearTargetCardNameField();
    swapAndClearView();
}

void ModelEditWindowController::swapAndClearView()
{
    targetCardSetManager_.removeAllCards();
    const qint64 tag = actionMenuTag_;
    const ActionView& action = actionView(tag);
    const bool loads = tag != MODEL_EDIT_WINDOW_ACTION_MENU_ADD
        && tag != MODEL_EDIT_WINDOW_ACTION_MENU_CHANGE_CARD_NAME;
    targetCardNameField_->setEnabled(loads);
    loadTargetCardButton_->setEnabled(loads);
    actionStack_->setCurrentWidget(action.view);
    ModelEditWindowCardViewController& cardView = *cardViewController_;
    if (action.cardBox != nullptr)
        action.cardBox->addWidget(cardView.cardView());
    actionMenuTag_old_ = tag;
    switch (tag) {
    case MODEL_EDIT_WINDOW_ACTION_MENU_ADD:
        cardView.setOneCardView(true, true);
        action.allowOverwriteCheckButton->setEnabled(!cardView.isAllowedHaveSomeCard());
        break;
    case MODEL_EDIT_WINDOW_ACTION_MENU_CHANGE_CARD_NAME:
        changeCardNameField_->clear();
        changeNewCardNameField_->clear();
        updateSuperviewSizeWithCardViewMinSize(
            QSize(modelEditWindowMinWidth, changeCardNameCardViewHeight));
        connectWithCardView();
        break;
    default:
        cardView.setEmptyCardView();
        if (action.infoField != nullptr) {
            action.infoField->clear();
            action.applyButton->setEnabled(false);
        }
        break;
    }
}

void ModelEditWindowController::connectWithCardView()
{
    ModelEditWindowCardViewController& cardView = *cardViewController_;
    switch (actionMenuTag_) {
    case MODEL_EDIT_WINDOW_ACTION_MENU_SHOW:
    case MODEL_EDIT_WINDOW_ACTION_MENU_DELETE:
        targetCardNameField_->setFocus();
        break;
    case MODEL_EDIT_WINDOW_ACTION_MENU_ADD:
        if (targetCard() == nullptr && cardView.firstKeyView() != nullptr) {
            cardView.firstKeyView()->setFocus();
            QWidget::setTabOrder(cardView.lastKeyView(), cardView.firstKeyView());
        }
        break;
    case MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY:
        targetCardNameField_->setFocus();
        if (targetCard() != nullptr && cardView.firstKeyView() != nullptr) {
            QWidget::setTabOrder(targetCardNameField_, cardView.firstKeyView());
            QWidget::setTabOrder(cardView.lastKeyView(), targetCardNameField_);
        }
        break;
    case MODEL_EDIT_WINDOW_ACTION_MENU_CHANGE_CARD_NAME:
        changeCardNameField_->setFocus();
        break;
    default:
        break;
    }
}

void ModelEditWindowController::updateSuperviewSizeWithCardViewMinSize(QSize cardViewMinSize)
{
    const int height = cardViewMinSize.height() + modelEditWindowAdditionalHeight_;
    const int maxHeight
        = std::max(height + modelEditWindowHeightMargin, modelEditWindowMaxHeightFloor);
    window_->setMinimumSize(modelEditWindowMinWidth, height);
    window_->setMaximumSize(modelEditWindowMinWidth + modelEditWindowWidthRange, maxHeight);
    // Qt keeps the top-left corner on a resize.
    window_->resize(window_->width(), std::clamp(window_->height(), height, maxHeight));
}

void ModelEditWindowController::presentError(const UErrorPtr& error)
{
    if (error != nullptr)
        sheets_.presentError(window_.get(), *error);
}
