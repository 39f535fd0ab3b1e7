#include "foundation/errors/UFemErrorsOther.h"

#include "ErrorExpectation.h"
#include "foundation/errors/UException.h"

TEST(ErrorCatalogueOther, TextsCodesAndStyles)
{
    const UErrorPtr base = makeBaseError(QStringLiteral("Base."), QStringLiteral("Because."),
        QStringLiteral("Try again."), QStringLiteral("Base one line."));
    const QString malloc = QStringLiteral("Memory allocation failed.");
    const std::vector<ErrorExpectation> table {
        { "81001", UFemMallocFailedError(), 81001,
            QStringLiteral(
                "Memory allocation failed. Other error might occurred or will occurred."),
            malloc,
            QStringLiteral(
                "Save Documents and Quit this application. Recommended to save with different file "
                "name, or duplicate the files on 'Finder' first then save document."),
            malloc, std::nullopt, std::nullopt, UFemAlertStyleCritical },
        { "81002", UFemFewChanceError_withDescription(QStringLiteral("D%@"), QStringLiteral("S")),
            81002, QStringLiteral("D%@"), QStringLiteral("D%@"), QStringLiteral("S"),
            QStringLiteral("D%@ - S") },
        { "81003", UFemFewChanceError_withDescription(QStringLiteral("Saving failed."), base),
            81003, QStringLiteral("Saving failed."), QStringLiteral("Because."),
            QStringLiteral("Base.\nTry again."),
            QStringLiteral("Saving failed. - Base one line.") },
        { "81004", UFemUnexpectedError_withDescription(QStringLiteral("x")), 81004,
            QStringLiteral("Unexpected error occurred. x"),
            QStringLiteral("Unexpected error occurred. x"),
            QStringLiteral("Unexpected error occurred."),
            QStringLiteral("Unexpected error occurred. x") },
        { "81004 with suggestion",
            UFemUnexpectedError_withDescription(QStringLiteral("x"), QStringLiteral("y")), 81004,
            QStringLiteral("Unexpected error occurred. x"),
            QStringLiteral("Unexpected error occurred. x"), QStringLiteral("y"),
            QStringLiteral("Unexpected error occurred. x") },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
}

TEST(ErrorCatalogueOther, AbsentValueEndsTheUserInfo)
{
    // No recovery suggestion: no one-line description and no style, so the accessors fall back.
    expectError({ "81002 without suggestion",
        UFemFewChanceError_withDescription(QStringLiteral("D"), std::nullopt), 81002,
        QStringLiteral("D"), QStringLiteral("D"), std::nullopt, std::nullopt, std::nullopt,
        std::nullopt, std::nullopt });
    const UErrorPtr error = UFemUnexpectedError_withDescription(QStringLiteral("x"), std::nullopt);
    EXPECT_EQ(error->localizedOneLineDescription(), "Unexpected error occurred. x");
    EXPECT_EQ(error->alertStyle(), 0u);

    // A base without a failure reason ends the list right after the description.
    const UErrorPtr reasonless
        = makeBaseError(QStringLiteral("Base."), std::nullopt, QStringLiteral("S"));
    expectError({ "81003 without base reason",
        UFemFewChanceError_withDescription(QStringLiteral("D"), reasonless), 81003,
        QStringLiteral("D"), std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
        std::nullopt });
}

TEST(ErrorCatalogueOther, WrapperWithoutBaseIsAProgramError)
{
    EXPECT_THROW(UFemFewChanceError_withDescription(QStringLiteral("D"), UErrorPtr()), UException);
}
