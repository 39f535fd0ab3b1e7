#include "ModelEditWindowTestSupport.h"

#include "cards/UFemCardClasses.h"
#include "platform/UUndoManager.h"
#include "tables/forms/CardFormViewControllerAbst.h"
#include "tables/modeledit/ModelEditWindowCardViewCardTableViewDataSource.h"
#include "tables/modeledit/ModelEditWindowChooseCardTableViewController.h"

#include <QDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

using Edit = ModelEditWindowController;

// Three forces share the name L1 (a force name may have several cards).
const QString sharedNameModelText = WindowModelText
    + QStringLiteral("Force , L1 , N1 ,  , 1 , 0 , 0 , 0 , 0 , 0 ,\n"
                     "Force , L1 , N2 ,  , 2 , 0 , 0 , 0 , 0 , 0 ,\n");

QString undoName(const ModelEditWindowHarness& h)
{
    return h.model().undoManager()->undoActionName();
}

} // namespace

TEST(ModelEditWindowTest, followsTheMainDocumentWindowAndLetsAClosedTargetGo)
{
    ModelEditWindowHarness h;
    EXPECT_EQ(h.edit->targetDataController(), &h.model());
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY, QStringLiteral("N2"));
    ASSERT_NE(h.edit->targetCard(), nullptr);
    EXPECT_EQ(h.child("modifyTargetCardInfoFieldOutlet")->text(),
        QStringLiteral("Node , N2 ,  , 1.5 , 0 , 0 ,"));

    // Another window of the same document changes nothing.
    UFemWindowController* sameDocument = h.addWindow(*h.first.document);
    h.activate(sameDocument);
    EXPECT_NE(h.edit->targetCard(), nullptr);
    EXPECT_EQ(h.cardView().cardViewType(), ModelEditWindowCardViewController::ONE_CARD_VIEW_TYPE);

    // Another document's window clears the window and retargets it.
    h.activate(h.secondWindow);
    EXPECT_EQ(h.edit->targetDataController(), &h.secondDocument->dataController());
    EXPECT_EQ(h.edit->targetCard(), nullptr);
    EXPECT_EQ(h.cardView().cardViewType(), ModelEditWindowCardViewController::EMPTY_CARD_VIEW);
    EXPECT_EQ(h.child("modifyTargetCardInfoFieldOutlet")->text(), QString());
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_SHOW, QStringLiteral("M1"));
    EXPECT_NE(h.edit->targetCard(), nullptr);

    // The target's window goes while others stay: the next main document window is the target.
    h.first.tracker.windowDidHide(h.secondWindow);
    EXPECT_EQ(h.edit->targetDataController(), &h.model());
    EXPECT_EQ(h.edit->targetCard(), nullptr);

    // No document window left: every apply reports 31015.
    h.first.tracker.windowDidHide(sameDocument);
    h.first.tracker.windowDidHide(h.first.window);
    EXPECT_EQ(h.edit->targetDataController(), nullptr);
    h.edit->setActionView(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_ADD);
    h.edit->applyAddCard();
    EXPECT_EQ(h.lastAlert(), QStringLiteral("Target window is not exist."));
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_SHOW, QStringLiteral("N1"));
    EXPECT_EQ(h.first.sheets.alerts.size(), 2u);
    EXPECT_EQ(h.lastAlert(), QStringLiteral("Target window is not exist."));
}

