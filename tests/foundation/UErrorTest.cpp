#include "foundation/errors/UError.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

TEST(ErrorFrame, AccessorsFallBackToTheDescription)
{
    UErrorUserInfo info;
    info.description = QStringLiteral("Headline.");
    const UErrorPtr error = UError::create(UFemErrorDomain, 12345, info);
    EXPECT_EQ(error->alertStyle(), 0u);
    EXPECT_EQ(error->localizedOneLineDescription(), "Headline.");
    EXPECT_EQ(error->localizedShortDescription(), "Headline.");
    EXPECT_EQ(error->localizedCardErrorDescription(), "Headline.");
    EXPECT_EQ(error->errorDescriptionStringForParentError(), "Headline.");
}

TEST(ErrorFrame, ParentDescriptionJoinsDescriptionAndSuggestion)
{
    UErrorUserInfo both;
    both.description = QStringLiteral("D");
    both.recoverySuggestion = QStringLiteral("S");
    EXPECT_EQ(
        UError::create(UFemErrorDomain, 1, both)->errorDescriptionStringForParentError(), "D\nS");

    UErrorUserInfo onlySuggestion;
    onlySuggestion.description = QString();
    onlySuggestion.recoverySuggestion = QStringLiteral("S");
    EXPECT_EQ(
        UError::create(UFemErrorDomain, 1, onlySuggestion)->errorDescriptionStringForParentError(),
        "S");
}

TEST(ErrorFrame, CanceledErrorIsRecognisedByCodeInAnyDomain)
{
    EXPECT_TRUE(
        UError::create(QStringLiteral("Other"), 21099, {})->isUFemCalculationCanceledError());
    EXPECT_FALSE(UError::create(UFemErrorDomain, 21098, {})->isUFemCalculationCanceledError());
}

TEST(ErrorFrame, MissingOutParameterRaisesTheErrorResponderError)
{
    try {
        UFemSetError(nullptr, UError::create(UFemErrorDomain, 1, {}));
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), "Program Error.");
        EXPECT_EQ(exception.reason(), "Error Responder Error");
    }
}

TEST(ErrorFrame, ProgramErrorWithValueNamesTheValue)
{
    try {
        UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown type"), -7);
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), "Unknown type ( value: -7 )");
    }
    // A reason that looks like a placeholder stays as it is.
    try {
        UFemRaiseProgramErrorWithValue(QStringLiteral("50%1 off"), 3);
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), "50%1 off ( value: 3 )");
    }
}

TEST(ErrorFrame, DescriptionFallBackWithoutADescription)
{
    UErrorUserInfo withReason;
    withReason.failureReason = QStringLiteral("Disk full.");
    EXPECT_EQ(UError::create(UFemErrorDomain, 11030, withReason)->localizedDescription(),
        "The operation couldn't be completed. Disk full.");
    EXPECT_EQ(UError::create(UFemErrorDomain, 5, {})->localizedDescription(),
        "The operation couldn't be completed. (UFemErrorDomain error 5.)");
    UErrorUserInfo onlyDescription;
    onlyDescription.description = QStringLiteral("D");
    onlyDescription.recoverySuggestion = QString();
    EXPECT_EQ(
        UError::create(UFemErrorDomain, 1, onlyDescription)->errorDescriptionStringForParentError(),
        "D");
}

TEST(ErrorFrame, RaisersNameTheirException)
{
    const auto caught = [](auto raise) -> std::pair<QString, QString> {
        try {
            raise();
        } catch (const UException& exception) {
            return { exception.name(), exception.reason() };
        }
        return {};
    };
    EXPECT_EQ(caught([] { UFemRaiseMemoryAllocationFailed(); }),
        std::make_pair(QStringLiteral("Memory allocation failed."),
            QStringLiteral("Memory allocation failed.")));
    EXPECT_EQ(caught([] { UFemRaiseCardClassProgramError(QStringLiteral("abstract")); }),
        std::make_pair(QStringLiteral("Card Class Program Error."), QStringLiteral("abstract")));
    EXPECT_EQ(caught([] { UFemRaiseProgramError(QStringLiteral("bad")); }),
        std::make_pair(QStringLiteral("Program Error."), QStringLiteral("bad")));
    EXPECT_THROW(URaiseRangeException(), URangeException);
    EXPECT_THROW(URaiseRangeException(), std::out_of_range);
}

TEST(ErrorFrame, DebugLogFlagStartsOff)
{
    EXPECT_FALSE(ULibrary::doesPrintDebugLog());
    ULibrary::setDoesPrintDebugLog(true);
    EXPECT_TRUE(ULibrary::doesPrintDebugLog());
    ULibrary::setDoesPrintDebugLog(false);
}
