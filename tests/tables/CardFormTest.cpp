#include "../cardmodel/CardModelExpectations.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "cards/loads/Case.h"
#include "cards/loads/FixNode.h"
#include "cards/loads/RestraintEquation.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUndoManager.h"
#include "tables/forms/CardFormViewControllerAbst.h"
#include "tables/forms/FixNodeFormViewController.h"
#include "tables/forms/RestraintEquationFormViewController.h"
#include "tables/forms/UFemCardFormViewControllerDelegate.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// One card of every class, each column filled.
const QString everyClassModelText
    = QStringLiteral("Node , N1 ,  , 1.5 , -2 , 3e2 ,\n"
                     "Rod , R1 , RP , N1 , N2 ,\n"
                     "Quad , Q1 , SP , N1 , N2 , N3 , N4 ,\n"
                     "Hexa , H1 , HP , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 ,\n"
                     "RodProp , RP , Steel , 0.5 ,\n"
                     "ShellProp , SP , Steel , 0.01 ,\n"
                     "SolidProp , HP , Steel ,\n"
                     "Material , Steel , 210000 , 0.3 ,\n"
                     "Force , F1 , N1 ,  , 1 , 2 , 3 , 4 , 5 , 6 ,\n"
                     "FixNode , X1 , N1 , 1 , 1 , 0 , 0 , 1 , 0 ,\n"
                     "Case , Dead , LINEAR_STATIC , Fix , Load ,\n"
                     "ForceSet , Load , 2.5 , F1 ,\n"
                     "RestraintSet , Fix , X1 ,\n"
                     "ForceDisp , D1 , N1@TY , 0.25 ,\n"
                     "RestraintEquation , E1 , 1.5 , N1@TX , 2 , N2@RY , -3 , N3@TZ ,\n");

struct CardFormTestModel {
    CardFormTestModel()
    {
        UFemInstallCardClasses();
        undoManager.setGroupsByEvent(false);
        controller.setNotificationCenter(&center);
        controller.setUndoManager(&undoManager);
        UErrorPtr error;
        EXPECT_TRUE(controller.resetWithModelText(everyClassModelText, false, &error))
            << error->localizedDescription().toStdString();
    }
    UNotificationCenter center;
    UUndoManager undoManager;
    UFemDataController controller;
};

UFemCardFormViewController& formOf(const UFemCardClass& cardClass)
{
    UFemCardFormViewController* form
        = CardFormViewControllerAbst::sharedCardFormViewController(cardClass);
    if (form == nullptr)
        throw std::runtime_error("no form for the class");
    return *form;
}

template <typename Widget> Widget* child(UFemCardFormViewController& form, const char* name)
{
    return form.cardFormView()->findChild<Widget*>(QString::fromLatin1(name));
}

QStringList columnsOf(const UFemCardFormViewController& form)
{
    QStringList columns;
    for (quint64 index = 2; index < form.numberOfCurrentColumns(); ++index)
        columns << form.columnStringAtIndex(index);
    return columns;
}

QStringList columnsOf(const UFemCardTextColumns& textColumns, quint64 count)
{
    QStringList columns;
    for (quint64 index = 2; index < count; ++index)
        columns << textColumns.columnStringAtIndex(index).value_or(QString());
    return columns;
}

QStringList pairColumns(const RestraintEquationFormViewController& form)
{
    QStringList columns;
    for (quint64 index = 4; index < form.numberOfCurrentColumns(); ++index)
        columns << form.columnStringAtIndex(index);
    return columns;
}

struct CountingDelegate : UFemCardFormViewControllerDelegate {
    void reconnectCardFormViewWithCardFormViewController(UFemCardFormViewController&) override
    {
        ++calls;
    }
    int calls = 0;
};

RestraintEquationFormViewController& restraintEquationForm()
{
    auto& form = dynamic_cast<RestraintEquationFormViewController&>(
        formOf(RestraintEquation::cardClassObject()));
    form.setDelegate(nullptr);
    form.setEditable(true);
    form.setEnabled(true);
    form.resetColumnsAfterIndex(2);
    return form;
}

void setPairs(RestraintEquationFormViewController& form, const QStringList& cells)
{
    UFemCardTextColumns textColumns;
    UErrorPtr error;
    for (int i = 0; i < cells.size(); ++i)
        ASSERT_TRUE(textColumns.setColumnString(cells[i], quint64(i) + 4, &error));
    form.setCardTextColumns(textColumns);
}

} // namespace

