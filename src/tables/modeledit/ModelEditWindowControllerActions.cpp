// The model edit window's actions: loading cards by name (with the choose-card sheet), and adding,
// modifying, deleting and renaming through the target's data controller.
#include "tables/modeledit/ModelEditWindowController.h"

#include "appkit/Document.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowController.h"
#include "appkit/WindowTracker.h"
#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsSearchCardName.h"
#include "foundation/strings/UFormattedString.h"
#include "platform/UUndoManager.h"
#include "tables/modeledit/ModelEditWindowCardViewController.h"
#include "tables/modeledit/ModelEditWindowChooseCardTableViewController.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int chooseCardPanelWidth = 480;
constexpr int chooseCardPanelHeight = 320;

} // namespace

bool ModelEditWindowController::requireTargetDataController(UErrorPtr* error) const
{
    if (targetDataController() != nullptr)
        return true;
    UFemSetError(error, UFemModelEditorTargetDocumentNotExistError());
    return false;
}

// ---- Loading

void ModelEditWindowController::loadTargetCard()
{
    UErrorPtr error;
    const auto fail = [&](UErrorPtr cause) {
        swapAndClearView();
        presentError(cause);
    };
    if (!requireTargetDataController(&error))
        return fail(error);
    const QString name = targetCardNameField_->text();
    const std::shared_ptr<UFemCardName> cardName
        = targetDataController()->searchCardNameWithCardNameString(name, &error);
    if (error != nullptr)
        return fail(error);
    if (cardName == nullptr)
        return fail(UFemSearchingCardNameCardNameNotUsedError_withCardNameString(name));
    if (!cardName->hasCard())
        return fail(UFemSearchingCardNameCardOfCardNameNotExistError_withCardNameString(name));
    const std::vector<UFemCard*> cards = cardName->cardArray();
    if (cards.empty())
        UFemRaiseProgramError(QStringLiteral("must exist a card in 'aCard', but not."));
    const bool chooses = actionMenuTag_ == MODEL_EDIT_WINDOW_ACTION_MENU_SHOW
        || actionMenuTag_ == MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY
        || actionMenuTag_ == MODEL_EDIT_WINDOW_ACTION_MENU_DELETE;
    if (!cardName->isAllowedHaveSomeCard() || cards.size() == 1 || !chooses) {
        setTargetCard(cards.front()->shared_from_this());
        return;
    }
    UFemCardVector choices;
    choices.reserve(cards.size());
    for (UFemCard* card : cards)
        choices.push_back(card->shared_from_this());
    setChooseCardViewWithCardArray(choices, actionMenuTag_ != MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY);
    targetDocumentOfChooseCardPanel_ = targetDocument_;
    sheets_.beginSheet(
        window_.get(), [this](QWidget* window) { return makeChooseCardPanel(window); },
        [this](QDialog& sheet, int) {
            // Ended by the window system (Escape): as the cancel button.
            if (chooseCardTableViewController_->tableView() != nullptr
                && chooseCardTableViewController_->tableView()->window() == &sheet)
                cancelLoadTargetCardsWithChooseCardPanel();
        });
}

QDialog* ModelEditWindowController::makeChooseCardPanel(QWidget* window)
{
    auto* panel = new QDialog(window);
    panel->setObjectName(QStringLiteral("chooseCardPanelOutlet"));
    panel->resize(chooseCardPanelWidth, chooseCardPanelHeight);
    auto* layout = new QVBoxLayout(panel);
    auto* title = new QLabel(chooseCardTitle_, panel);
    title->setObjectName(QStringLiteral("chooseCardTitleFieldOutlet"));
    layout->addWidget(title);
    auto* table = new QTableView(panel);
    table->setObjectName(QStringLiteral("chooseCardTableViewOutlet"));
    table->setSelectionMode(chooseSomeCards_ ? QAbstractItemView::ExtendedSelection
                                             : QAbstractItemView::SingleSelection);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(panel);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("chooseCardCancelButton"));
    QPushButton* apply = buttons->addButton(tr("Choose"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("chooseCardApplyButton"));
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, [this] { loadTargetCardsWithChooseCardPanel(); });
    connect(cancel, &QPushButton::clicked, this,
        [this] { cancelLoadTargetCardsWithChooseCardPanel(); });
    layout->addWidget(buttons);
    chooseCardTableViewController_->setTableView(table);
    table->setFocus();
    return panel;
}

