#include "foundation/errors/UFemErrorsCardFilter.h"
#include "foundation/errors/UFemErrorsParsingString.h"

#include "ErrorExpectation.h"

TEST(ErrorCatalogueCardFilter, TextsCodesAndStyles)
{
    const QString syntax = QStringLiteral("Card Filter Syntax Error - Missing ')'.");
    const QString withRange
        = QStringLiteral("Card Filter Syntax Error - Missing ')'. - Error on: (a'b'");
    const std::vector<ErrorExpectation> table {
        { "41002",
            UFemCardFilterStringSyntaxError_withDescription(QStringLiteral("Missing ')'."),
                QStringLiteral("Close it."), QStringLiteral("(a'b'")),
            41002, syntax, syntax, QStringLiteral("Close it.\nError on: (a'b'"), withRange,
            QStringLiteral("Filter Syntax Error") },
        { "41003",
            UFemCardFilterStringSyntaxError_withDescription(
                QStringLiteral("Missing ')'."), QStringLiteral("(a'b'")),
            41003, syntax, syntax, QStringLiteral("Error on: (a'b'"), withRange,
            QStringLiteral("Filter Syntax Error") },
        { "41004", UFemCardFilterStringSyntaxError_withDescription(QStringLiteral("Missing ')'.")),
            41004, syntax, syntax, QString(), syntax, QStringLiteral("Filter Syntax Eror") },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
}

TEST(ErrorCatalogueCardFilter, WrapperAndWrapperOfAWrapper)
{
    const UErrorPtr base
        = UFemReadingCharacterError_withDescription(QStringLiteral("Bad."), QStringLiteral("'x'"));
    const UErrorPtr wrapped = UFemCardFilterStringSyntaxError_withBaseError(base);
    expectError({ "41001", wrapped, 41001, QStringLiteral("Card Filter Syntax Error - Bad."),
        QStringLiteral("Bad."), QStringLiteral("Error on: 'x'"),
        QStringLiteral("Card Filter Syntax Error - Bad. - Error on: 'x'"),
        QStringLiteral("Filter Syntax Error"), std::nullopt, UFemAlertStyleWarning, base });

    const UErrorPtr twice = UFemCardFilterStringSyntaxError_withBaseError(wrapped);
    expectError({ "41001 twice", twice, 41001,
        QStringLiteral("Card Filter Syntax Error - Card Filter Syntax Error - Bad."),
        QStringLiteral("Bad."), QStringLiteral("Error on: 'x'"),
        QStringLiteral(
            "Card Filter Syntax Error - Card Filter Syntax Error - Bad. - Error on: 'x'"),
        QStringLiteral("Filter Syntax Error"), std::nullopt, UFemAlertStyleWarning, wrapped });

    // A base with a reason but no suggestion and no one-line text: the list ends after the reason,
    // and the one-line text would have used the base's description.
    const UErrorPtr partial
        = makeBaseError(QStringLiteral("Odd."), QStringLiteral("Why."), std::nullopt);
    expectError({ "41001 partial", UFemCardFilterStringSyntaxError_withBaseError(partial), 41001,
        QStringLiteral("Card Filter Syntax Error - Odd."), QStringLiteral("Why."), std::nullopt,
        std::nullopt, std::nullopt, std::nullopt, std::nullopt });
    const UErrorPtr noOneLine
        = makeBaseError(QStringLiteral("Odd."), QStringLiteral("Why."), QStringLiteral("Fix."));
    EXPECT_EQ(
        UFemCardFilterStringSyntaxError_withBaseError(noOneLine)->userInfo().oneLineDescription,
        QStringLiteral("Card Filter Syntax Error - Odd."));
}