TEST(CardFormTest, everyFormRoundTripsARealCardAndRaisesOutsideItsColumns)
{
    CardFormTestModel model;
    const std::map<QString, quint64> expectedColumnCounts { { "Node", 6 }, { "Rod", 5 },
        { "Quad", 7 }, { "Hexa", 11 }, { "RodProp", 4 }, { "ShellProp", 4 }, { "SolidProp", 3 },
        { "Material", 4 }, { "Force", 10 }, { "FixNode", 9 }, { "Case", 5 }, { "ForceSet", 4 },
        { "RestraintSet", 3 }, { "ForceDisp", 4 }, { "RestraintEquation", 8 } };
    ASSERT_EQ(model.controller.numberOfCards(), expectedColumnCounts.size());
    for (quint64 row = 0; row < model.controller.numberOfCards(); ++row) {
        const UFemCard& card = *model.controller.cardAtCardRowIndex(row);
        const QString label = card.cardLabelString();
        SCOPED_TRACE(label.toStdString());
        UFemCardFormViewController& form = formOf(card.cardClass());
        EXPECT_EQ(&form.cardClass(), &card.cardClass());
        EXPECT_EQ(&form, &formOf(card.cardClass())) << "one shared form per class";
        const auto cardColumns = card.cardTextColumns();
        form.setCardTextColumns(*cardColumns);
        EXPECT_EQ(form.numberOfCurrentColumns(), expectedColumnCounts.at(label));
        UErrorPtr error;
        const UFemCardTextColumnsPtr formColumns = form.cardTextColumns(&error);
        ASSERT_NE(formColumns, nullptr);
        EXPECT_EQ(columnsOf(*formColumns, form.numberOfCurrentColumns()),
            columnsOf(*cardColumns, form.numberOfCurrentColumns()));
        EXPECT_FALSE(formColumns->columnStringAtIndex(0).has_value());
        EXPECT_FALSE(formColumns->columnStringAtIndex(1).has_value());
        EXPECT_NE(form.firstKeyView(), nullptr);
        EXPECT_NE(form.lastKeyView(), nullptr);
        EXPECT_GT(form.cardFormViewMinSize().height(), 0);

        const quint64 outside = form.numberOfCurrentColumns();
        for (quint64 column : { quint64(0), quint64(1), outside }) {
            expectCardClassProgramError([&] { (void)form.columnStringAtIndex(column); },
                QStringLiteral("This method must be overwrite."));
        }
        for (quint64 column : { quint64(0), quint64(1) }) {
            expectCardClassProgramError([&] { form.setColumnString(QStringLiteral("x"), column); },
                QStringLiteral("This method must be overwrite."));
        }

        // A nil text shows empty, and text columns that lack columns leave them empty.
        form.setColumnString(QString(), 2);
        EXPECT_EQ(form.columnStringAtIndex(2), QString());
        form.setCardTextColumns(*cardColumns);
        UFemCardTextColumns shortColumns;
        ASSERT_TRUE(shortColumns.setCardString(label + QStringLiteral(" , X ,"), &error));
        form.setCardTextColumns(shortColumns);
        EXPECT_EQ(columnsOf(form).join(QString()), QString())
            << columnsOf(form).join(u'|').toStdString();
    }
    const QStringList nodeFields { "locationCoordNameFieldOutlet", "locationXFieldOutlet",
        "locationYFieldOutlet", "locationZFieldOutlet" };
    UFemCardFormViewController& node = formOf(model.controller.cardAtCardRowIndex(0)->cardClass());
    for (qsizetype i = 0; i < nodeFields.size(); ++i)
        EXPECT_EQ(child<QLineEdit>(node, nodeFields[i].toLatin1().constData()),
            node.cardFormView()->findChildren<QLineEdit*>().value(i));
    EXPECT_EQ(node.cardFormView()->objectName(), QStringLiteral("nodeFormViewOutlet"));
    EXPECT_EQ(CardFormViewControllerAbst::sharedCardFormViewController(
                  QStringLiteral("NoSuchFormViewController")),
        nullptr);
}

