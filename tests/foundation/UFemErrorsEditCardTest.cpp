#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsParsingString.h"

#include "ErrorExpectation.h"

TEST(ErrorCatalogueEditCard, TextsCodesAndStyles)
{
    const QString limit
        = QStringLiteral("Total Card Count reached to the limit. The Operation has aborted.");
    const QString tooMuch = QStringLiteral(
        "Too much columns for card class 'Node'. It should be 5 columns, but 7 columns exist.");
    const QString sameType = QStringLiteral("Card Name 'n1' is already used. ( same card type )");
    const QString differentType
        = QStringLiteral("Card Name 'n1' is already used as card name of different card type.");
    const QString toRun = QStringLiteral("( Error to Run ) no material");
    const std::vector<ErrorExpectation> table {
        { "12004", UFemModelDataLockedError(), 12004, QStringLiteral("Model data is locked."),
            QStringLiteral("Model data is locked."), QString(),
            QStringLiteral("Model data is locked.") },
        { "12005 locked",
            UFemModelDataLockedError_withDescription(
                QStringLiteral("Locked by tool."), QStringLiteral("Wait.")),
            12005, QStringLiteral("Locked by tool."), QStringLiteral("Locked by tool."),
            QStringLiteral("Wait."), QStringLiteral("Locked by tool.") },
        { "12005 limit", UFemModelDataCardIdentifierDidReachLimitError(), 12005, limit,
            QStringLiteral("Total Card Count reached to the limit."),
            QStringLiteral("You can't continue to edit the model data on this document. Please "
                           "close this document, "
                           "and then re-open it.\n( You need to close all windows of this "
                           "document, but not need "
                           "to close other documents. )"),
            limit, std::nullopt, std::nullopt, UFemAlertStyleCritical },
        { "12006", UFemEmptyCardClassNameError(), 12006,
            QStringLiteral("Card Class Name ( 1st column ) is empty."),
            QStringLiteral("Card Class Name ( 1st column ) is empty."),
            QStringLiteral(
                "Check 1st column on card. 'Comma' or 'Tab' might exist before some characters."),
            QStringLiteral("Card Class Name ( 1st column ) is empty."), std::nullopt,
            QStringLiteral("Card Class Name ( 1st column ) is empty.") },
        { "12008", UFemTooMuchColumnsError_withCardClassNameString(QStringLiteral("Node"), 5, 7),
            12008, QStringLiteral("Too much columns for this card class."),
            QStringLiteral("Too much columns for this card class."),
            QStringLiteral("5 columns for card class 'Node'. But 7 columns exist."), tooMuch,
            std::nullopt, tooMuch },
        { "12011", UFemChangingCardNameEmptyCardNameError(), 12011,
            QStringLiteral("Card Name is empty."), QStringLiteral("Card Name is empty."), QString(),
            QStringLiteral("Card Name is empty.") },
        { "12012",
            UFemChangingCardNameCardNameNotChangedError_withCardNameString(QStringLiteral("n1")),
            12012, std::nullopt, QStringLiteral("Card Name 'n1' is not changed."),
            QStringLiteral("Nothing changed."), QStringLiteral("Card Name 'n1' is not changed."),
            std::nullopt, std::nullopt, UFemAlertStyleInformational },
        { "12013",
            UFemCardNameUsedBySameTypeError_withCardNameString(
                QStringLiteral("n1"), QStringLiteral("Node")),
            12013, QStringLiteral("Card Name 'n1' is already used."),
            QStringLiteral("Card Name 'n1' is already used."),
            QStringLiteral(
                "The Card Name is used by other card as card type: 'Node'. ( same card type )"),
            sameType, std::nullopt, sameType },
        { "12014",
            UFemCardNameUsedByDifferentTypeError_withCardNameString(
                QStringLiteral("n1"), QStringLiteral("Node"), QStringLiteral("Element")),
            12014, differentType, differentType,
            QStringLiteral("The Card Name is used as card name of different card type: 'Node'. ( "
                           "tried to use as: 'Element' )"),
            QStringLiteral("Card Name 'n1' is already used as card name of different card type: "
                           "'Node'. ( tried to "
                           "use as: 'Element' )"),
            std::nullopt,
            QStringLiteral("Card Name 'n1' is already used as different card type : 'Node'. ( "
                           "tried to use as : 'Element' )") },
        { "12016", UFemCardErrorToRunWithErrorDescriptionString(QStringLiteral("no material")),
            12016, toRun, toRun, QString(), toRun, std::nullopt, toRun },
        { "12017", UFemCardWarningToRunWithErrorDescriptionString(QStringLiteral("no material")),
            12017, toRun, toRun, QString(), toRun, std::nullopt, toRun },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
    // A description of its own is missing: "The operation couldn't be completed." and the reason
    // stand in.
    EXPECT_EQ(table[6].error->localizedDescription(),
        "The operation couldn't be completed. Card Name 'n1' is not changed.");
}

TEST(ErrorCatalogueParsingString, TextsCodesAndStyles)
{
    const QString bad = QStringLiteral("Bad number.");
    const QString withRange = QStringLiteral("Bad number. - Error on: ab'x'");
    const QString withBoth = QStringLiteral("Bad number. - Error on: ab'x' - Use digits.");
    expectError({ "13001", UFemReadingCharacterError_withDescription(bad, QStringLiteral("ab'x'")),
        13001, bad, bad, QStringLiteral("Error on: ab'x'"), withRange, bad, withRange });
    expectError({ "13002",
        UFemReadingCharacterError_withDescription(
            bad, QStringLiteral("Use digits."), QStringLiteral("ab'x'")),
        13002, bad, bad, QStringLiteral("Error on: ab'x'\nUse digits."), withBoth, bad, withBoth });
}

TEST(ErrorCatalogueEditCard, ColumnWrapperAndWrapperOfAWrapper)
{
    const UErrorPtr base = UFemReadingCharacterError_withDescription(
        QStringLiteral("Bad number."), QStringLiteral("'x'"));
    const UErrorPtr column = UFemEditCardError_withBaseError_appendingColumnIndexInfoString(
        base, QStringLiteral("Column 3"));
    expectError({ "12001", column, 12001, QStringLiteral("Bad number. ( Column 3 )"),
        QStringLiteral("Bad number."), QStringLiteral("Error on: 'x'"),
        QStringLiteral("Bad number. - Error on: 'x' ( Column 3 )"),
        QStringLiteral("Bad number. ( Column 3 )"),
        QStringLiteral("Bad number. - Error on: 'x' ( Column 3 )"), UFemAlertStyleWarning, base });
    const UErrorUserInfo& info = column->userInfo();
    EXPECT_EQ(info.editCardErrorDescriptionString, QStringLiteral("Bad number."));
    EXPECT_EQ(
        info.editCardErrorOneLineDescriptionString, QStringLiteral("Bad number. - Error on: 'x'"));
    EXPECT_EQ(info.editCardErrorShortDescriptionString, QStringLiteral("Bad number."));
    EXPECT_EQ(info.editCardErrorColumnIndexInfoString, QStringLiteral("Column 3"));

    // Wrapped again: description and one-line start from the unappended texts, short and card
    // error from the wrapped error's own.
    const UErrorPtr twice = UFemEditCardError_withBaseError_appendingColumnIndexInfoString(
        column, QStringLiteral("Column 4"));
    expectError({ "12001 twice", twice, 12001, QStringLiteral("Bad number. ( Column 4 )"),
        QStringLiteral("Bad number."), QStringLiteral("Error on: 'x'"),
        QStringLiteral("Bad number. - Error on: 'x' ( Column 4 )"),
        QStringLiteral("Bad number. ( Column 3 ) ( Column 4 )"),
        QStringLiteral("Bad number. - Error on: 'x' ( Column 3 ) ( Column 4 )"),
        UFemAlertStyleWarning, column });
    EXPECT_EQ(twice->userInfo().editCardErrorDescriptionString, QStringLiteral("Bad number."));
    EXPECT_EQ(twice->userInfo().editCardErrorShortDescriptionString,
        QStringLiteral("Bad number. ( Column 3 )"));
}

TEST(ErrorCatalogueEditCard, CardWrapper)
{
    const UErrorPtr unknown
        = UFemUnknownCardClassError_withCardClassNameString(QStringLiteral("Foo"));
    const UErrorPtr card = UFemEditCardError_withBaseError_appendingCardInfoString(
        unknown, QStringLiteral("line 12"));
    expectError(
        { "12002", card, 12002, QStringLiteral("Unknown Card Class Name: 'Foo'. ( line 12 )"),
            QStringLiteral("Unknown Card Class Name: 'Foo'."),
            QStringLiteral("Check 1st column on card."),
            QStringLiteral("Unknown Card Class Name: 'Foo'. ( line 12 )"),
            QStringLiteral("Unknown Card Class Name: 'Foo'. ( line 12 )"),
            QStringLiteral("Unknown Card Class Name: 'Foo'."), UFemAlertStyleWarning, unknown });
    EXPECT_FALSE(card->userInfo().editCardErrorColumnIndexInfoString);

    // Around a column error the column is named after the card info, once.
    const UErrorPtr base
        = UFemReadingCharacterError_withDescription(QStringLiteral("Bad."), QStringLiteral("'x'"));
    const UErrorPtr column = UFemEditCardError_withBaseError_appendingColumnIndexInfoString(
        base, QStringLiteral("Column 2"));
    const UErrorPtr both = UFemEditCardError_withBaseError_appendingCardInfoString(
        column, QStringLiteral("Node n1"));
    expectError({ "12002 around 12001", both, 12002, QStringLiteral("Bad. ( Node n1, Column 2 )"),
        QStringLiteral("Bad."), QStringLiteral("Error on: 'x'"),
        QStringLiteral("Bad. - Error on: 'x' ( Node n1, Column 2 )"),
        QStringLiteral("Bad. ( Node n1, Column 2 )"),
        QStringLiteral("Bad. - Error on: 'x' ( Column 2 )"), UFemAlertStyleWarning, column });
    EXPECT_EQ(both->userInfo().editCardErrorColumnIndexInfoString, QStringLiteral("Column 2"));

    // A base without reason and suggestion gives a wrapper without them; the rest stays.
    const UErrorPtr bare = makeBaseError(QStringLiteral("Bare."), std::nullopt, std::nullopt);
    const UErrorPtr wrapped
        = UFemEditCardError_withBaseError_appendingCardInfoString(bare, QStringLiteral("c"));
    expectError({ "12002 bare", wrapped, 12002, QStringLiteral("Bare. ( c )"), std::nullopt,
        std::nullopt, QStringLiteral("Bare. ( c )"), QStringLiteral("Bare. ( c )"),
        QStringLiteral("Bare."), UFemAlertStyleWarning, bare });
}
