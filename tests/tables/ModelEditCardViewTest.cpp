#include "ModelEditWindowTestSupport.h"

#include "tables/forms/UFemCardFormViewController.h"
#include "tables/modeledit/ModelEditWindowChooseCardTableViewController.h"

#include <QDialog>
#include <QPushButton>
#include <QTableView>

namespace {

using Edit = ModelEditWindowController;
using CardView = ModelEditWindowCardViewController;

void chooseKind(ModelEditWindowHarness& h, const QString& label)
{
    auto* popup = h.child<QComboBox>("kindOfCardPopup1Outlet");
    popup->setCurrentIndex(popup->findText(label));
    ASSERT_GE(popup->currentIndex(), 0) << label.toStdString();
    h.cardView().kindOfCardPopupDidChange();
}

QStringList texts(ModelEditWindowHarness& h, std::initializer_list<const char*> names)
{
    QStringList result;
    for (const char* name : names)
        result << h.child(name)->text();
    return result;
}

QLineEdit* generalCell(ModelEditWindowHarness& h, int index)
{
    return h.child<QWidget>("generalCardFormViewOutlet")->findChildren<QLineEdit*>().value(index);
}

} // namespace

TEST(ModelEditCardViewTest, kindChangesKeepTheEnteredTextAndEmptyTheRest)
{
    ModelEditWindowHarness h;
    h.edit->setActionView(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_ADD);
    h.child("cardNameField1Outlet")->setText(QStringLiteral("E1"));
    h.child("commentField1Outlet")->setText(QStringLiteral("kept"));
    h.child("locationXFieldOutlet")->setText(QStringLiteral("1"));
    h.child("locationYFieldOutlet")->setText(QStringLiteral("2"));
    h.child("locationZFieldOutlet")->setText(QStringLiteral("3"));

    chooseKind(h, QStringLiteral("Hexa"));
    EXPECT_EQ(texts(h,
                  { "cardNameField1Outlet", "commentField1Outlet", "node1NameFieldOutlet",
                      "node2NameFieldOutlet", "node3NameFieldOutlet", "node4NameFieldOutlet" }),
        QStringList({ "E1", "kept", "1", "2", "3", "" }));
    h.child("node8NameFieldOutlet")->setText(QStringLiteral("N8"));
    chooseKind(h, QStringLiteral("Rod"));
    EXPECT_EQ(
        texts(h, { "node1NameFieldOutlet", "node2NameFieldOutlet" }), QStringList({ "1", "2" }));
    // The shared Hexa form must not bring back what it showed before.
    chooseKind(h, QStringLiteral("Hexa"));
    EXPECT_EQ(texts(h,
                  { "node1NameFieldOutlet", "node2NameFieldOutlet", "node3NameFieldOutlet",
                      "node8NameFieldOutlet" }),
        QStringList({ "1", "2", "", "" }));

    // To the general form and back: the label travels in the kind field.
    h.child<QPushButton>("swapToOneCardView2ButtonOutlet")->click();
    EXPECT_EQ(h.cardView().activeCardFormViewController(), nullptr);
    EXPECT_EQ(h.cardView().cardViewType(), CardView::ONE_CARD_VIEW_TYPE);
    EXPECT_EQ(texts(h, { "kindOfCardField2Outlet", "cardNameField2Outlet", "commentField2Outlet" }),
        QStringList({ "Hexa", "E1", "kept" }));
    EXPECT_EQ(generalCell(h, 1)->text(), QStringLiteral("1"));
    EXPECT_FALSE(h.cardView().isAllowedHaveSomeCard());
    h.child("kindOfCardField2Outlet")->setText(QStringLiteral("Force"));
    EXPECT_TRUE(h.cardView().isCardOnViewAllowedHaveSomeCard());
    h.child("kindOfCardField2Outlet")->setText(QStringLiteral("Bogus"));
    EXPECT_FALSE(h.cardView().isCardOnViewAllowedHaveSomeCard()) << "no class, no raise";
    h.child<QPushButton>("swapToOneCardView1ButtonOutlet")->click();
    EXPECT_EQ(h.cardView().kindOfCardClass()->cardLabelString(), QStringLiteral("Node"));
    EXPECT_EQ(
        texts(
            h, { "cardNameField1Outlet", "locationCoordNameFieldOutlet", "locationXFieldOutlet" }),
        QStringList({ "E1", "", "1" }));
}