TEST(CardFormTest, casePopupSelectsByTitleAndKeepsAnUnknownType)
{
    UFemInstallCardClasses();
    UFemCardFormViewController& form = formOf(Case::cardClassObject());
    auto* popup = child<QComboBox>(form, "calculationTypePopupOutlet");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(form.firstKeyView(), child<QLineEdit>(form, "restraintNameFieldOutlet"));
    EXPECT_EQ(form.lastKeyView(), child<QLineEdit>(form, "forceNameFieldOutlet"));
    form.setColumnString(QStringLiteral("LINEAR_STATIC"), 2);
    const int ownItems = popup->count();
    EXPECT_EQ(popup->currentText(), QStringLiteral("LINEAR_STATIC"));

    // Show then apply must not change a card whose type the popup does not list.
    for (const QString& type : { QStringLiteral("Linear_Static"), QStringLiteral("MODAL") }) {
        form.setColumnString(type, 2);
        EXPECT_EQ(form.columnStringAtIndex(2), type);
        EXPECT_EQ(popup->count(), ownItems + 1) << "one kept item at most";
    }
    form.setColumnString(QStringLiteral("LINEAR_STATIC"), 2);
    EXPECT_EQ(form.columnStringAtIndex(2), QStringLiteral("LINEAR_STATIC"));
    EXPECT_EQ(popup->count(), ownItems);

    form.setEditable(false);
    EXPECT_FALSE(popup->isEnabled());
    form.setEditable(true);
    form.setEnabled(false);
    EXPECT_FALSE(popup->isEnabled());
    form.setEnabled(true);
}

TEST(CardFormTest, fixNodeButtonsWriteTheirFlagsAndFollowEditability)
{
    UFemInstallCardClasses();
    auto& form = dynamic_cast<FixNodeFormViewController&>(formOf(FixNode::cardClassObject()));
    form.setEditable(true);
    const auto flags = [&] { return columnsOf(form).mid(1).join(QString()); };
    form.setColumnString(QStringLiteral("N7"), 2);
    form.resetColumnsAfterIndex(3);
    EXPECT_EQ(form.columnStringAtIndex(2), QStringLiteral("N7"));
    const std::vector<std::pair<const char*, QString>> presses {
        { "fixAllTranslationButton", "111" }, { "fixAllRotationButton", "111111" },
        { "freeAllTranslationButton", "000111" }, { "freeAllRotationButton", "000000" },
        { "fixAllDirectionButton", "111111" }, { "freeAllDirectionButton", "000000" }
    };
    for (const auto& [button, expected] : presses) {
        auto* pushButton = child<QPushButton>(form, button);
        ASSERT_NE(pushButton, nullptr) << button;
        pushButton->click();
        EXPECT_EQ(flags(), expected) << button;
    }
    EXPECT_EQ(form.columnStringAtIndex(2), QStringLiteral("N7")) << "the node name is no flag";
    EXPECT_EQ(form.numberOfCurrentColumns(), 9u);

    form.setEditable(false);
    const QList<QPushButton*> buttons = form.cardFormView()->findChildren<QPushButton*>();
    EXPECT_EQ(buttons.size(), 6);
    for (QPushButton* button : buttons)
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_TRUE(child<QLineEdit>(form, "txFixFlagFieldOutlet")->isReadOnly());
    form.setEditable(true);
    for (QPushButton* button : buttons)
        EXPECT_TRUE(button->isEnabled());
}

