#include "foundation/errors/UFemErrorsColorScale.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "foundation/errors/UFemErrorsSearchCardName.h"
#include "foundation/errors/UFemErrorsSearchString.h"
#include "foundation/strings/UFemNumberFormatter.h"

#include "ErrorExpectation.h"

TEST(ErrorCatalogueSearchCardName, TextsCodesAndStyles)
{
    const QString missing = QStringLiteral("Card of Card Name 'n9' does not exist.");
    const std::vector<ErrorExpectation> table {
        { "31001", UFemSearchingCardNameEmptyCardNameError(), 31001,
            QStringLiteral("Card Name is empty."), QStringLiteral("Card Name is empty."),
            QStringLiteral("No card name to search."), QStringLiteral("Card Name is empty."),
            std::nullopt, QStringLiteral("Card Name is empty. No card name to search.") },
        { "31002",
            UFemSearchingCardNameCardOfCardNameNotExistError_withCardNameString(
                QStringLiteral("n9")),
            31002, missing, missing,
            QStringLiteral("The card name used as reference card name, but not exist."),
            QStringLiteral("Card of Card Name 'n9' does not exist. The card name used as reference "
                           "card name, but "
                           "not exist.") },
        { "31013",
            UFemSearchingCardNameCardNameNotUsedError_withCardNameString(QStringLiteral("n9")),
            31013, missing, missing,
            QStringLiteral("This card name is not used as reference card name, too."),
            QStringLiteral("Card of Card Name 'n9' does not exist. This card name is not used as "
                           "reference card "
                           "name, too.") },
        { "31016", UFemModelEditorTargetDocumentClosedError(), 31016,
            QStringLiteral("Target window has closed."),
            QStringLiteral("Target window has closed."), QString(),
            QStringLiteral("Target window has closed.") },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
}

TEST(ErrorCatalogueSearchString, TextsCodesAndStyles)
{
    expectError({ "61001", UFemEmptySearchStringError(), 61001,
        QStringLiteral("Search string is empty."), QStringLiteral("Search string is empty."),
        QStringLiteral("Set search string with 'Find' panel."),
        QStringLiteral("Search string is empty.") });
}

TEST(ErrorCatalogueGraphicDrawing, TextsCodesAndStyles)
{
    const QString close = QStringLiteral(
        "( Error on Calculating Auto Color Value Range ) 'min value' (+2.500E-01) and "
        "'max value' (+1.000E+20) are equal or too close.");
    const QString sizeDescription = QStringLiteral(
        "( Error on Drawing Card ) Card Value Array Size for color doesn't match.");
    const std::vector<ErrorExpectation> table {
        { "32001", UFemGraphicDrawingError_withDescription(QStringLiteral("No context.")), 32001,
            QStringLiteral("No context."), QStringLiteral("No context."), QString(),
            QStringLiteral("No context.") },
        { "32002",
            UFemAutoColorByValueValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
                0.25, 1e20),
            32002, close, close,
            QStringLiteral(
                "Only one object returns a value, or all objects return almost same value."),
            close },
        // The leading count (9) never shows.
        { "32003",
            UFemDrawingCardColorCardValueArraySizeError_withCardInfoString(
                QStringLiteral("Quad q1"), { 9, 4, 2, 3 }, QStringLiteral("1, 1, 1")),
            32003, sizeDescription, sizeDescription,
            QStringLiteral(
                "Check Card Value Expression for color.\ncard: Quad q1\nCardValueArraySize: ( "
                "Number of "
                "points: 4, Number of section points: 2, Number of vector values: 3 )\nRequired "
                "CardValueArraySize: ( 1, 1, 1 )"),
            QStringLiteral("( Error on Drawing Card ) Card Value Array Size for color doesn't "
                           "match. ( card: Quad q1, "
                           "CardValueArraySize: ( Number of points: 4, Number of section points: "
                           "2, Number of vector "
                           "values: 3 ), Required CardValueArraySize: ( 1, 1, 1 ) )") },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
}

TEST(ErrorCatalogueColorScale, TextsCodesAndStyles)
{
    const QString bigger
        = QStringLiteral("Invalid Color Scale value range. 'Min value' is bigger than 'Max value'");
    const QString close = QStringLiteral("Invalid Color Scale value range. 'Min value' (%1) and "
                                         "'Max value' (%2) are equal or too close.")
                              .arg(UFemNumberFormatter::quickStringWithValue(-1.5),
                                  UFemNumberFormatter::quickStringWithValue(2.0));
    const std::vector<ErrorExpectation> table {
        { "51001", UFemColorScaleValueRangeMinValueBiggerThanMaxValueError(), 51001, bigger, bigger,
            QStringLiteral("'Min value' must be smaller than 'Max value'."), bigger },
        { "51002",
            UFemColorScaleValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
                -1.5, 2.0),
            51002, close, close,
            QStringLiteral("Set 'Min value' and 'Max value' away from each other."), close },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
}

TEST(ErrorCatalogueColorScale, NumbersPrintAsTheTablesShowThem)
{
    EXPECT_EQ(
        UFemColorScaleValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(1, 2)
            ->localizedDescription(),
        "Invalid Color Scale value range. 'Min value' (+1.000E+00) and 'Max value' (+2.000E+00) "
        "are equal or too close.");
    EXPECT_EQ(
        UFemAutoColorByValueValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
            3, 4)
            ->localizedFailureReason(),
        "( Error on Calculating Auto Color Value Range ) 'min value' (+3.000E+00) and 'max value' "
        "(+4.000E+00) are equal or too close.");
}