QDialog* ModelEditWindowController::chooseCardPanel() const
{
    QTableView* table = chooseCardTableViewController_->tableView();
    return table != nullptr ? qobject_cast<QDialog*>(table->window()) : nullptr;
}

void ModelEditWindowController::setChooseCardViewWithCardArray(
    const UFemCardVector& cards, bool selectableSomeCards)
{
    chooseCardTableViewController_->setSelectedCardArray({});
    chooseCardTableViewController_->setTableCardArray(cards);
    chooseSomeCards_ = selectableSomeCards;
    chooseCardTitle_
        = selectableSomeCards ? tr("Choose one or some cards.") : tr("Choose one card.");
    if (QTableView* table = chooseCardTableViewController_->tableView()) {
        table->setSelectionMode(selectableSomeCards ? QAbstractItemView::ExtendedSelection
                                                    : QAbstractItemView::SingleSelection);
    }
}

void ModelEditWindowController::endChooseCardPanel()
{
    QDialog* panel = chooseCardPanel();
    chooseCardTableViewController_->setTableView(nullptr);
    chooseCardTableViewController_->clearCardArray();
    if (panel != nullptr)
        panel->done(QDialog::Rejected);
}

void ModelEditWindowController::loadTargetCardsWithChooseCardPanel()
{
    UErrorPtr error;
    if (targetDocument_ != targetDocumentOfChooseCardPanel_) {
        Document* recorded = targetDocumentOfChooseCardPanel_;
        targetDocumentOfChooseCardPanel_ = nullptr;
        WindowController* found = nullptr;
        for (WindowController* controller : tracker_.orderedWindowControllers()) {
            if (recorded != nullptr && controller->document() == recorded) {
                found = controller;
                break;
            }
        }
        if (found != nullptr)
            found->showWindow();
        else
            UFemSetError(&error, UFemModelEditorTargetDocumentClosedError());
    }
    if (error == nullptr)
        (void)requireTargetDataController(&error);
    if (error != nullptr) {
        swapAndClearView();
        endChooseCardPanel();
        presentError(error);
        return;
    }
    // A copy: the choice goes with the sheet.
    const UFemCardVector chosen = chooseCardTableViewController_->selectedCardArray();
    const qint64 tag = actionMenuTag_;
    if (tag == MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY && chosen.size() > 1) {
        UFemRaiseProgramError(UFormattedString(
            "'aNumOfSelectedCards' is NOT 0 or 1 for 'MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY'. : %lu",
            quint64(chosen.size())));
    }
    if (tag != MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY && tag != MODEL_EDIT_WINDOW_ACTION_MENU_SHOW
        && tag != MODEL_EDIT_WINDOW_ACTION_MENU_DELETE) {
        UFemRaiseProgramError(UFormattedString(
            "'_actionMenuTag' must be 'SHOW', 'MODIFY' or 'DELETE'. : %ld", qint64(tag)));
    }
    if (chosen.empty())
        swapAndClearView();
    else if (chosen.size() == 1)
        setTargetCard(chosen.front());
    else
        setTargetCardArray(chosen);
    endChooseCardPanel();
}

void ModelEditWindowController::cancelLoadTargetCardsWithChooseCardPanel()
{
    swapAndClearView();
    endChooseCardPanel();
}

// ---- Targets

void ModelEditWindowController::setTargetCard(const UFemCardPtr& card)
{
    if (targetDataController() == nullptr) {
        swapAndClearView();
        presentError(UFemModelEditorTargetDocumentNotExistError());
        return;
    }
    const qint64 tag = actionMenuTag_;
    if (tag != MODEL_EDIT_WINDOW_ACTION_MENU_SHOW && tag != MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY
        && tag != MODEL_EDIT_WINDOW_ACTION_MENU_DELETE)
        return;
    targetCardSetManager_.setCard(card);
    cardViewController_->setOneCardView(tag == MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY, card.get());
    const ActionView& action = actionView(tag);
    if (action.infoField != nullptr) {
        action.infoField->setText(UFemCardString(*card));
        action.applyButton->setEnabled(true);
    }
}