TEST(ModelEditWindowTest, addKeepsTheEnteredCardAndTheLockedModelRefuses)
{
    ModelEditWindowHarness h;
    h.edit->setActionView(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_ADD);
    ASSERT_EQ(h.cardView().kindOfCardClass()->cardLabelString(), QStringLiteral("Node"));
    h.child("cardNameField1Outlet")->setText(QStringLiteral("N7"));
    h.child("locationXFieldOutlet")->setText(QStringLiteral("4"));
    h.child("locationYFieldOutlet")->setText(QStringLiteral("5"));
    h.child("locationZFieldOutlet")->setText(QStringLiteral("6"));
    h.child("commentField1Outlet")->setText(QStringLiteral("  new one\t"));
    const qsizetype before = h.lines().size();
    h.edit->applyAddCard();
    ASSERT_TRUE(h.first.sheets.alerts.empty()) << h.lastAlert().toStdString();
    EXPECT_EQ(undoName(h), QStringLiteral("Add Card"));
    EXPECT_EQ(h.child("locationXFieldOutlet")->text(), QStringLiteral("4"))
        << "the form stays filled";
    h.child("cardNameField1Outlet")->setText(QStringLiteral("N8"));
    h.edit->applyAddCard();
    QStringList added = h.lines().mid(before);
    added.removeAll(QString());
    EXPECT_EQ(added, QStringList({ "Node , N7 ,  , 4 , 5 , 6 ,", "Node , N8 ,  , 4 , 5 , 6 ," }));

    h.model().setLockedOutside(true);
    h.child("cardNameField1Outlet")->setText(QStringLiteral("N9"));
    h.edit->applyAddCard();
    EXPECT_EQ(h.first.sheets.alerts.size(), 1u);
    EXPECT_EQ(h.child("cardNameField1Outlet")->text(), QStringLiteral("N9"));
    EXPECT_EQ(h.lines().size(), before + 2);
    h.model().setLockedOutside(false);

    // A column that does not read gives its own error and keeps the text.
    h.child("locationZFieldOutlet")->setText(QStringLiteral("1 , 2"));
    h.edit->applyAddCard();
    EXPECT_EQ(h.first.sheets.alerts.size(), 2u);
    EXPECT_EQ(h.child("locationZFieldOutlet")->text(), QStringLiteral("1 , 2"));
}

TEST(ModelEditWindowTest, modifyAndRenameCarryTheirUndoNamesAndUnknownNamesReport)
{
    ModelEditWindowHarness h;
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY, QStringLiteral("N2"));
    EXPECT_TRUE(h.child<QPushButton>("modifyApplyButtonOutlet")->isEnabled());
    h.child("locationYFieldOutlet")->setText(QStringLiteral("7"));
    h.edit->applyModifyCard();
    EXPECT_TRUE(h.lines().contains(QStringLiteral("Node , N2 ,  , 1.5 , 7 , 0 ,")));
    EXPECT_EQ(undoName(h), QStringLiteral("Modify Card"));
    EXPECT_EQ(h.edit->targetCard(), nullptr) << "a modify clears the window";

    h.edit->setActionView(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_CHANGE_CARD_NAME);
    h.child("changeCardNameFieldOutlet")->setText(QStringLiteral("N2"));
    h.child("changeNewCardNameFieldOutlet")->setText(QStringLiteral("Tip"));
    h.edit->applyChangeCardName();
    EXPECT_TRUE(h.lines().contains(QStringLiteral("Rod , R1 , RP , N1 , Tip ,")));
    EXPECT_EQ(undoName(h), QStringLiteral("Change Card Name"));
    EXPECT_EQ(h.child("changeCardNameFieldOutlet")->text(), QString());

    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_SHOW, QStringLiteral("Nowhere"));
    ASSERT_EQ(h.first.sheets.alerts.size(), 1u);
    EXPECT_EQ(h.first.sheets.alerts.back().messageText.contains(QStringLiteral("Nowhere")), true);
}

TEST(ModelEditWindowTest, chosenCardsGoInOneUndoStepAndADeletedShownCardClearsTheView)
{
    ModelEditWindowHarness h(sharedNameModelText);
    const QStringList before = h.lines();
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_DELETE, QStringLiteral("L1"));
    QDialog* sheet = h.edit->chooseCardPanel();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->findChild<QLabel*>("chooseCardTitleFieldOutlet")->text(),
        QStringLiteral("Choose one or some cards."));
    auto* table = sheet->findChild<QTableView*>("chooseCardTableViewOutlet");
    ASSERT_EQ(table->model()->rowCount(), 3);
    table->selectAll();
    EXPECT_EQ(h.edit->chooseCardTableViewController().selectedCardArray().size(), 3u);
    sheet->findChild<QPushButton*>("chooseCardApplyButton")->click();
    EXPECT_EQ(h.edit->chooseCardPanel(), nullptr);
    EXPECT_EQ(h.child("deleteTargetCardInfoFieldOutlet")->text(), QStringLiteral("3 cards"));
    EXPECT_EQ(h.cardView().cardViewType(), ModelEditWindowCardViewController::TABLE_CARD_VIEW);
    h.edit->applyDeleteCard();
    EXPECT_EQ(h.lines().size(), before.size() - 3);
    h.first.finishEventTurn();
    h.model().undoManager()->undo();
    EXPECT_EQ(h.lines(), before) << "one undo step brings all three back";

    // The shown card leaves the model elsewhere: the window empties itself.
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY, QStringLiteral("N2"));
    ASSERT_NE(h.edit->targetCard(), nullptr);
    UErrorPtr error;
    ASSERT_NE(h.model().removeCard(*h.edit->targetCard(), &error), UFemNotFound);
    EXPECT_EQ(h.child("modifyTargetCardInfoFieldOutlet")->text(), QString());
    EXPECT_EQ(h.cardView().cardViewType(), ModelEditWindowCardViewController::EMPTY_CARD_VIEW);
    EXPECT_FALSE(h.child<QPushButton>("modifyApplyButtonOutlet")->isEnabled());
}

