#include "foundation/errors/UFemErrorsCardFilter.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsParsingString.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

#include "ErrorExpectation.h"

namespace {

struct CodedError {
    const char* name;
    UErrorPtr error;
    qint64 code;
};

} // namespace

TEST(ErrorCatalogueSharedCodes, DifferentErrorsShareTheirCode)
{
    const QString text = QStringLiteral("t");
    const UErrorPtr base = makeBaseError(text, text, text);
    const std::vector<CodedError> table {
        { "locked with texts", UFemModelDataLockedError_withDescription(text, text), 12005 },
        { "card count limit", UFemModelDataCardIdentifierDidReachLimitError(), 12005 },
        { "result document", UFemCanNotCalculateResultDocumentError(), 21002 },
        { "now calculating", UFemDocumentNowCalculatingError(), 21002 },
        { "setup with DOF",
            UFemCalculationFailedWhileSetupError_withDescription(text, text, text, 5), 21011 },
        { "while calculation",
            UFemCalculationFailedWhileCalculationError_withCalculationErrorString(text), 21011 },
        { "in result data, text",
            UFemCalculationInResultDataFailedError_withCalculationErrorString(text), 21011 },
        { "in result data, error",
            UFemCalculationInResultDataFailedError_withCalculationError(base), 21011 },
        { "loading, text", UFemLoadingResultDataError_withDescriptionString(text), 21012 },
        { "loading, list", UFemLoadingResultDataError_withDescriptionStringArray({ text }), 21012 },
        { "canceled", UFemCalculationCanceledError(), 21099 },
        { "canceled document", UFemCalculationCanceledError_withDocumentNameString(text), 21099 },
        { "unexpected", UFemUnexpectedError_withDescription(text), 81004 },
        { "unexpected with suggestion", UFemUnexpectedError_withDescription(text, text), 81004 },
        { "to run", UFemCardErrorToRunWithErrorDescriptionString(text), 12016 },
        { "warning to run", UFemCardWarningToRunWithErrorDescriptionString(text), 12017 },
    };
    for (const CodedError& entry : table) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(entry.error->code(), entry.code);
        EXPECT_EQ(entry.error->domain(), UFemErrorDomain);
        EXPECT_EQ(entry.error->isUFemCalculationCanceledError(), entry.code == 21099);
    }
    // 12016 and 12017 differ only in their code.
    EXPECT_EQ(table[14].error->userInfo().description, table[15].error->userInfo().description);
    EXPECT_EQ(table[14].error->userInfo().cardErrorDescription,
        table[15].error->userInfo().cardErrorDescription);
}

TEST(ErrorCatalogueSharedCodes, OnlyTheCanceledErrorsAreCanceled)
{
    const QString text = QStringLiteral("t");
    const UErrorPtr parsing = UFemReadingCharacterError_withDescription(text, text);
    const std::vector<UErrorPtr> others {
        UFemMallocFailedError(),
        UFemNoFileSelectedError(),
        UFemEmptyCardNameOfCardError(),
        parsing,
        UFemCardFilterStringSyntaxError_withBaseError(parsing),
        UFemCardValueExpressionStringSyntaxError_withBaseError(parsing),
        UFemClipboardCardValueStringError_withDescription(text),
        UFemResultDataAlreadyExistError(),
    };
    for (const UErrorPtr& error : others)
        EXPECT_FALSE(error->isUFemCalculationCanceledError()) << error->code();
    // The code alone decides, so a wrapper that takes a canceled error's code is canceled too.
    EXPECT_TRUE(
        UFemCardValueExpressionStringSyntaxError_withBaseError(UFemCalculationCanceledError())
            ->isUFemCalculationCanceledError());
}