void ModelEditWindowController::setTargetCardArray(const UFemCardVector& cards)
{
    if (targetDataController() == nullptr) {
        swapAndClearView();
        presentError(UFemModelEditorTargetDocumentNotExistError());
        return;
    }
    const qint64 tag = actionMenuTag_;
    if (tag != MODEL_EDIT_WINDOW_ACTION_MENU_SHOW && tag != MODEL_EDIT_WINDOW_ACTION_MENU_DELETE)
        return;
    targetCardSetManager_.setCardArray(cards);
    cardViewController_->setTableCardView(false, cards);
    if (tag == MODEL_EDIT_WINDOW_ACTION_MENU_DELETE) {
        const ActionView& action = actionView(tag);
        action.infoField->setText(UFormattedString("%lu cards", quint64(cards.size())));
        action.applyButton->setEnabled(true);
    }
}

// ---- Applying

bool ModelEditWindowController::runApply(
    const std::function<bool(UFemDataController&, UErrorPtr*)>& apply)
{
    UErrorPtr error;
    if (requireTargetDataController(&error) && apply(*targetDataController(), &error))
        return true;
    presentError(error);
    return false;
}

void ModelEditWindowController::applyAddCard()
{
    const bool added = runApply([this](UFemDataController& data, UErrorPtr* error) {
        const UFemCardTextColumnsPtr columns = cardViewController_->cardTextColumns(error);
        auto* window = dynamic_cast<UFemWindowController*>(targetWindow());
        if (columns == nullptr || window == nullptr)
            return false;
        // All bits set adds at the end; only an error stops the add.
        UErrorPtr rowError;
        const quint64 row = window->cardRowIndexToAddCard(&rowError);
        if (rowError != nullptr) {
            UFemSetError(error, rowError);
            return false;
        }
        return data.addCardWithCardTextColumns(*columns, row, false, error);
    });
    // The entered text stays, for the next card of its kind.
    if (added)
        connectWithCardView();
}

void ModelEditWindowController::applyModifyCard()
{
    const UFemCardPtr card = targetDataController() != nullptr ? targetCard() : nullptr;
    if (targetDataController() != nullptr && card == nullptr)
        UFemRaiseProgramError(QStringLiteral("aTargetCard==nil"));
    if (runApply([this, &card](UFemDataController& data, UErrorPtr* error) {
            const UFemCardTextColumnsPtr columns = cardViewController_->cardTextColumns(error);
            return columns != nullptr
                && data.modifyCardOfCard(*card, *columns, false, error) != UFemNotFound;
        }))
        clearView();
}

void ModelEditWindowController::applyDeleteCard()
{
    // A copy: the set shrinks as its cards leave the model.
    const UFemCardVector cards = targetCardArray();
    if (targetDataController() != nullptr && cards.empty())
        UFemRaiseProgramError(QStringLiteral("aTargetCard==nil"));
    if (runApply([&cards](UFemDataController& data, UErrorPtr* error) {
            // One user action, one undo step.
            UUndoManager* undo = data.undoManager();
            if (undo != nullptr)
                undo->beginUndoGrouping();
            bool removed = true;
            for (const UFemCardPtr& card : cards) {
                if (data.removeCard(*card, error) == UFemNotFound) {
                    removed = false;
                    break;
                }
            }
            if (undo != nullptr)
                undo->endUndoGrouping();
            return removed;
        }))
        clearView();
}

void ModelEditWindowController::applyChangeCardName()
{
    if (runApply([this](UFemDataController& data, UErrorPtr* error) {
            return data.changeCardNameFromCardNameString(
                changeCardNameField_->text(), changeNewCardNameField_->text(), error);
        }))
        clearView();
}

void ModelEditWindowController::clearView()
{
    swapAndClearView();
    clearTargetCardNameField();
}

// ---- Model changes

void ModelEditWindowController::modelDataDidChange()
{
    const qint64 tag = actionMenuTag_;
    if (tag != MODEL_EDIT_WINDOW_ACTION_MENU_SHOW && tag != MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY
        && tag != MODEL_EDIT_WINDOW_ACTION_MENU_DELETE)
        return;
    QLineEdit* info = actionView(tag).infoField;
    const qint32 type = cardViewController_->cardViewType();
    QString text;
    if (type == ModelEditWindowCardViewController::ONE_CARD_VIEW_TYPE) {
        if (const UFemCardPtr card = targetCard())
            text = UFemCardString(*card);
    } else if (type == ModelEditWindowCardViewController::TABLE_CARD_VIEW) {
        if (const quint64 count = targetCardArray().size(); count > 0)
            text = UFormattedString("%lu cards", count);
    } else {
        return;
    }
    if (info != nullptr)
        info->setText(text);
    if (text.isEmpty())
        clearView();
}