TEST(CardFormTest, restraintEquationGrowsAndShrinksWithItsPairs)
{
    UFemInstallCardClasses();
    RestraintEquationFormViewController& form = restraintEquationForm();
    EXPECT_EQ(form.numberOfColumns(), UFemColumnExpandableNumberOfColumns);
    CountingDelegate delegate;
    form.setDelegate(&delegate);
    const QSize initial = form.cardFormViewInitialSize();
    EXPECT_EQ(form.cardFormViewMinSize(), initial);
    auto* removeFirst = child<QPushButton>(form, "removeArgumentColumn_1_ButtonOutlet");
    ASSERT_NE(removeFirst, nullptr);
    EXPECT_FALSE(removeFirst->isEnabled());

    setPairs(form, { "1", "N1@TX", "2", "N2@TY", "3", "N3@TZ" });
    EXPECT_EQ(form.argumentPairColumnCount(), 3u);
    EXPECT_EQ(form.numberOfCurrentColumns(), 10u);
    EXPECT_EQ(form.cardFormViewMinSize(), QSize(initial.width(), initial.height() + 120));
    EXPECT_EQ(delegate.calls, 1) << "shown in one step";
    EXPECT_TRUE(removeFirst->isEnabled());
    QStringList visibleLabels;
    for (QLabel* label : child<QWidget>(form, "argumentColumnFormOutlet")->findChildren<QLabel*>())
        if (!label->isHidden())
            visibleLabels << label->text();
    EXPECT_EQ(visibleLabels,
        QStringList({ "Value 1:", "DOF 1:", "Value 2:", "DOF 2:", "Value 3:", "DOF 3:" }));
    EXPECT_EQ(form.insertRemoveArgumentColumnButtonArray().size(), 6u);
    EXPECT_EQ(form.lastKeyView(), form.cardFormView()->findChildren<QLineEdit*>().value(7));

    setPairs(form, { "4", "N4@RX" });
    EXPECT_EQ(form.argumentPairColumnCount(), 1u);
    EXPECT_EQ(form.cardFormViewMinSize(), initial);
    EXPECT_FALSE(removeFirst->isEnabled());
    EXPECT_EQ(pairColumns(form), QStringList({ "4", "N4@RX" }));
    EXPECT_EQ(delegate.calls, 2);

    // A last pair with its value only leaves the DOF cell empty, whatever was shown there.
    setPairs(form, { "1", "N1@TX", "2", "N2@TY" });
    setPairs(form, { "5", "N5@TX", "6" });
    EXPECT_EQ(pairColumns(form), QStringList({ "5", "N5@TX", "6", "" }));

    // Pairs added later take the form's editability.
    form.setEditable(false);
    form.addArgumentColumnButtonPushed();
    EXPECT_EQ(form.argumentPairColumnCount(), 3u);
    for (QLineEdit* field : form.cardFormView()->findChildren<QLineEdit*>()) {
        EXPECT_TRUE(field->isHidden() || field->isReadOnly());
    }
    form.setEditable(true);
    form.setDelegate(nullptr);
}

TEST(CardFormTest, restraintEquationInsertsRemovesAndResetsPairsInPlace)
{
    UFemInstallCardClasses();
    RestraintEquationFormViewController& form = restraintEquationForm();
    setPairs(form, { "1", "A", "2", "B" });
    form.insertArgumentColumnButtonPushed(0);
    EXPECT_EQ(pairColumns(form), QStringList({ "", "", "1", "A", "2", "B" }));

    setPairs(form, { "1", "A", "2", "B", "3", "C" });
    form.removeArgumentColumnButtonPushed(0);
    EXPECT_EQ(pairColumns(form), QStringList({ "2", "B", "3", "C" }));
    form.removeArgumentColumnButtonPushed(1);
    EXPECT_EQ(pairColumns(form), QStringList({ "2", "B" }));
    form.removeArgumentColumnButtonPushed(0);
    EXPECT_EQ(pairColumns(form), QStringList({ "2", "B" })) << "the only pair stays";

    UErrorPtr error;
    EXPECT_FALSE(form.removeArgumentColumnAtLast(&error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Unexpected error occurred. Minimum one pair of value, DOF columns."));
    EXPECT_EQ(form.argumentPairColumnCount(), 1u);

    // Columns from n on are emptied: n below 6 keeps one pair, from 6 on ceil((n - 4) / 2).
    const std::vector<std::pair<quint64, QStringList>> resets {
        { 4, { "", "", "", "", "", "" } },
        { 5, { "v", "", "", "", "", "" } },
        { 6, { "v", "d", "", "", "", "" } },
        { 7, { "v", "d", "v1", "", "", "" } },
        { 9, { "v", "d", "v1", "d1", "v2", "" } },
    };
    for (const auto& [index, expected] : resets) {
        setPairs(form, { "v", "d", "v1", "d1", "v2", "d2", "v3", "d3" });
        form.setColumnString(QStringLiteral("b"), 2);
        form.resetColumnsAfterIndex(index);
        QStringList shown = pairColumns(form);
        while (shown.size() < expected.size())
            shown << QString();
        EXPECT_EQ(shown, expected) << index;
        EXPECT_EQ(form.argumentPairColumnCount(), index < 6 ? 1 : (index - 3) / 2) << index;
        EXPECT_EQ(form.columnStringAtIndex(2), QStringLiteral("b"));
    }
    // Indexes 0 and 1 are not the form's: they empty the form without raising.
    form.resetColumnsAfterIndex(0);
    EXPECT_EQ(form.columnStringAtIndex(2), QString());

    // Emptying the whole form keeps its pairs and adds none.
    setPairs(form, { "1", "A", "2", "B" });
    form.resetCardTextColumns();
    EXPECT_EQ(pairColumns(form), QStringList({ "", "", "", "" }));
}