TEST(ModelEditCardViewTest, theGeneralFormShowsErrorCardsAndKeepsColumnsInPlace)
{
    ModelEditWindowHarness h(WindowModelText
        + QStringLiteral("Bogus , B1 , a , b , c , d , e , f , g , h , i , j , k , l ,\n"));
    UFemCardPtr errorCard;
    for (const UFemCardPtr& card : h.model().cardArray().toVector())
        if (card->isErrorCard())
            errorCard = card;
    ASSERT_NE(errorCard, nullptr);
    h.cardView().setOneCardView(false, errorCard.get());
    EXPECT_EQ(h.cardView().kindOfCardClass(), nullptr);
    EXPECT_EQ(h.child("kindOfCardField2Outlet")->text(), QStringLiteral("Bogus"));
    EXPECT_EQ(generalCell(h, 0)->text(), QStringLiteral("a"));
    EXPECT_EQ(generalCell(h, 9)->text(), QStringLiteral("j")) << "columns 2 to 11 only";
    EXPECT_TRUE(generalCell(h, 0)->isReadOnly());

    h.cardView().setEditable(true);
    h.child("kindOfCardField2Outlet")->setText(QStringLiteral("Node"));
    for (int i = 0; i < CardView::generalCardFormColumnCount; ++i)
        generalCell(h, i)->clear();
    generalCell(h, 2)->setText(QStringLiteral(" 4 "));
    UErrorPtr error;
    const UFemCardTextColumnsPtr columns = h.cardView().cardTextColumns(&error);
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->numberOfColumns(), 5u);
    EXPECT_EQ(columns->columnStringAtIndex(4), QStringLiteral("4"));
    EXPECT_FALSE(columns->columnStringAtIndex(2).has_value());

    generalCell(h, 3)->setText(QStringLiteral("1 , 2"));
    EXPECT_EQ(h.cardView().cardTextColumns(&error), nullptr);
    EXPECT_NE(error, nullptr);
}

TEST(ModelEditCardViewTest, theWindowSizeFollowsTheCardView)
{
    ModelEditWindowHarness h;
    h.edit->setActionView(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_CHANGE_CARD_NAME);
    QWidget& window = *h.edit->window();
    const int renameHeight = window.minimumHeight();
    const int additional = renameHeight - ModelEditWindowController::changeCardNameCardViewHeight;
    EXPECT_EQ(window.minimumWidth(), 300);
    EXPECT_EQ(window.maximumWidth(), 500);
    EXPECT_EQ(window.maximumHeight(), std::max(renameHeight + 50, 480));

    h.edit->setActionView(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_ADD);
    chooseKind(h, QStringLiteral("RestraintEquation"));
    const int oneCardHeight = h.cardView().cardViewMinSize().height() + additional;
    EXPECT_EQ(window.minimumHeight(), oneCardHeight);
    h.child<QPushButton>("addArgumentColumnButtonOutlet")->click();
    h.child<QPushButton>("addArgumentColumnButtonOutlet")->click();
    EXPECT_EQ(window.minimumHeight(), oneCardHeight + 120);
    EXPECT_EQ(window.maximumHeight(), std::max(oneCardHeight + 170, 480));
    EXPECT_GE(window.height(), window.minimumHeight());
    EXPECT_LE(window.height(), window.maximumHeight());
}

TEST(ChooseCardTableTest, theChoiceSurvivesModelChangesAndLosesLeavingCards)
{
    ModelEditWindowHarness h(WindowModelText
        + QStringLiteral("Force , L1 , N1 ,  , 1 , 0 , 0 , 0 , 0 , 0 ,\n"
                         "Force , L1 , N2 ,  , 2 , 0 , 0 , 0 , 0 , 0 ,\n"));
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_SHOW, QStringLiteral("L1"));
    ASSERT_NE(h.edit->chooseCardPanel(), nullptr);
    auto* table = h.edit->chooseCardPanel()->findChild<QTableView*>("chooseCardTableViewOutlet");
    ModelEditWindowChooseCardTableViewController& chooser = h.edit->chooseCardTableViewController();
    table->selectRow(0);
    table->selectionModel()->select(
        table->model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(chooser.selectedCardArray().size(), 2u);
    const UFemCardPtr leaving = chooser.selectedCardArray().front();

    UErrorPtr error;
    ASSERT_TRUE(h.model().modifyCardAtIndex(2, QStringLiteral("Node , N1 ,  , 0 , 1 , 0 ,"),
        UFemColumnSeparatingCharacterTypeComma, false, &error));
    EXPECT_EQ(chooser.selectedCardArray().size(), 2u);
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 2);

    ASSERT_NE(h.model().removeCard(*leaving, &error), UFemNotFound);
    EXPECT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(chooser.selectedCardArray().size(), 1u);
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(table->selectionModel()->selectedRows().front().row(), 1);
}