TEST(ModelEditWindowTest, theChooseSheetChoosesOneOrSomeAndReportsAClosedDocument)
{
    ModelEditWindowHarness h(sharedNameModelText, sharedNameModelText);
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY, QStringLiteral("L1"));
    QDialog* sheet = h.edit->chooseCardPanel();
    ASSERT_NE(sheet, nullptr);
    auto* table = sheet->findChild<QTableView*>("chooseCardTableViewOutlet");
    EXPECT_EQ(table->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(sheet->findChild<QLabel*>("chooseCardTitleFieldOutlet")->text(),
        QStringLiteral("Choose one card."));
    table->selectRow(1);
    h.edit->loadTargetCardsWithChooseCardPanel();
    ASSERT_NE(h.edit->targetCard(), nullptr);
    EXPECT_EQ(UFemCardString(*h.edit->targetCard()),
        QStringLiteral("Force , L1 , N1 ,  , 1 , 0 , 0 , 0 , 0 , 0 ,"));

    // Nothing chosen clears the views.
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_SHOW, QStringLiteral("L1"));
    ASSERT_NE(h.edit->chooseCardPanel(), nullptr);
    h.edit->loadTargetCardsWithChooseCardPanel();
    EXPECT_FALSE(h.edit->hasSetTargetCards());
    EXPECT_EQ(h.cardView().cardViewType(), ModelEditWindowCardViewController::EMPTY_CARD_VIEW);

    // The sheet's document closes while another is the target.
    h.activate(h.secondWindow);
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_SHOW, QStringLiteral("L1"));
    ASSERT_NE(h.edit->chooseCardPanel(), nullptr);
    h.activate(h.first.window);
    h.closeSecondDocument();
    h.edit->loadTargetCardsWithChooseCardPanel();
    EXPECT_EQ(h.lastAlert(), QStringLiteral("Target window has closed."));
    EXPECT_EQ(h.edit->chooseCardPanel(), nullptr);
}

// A text field cuts its text at 32,767 characters unless told otherwise: a longer column must be
// applied whole, and every field of the window and of every card's form must keep it.
TEST(ModelEditWindowTest, FormLongColumnIsAppliedWholeAndEveryFieldKeepsIt)
{
    const QString longName = QStringLiteral("Steel") + QString(40000, u'x');
    ModelEditWindowHarness h(WindowModelText
        + QStringLiteral("Material , %1 , 200000 , 0.3 ,\nRodProp , RPL , %1 , 0.5 ,\n")
              .arg(longName));
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY, QStringLiteral("RPL"));
    h.child("sectionAreaFieldOutlet")->setText(QStringLiteral("0.75"));
    h.edit->applyModifyCard();
    ASSERT_TRUE(h.first.sheets.alerts.empty()) << h.lastAlert().left(200).toStdString();
    EXPECT_TRUE(h.lines().contains(QStringLiteral("RodProp , RPL , %1 , 0.75 ,").arg(longName)));

    for (const UFemCardClass* cardClass : UFemCardClassesInRegistryOrder()) {
        UFemCardFormViewController* form
            = CardFormViewControllerAbst::sharedCardFormViewController(*cardClass);
        if (form == nullptr)
            continue;
        SCOPED_TRACE(cardClass->cardLabelString().toStdString());
        for (quint64 column = 2; column < form->numberOfCurrentColumns(); ++column) {
            form->setColumnString(longName, column);
            EXPECT_EQ(form->columnStringAtIndex(column).size(), longName.size()) << column;
        }
        form->resetCardTextColumns();
    }
    for (qint64 action = Edit::MODEL_EDIT_WINDOW_ACTION_MENU_SHOW;
         action <= Edit::MODEL_EDIT_WINDOW_ACTION_MENU_CHANGE_CARD_NAME; ++action) {
        h.edit->setActionView(action);
        for (QLineEdit* field : h.edit->window()->findChildren<QLineEdit*>()) {
            field->setText(longName);
            EXPECT_EQ(field->text().size(), longName.size())
                << action << " " << field->objectName().toStdString();
        }
    }
}
