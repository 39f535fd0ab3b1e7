#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsCardFilter.h"
#include "foundation/errors/UFemErrorsParsingString.h"

#include "ErrorExpectation.h"

TEST(ErrorCatalogueCardValue, TextsCodesAndStyles)
{
    const QString syntax = QStringLiteral("Card Value Expression Syntax Error - Bad.");
    const QString syntaxRange
        = QStringLiteral("Card Value Expression Syntax Error - Bad. - Error on: a'+'");
    const QString major = QStringLiteral("Unknown Major Card Value Type 'Foo'");
    const QString noCase
        = QStringLiteral("No case selected. Value 'Disp' requires specifying cases.");
    const QString list = QStringLiteral("Card Value List Syntax Error - Bad.");
    const QString notReturned = QStringLiteral("Card 'q1' does not return value 'Stress'.");
    const QString clip = QStringLiteral("Clipboard Card Value Error - Bad.");
    const QString clipRange = QStringLiteral("Clipboard Card Value Error - Bad. - Error on: a'+'");
    const QString clipName
        = QStringLiteral("Card Name 'q1' is not found in Clipboard Card Value Data.");
    const QString range = QStringLiteral("a'+'");
    const QString bad = QStringLiteral("Bad.");
    const std::vector<ErrorExpectation> table {
        { "42001",
            UFemCardValueExpressionStringSyntaxError_withDescription(
                bad, QStringLiteral("Fix."), range),
            42001, syntax, syntax, QStringLiteral("Fix.\nError on: a'+'"), syntaxRange,
            QStringLiteral("ValueExpression Syntax Error") },
        { "42002", UFemCardValueExpressionStringSyntaxError_withDescription(bad, range), 42002,
            syntax, syntax, QStringLiteral("Error on: a'+'"), syntaxRange,
            QStringLiteral("ValueExpression Syntax Error") },
        { "42003",
            UFemCardValueExpressionUnknownMajorCardValueTypeError_withMajorCardValueTypeString(
                QStringLiteral("Foo"), range),
            42003, major, major, QStringLiteral("Error on: a'+'"),
            QStringLiteral("Unknown Major Card Value Type 'Foo' - Error on: a'+'"),
            QStringLiteral("Unknown Value Type 'Foo'") },
        { "42006", UFemCardValueExpressionGettingValueError_withDescription(bad, QString(), range),
            42006, QStringLiteral("Could not get value with Card Value Expression. - Bad."),
            QStringLiteral("Could not get value with Card Value Expression. - Bad."),
            QStringLiteral("\nError on: a'+'"),
            QStringLiteral(
                "Could not get value with Card Value Expression. - Bad. - Error on: a'+'"),
            QStringLiteral("Getting Value Error") },
        { "42008",
            UFemCardValueExpressionNoCaseSelectedError_withCardValueExpressionString(
                QStringLiteral("Disp")),
            42008, noCase, noCase, QStringLiteral("Select cases."), noCase,
            QStringLiteral("No case selected.") },
        { "42012",
            UFemCardValueExprListStringSyntaxError_withDescription(bad, QStringLiteral("Fix.")),
            42012, list, list, QStringLiteral("Fix."), list,
            QStringLiteral("ValueList Syntax Eror") },
        { "42013",
            UFemCardNotSupportCardValueTypeError_withCardNameString(
                QStringLiteral("q1"), QStringLiteral("Stress")),
            42013, notReturned, notReturned,
            QStringLiteral("Check Card Value Expression and Card Filter."), notReturned,
            QStringLiteral("Could not get value 'Stress'.") },
        { "42019",
            UFemClipboardCardValueStringError_withDescription(bad, QStringLiteral("Fix."), range),
            42019, clip, clip, QStringLiteral("Fix.\nError on: a'+'"), clipRange,
            QStringLiteral("Clipboard Card Value Error") },
        { "42020",
            UFemClipboardCardValueStringError_withDescription_errorRangeHighlightedString(
                bad, range),
            42020, clip, clip, QStringLiteral("Error on: a'+'"), clipRange,
            QStringLiteral("Clipboard Card Value Error") },
        { "42021", UFemClipboardCardValueStringError_withDescription(bad), 42021, clip, clip,
            QString(), clip, QStringLiteral("Clipboard Card Value Error") },
        { "42022",
            UFemCardNameNotFoundInClipboardCardValueDataError_withCardNameString(
                QStringLiteral("q1")),
            42022, clipName, clipName,
            QStringLiteral("To get Clipboard Card Value, Clipboard must contain string with card "
                           "name and the value, "
                           "like\nelem_01 , 12.3 \nelem_02 , 13.5\n..."),
            clipName },
        { "42023",
            UFemClipboardCardValueStringError_withDescription_recoverySuggestion(
                bad, QStringLiteral("Fix.")),
            42023, clip, clip, QStringLiteral("Fix."), clip,
            QStringLiteral("Clipboard Card Value Error") },
        // No suggestion from the caller: one-line, short and style are not stored.
        { "42023 without suggestion",
            UFemClipboardCardValueStringError_withDescription_recoverySuggestion(bad, std::nullopt),
            42023, clip, clip, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
            std::nullopt },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
}

TEST(ErrorCatalogueCardValue, ExpressionWrapperTakesTheBaseCode)
{
    const UErrorPtr base
        = UFemReadingCharacterError_withDescription(QStringLiteral("Bad."), QStringLiteral("'x'"));
    const UErrorPtr wrapped = UFemCardValueExpressionStringSyntaxError_withBaseError(base);
    expectError({ "expression wrapper", wrapped, 13001,
        QStringLiteral("Card Value Expression Syntax Error - Bad."), QStringLiteral("Bad."),
        QStringLiteral("Error on: 'x'"),
        QStringLiteral("Card Value Expression Syntax Error - Bad. - Error on: 'x'"),
        QStringLiteral("ValueExpression Syntax Error"), std::nullopt, UFemAlertStyleWarning,
        base });
    EXPECT_EQ(UFemCardFilterStringSyntaxError_withBaseError(base)->code(), 41001);

    // Around a filter wrapper: the code is the filter's, the texts nest.
    const UErrorPtr filter = UFemCardFilterStringSyntaxError_withBaseError(base);
    const UErrorPtr nested = UFemCardValueExpressionStringSyntaxError_withBaseError(filter);
    EXPECT_EQ(nested->code(), 41001);
    EXPECT_EQ(nested->localizedOneLineDescription(),
        "Card Value Expression Syntax Error - Card Filter Syntax Error - Bad. - Error on: 'x'");
    EXPECT_EQ(nested->underlyingError(), filter);
}

TEST(ErrorCatalogueCardValue, ClipboardWrapper)
{
    const UErrorPtr base
        = makeBaseError(QStringLiteral("Not a number."), QStringLiteral("Because."),
            QStringLiteral("Type digits."), QStringLiteral("Not a number: 'x'."));
    expectError({ "42018", UFemClipboardCardValueStringError_withBaseError(base), 42018,
        QStringLiteral("Clipboard Card Value Error - Not a number."), QStringLiteral("Because."),
        QStringLiteral("Type digits."),
        QStringLiteral("Clipboard Card Value Error - Not a number: 'x'."),
        QStringLiteral("Clipboard Card Value Error"), std::nullopt, UFemAlertStyleWarning, base });
    // Without a reason the list ends after the description: no underlying error either.
    const UErrorPtr bare
        = makeBaseError(QStringLiteral("Bare."), std::nullopt, QStringLiteral("S"));
    const UErrorPtr wrapped = UFemClipboardCardValueStringError_withBaseError(bare);
    expectError(
        { "42018 bare", wrapped, 42018, QStringLiteral("Clipboard Card Value Error - Bare."),
            std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt });
    EXPECT_EQ(wrapped->localizedShortDescription(), "Clipboard Card Value Error - Bare.");
}
