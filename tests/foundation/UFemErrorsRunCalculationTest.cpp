#include "foundation/errors/UFemErrorsRunCalculation.h"

#include "ErrorExpectation.h"
#include "foundation/errors/UException.h"

namespace {

QStringList names(int count)
{
    QStringList list;
    for (int index = 1; index <= count; ++index)
        list << QStringLiteral("n%1").arg(index);
    return list;
}

} // namespace

TEST(ErrorCatalogueRunCalculation, TextsCodesAndStyles)
{
    const QString onCalculating = QStringLiteral(
        "This document is on calculating. The Result Data will be loaded when calculation done.");
    const QString failedInResult = QStringLiteral("Calculation in result data failed.");
    const UErrorPtr calculationError = makeBaseError(QStringLiteral("Singular."), std::nullopt,
        QStringLiteral("Check restraints."), QStringLiteral("Singular at n1."));
    const std::vector<ErrorExpectation> table {
        { "21001", UFemResultDataAlreadyExistError(), 21001,
            QStringLiteral("Result Data already exists."),
            QStringLiteral("Result Data already exists."),
            QStringLiteral(
                "If you want to detach with current Result Data, you can unload Result Data with "
                "'File' menu."),
            QStringLiteral("Result Data already exists.") },
        { "21002 result document", UFemCanNotCalculateResultDocumentError(), 21002,
            QStringLiteral("Can't calculate Result Document."),
            QStringLiteral("Can't calculate Result Document."),
            QStringLiteral("Calculate with Project Document or Model Document. Or make new model "
                           "document from "
                           "this model data."),
            QStringLiteral("Can't calculate Result Document.") },
        { "21002 calculating", UFemDocumentNowCalculatingError(), 21002, onCalculating,
            QStringLiteral("This document is on calculating."),
            QStringLiteral(
                "If you want to detach with current calculating result data, you can unload Result "
                "Data "
                "with 'File' menu.\n( If you set result data would be saved when started current "
                "calculation, it will be saved when calculation done. If you didn't set, Current "
                "calculation will be lost so please quit current calculation on 'Calculation' "
                "Panel. )"),
            onCalculating },
        { "21004", UFemCheckToRunCalculationCardHasErrorToRunError(), 21004,
            QStringLiteral("( Error to Run ) Some cards has error to run."),
            QStringLiteral("( Error to Run ) Some cards has error to run."), QString(),
            QStringLiteral("( Error to Run ) Some cards has error to run.") },
        { "21008",
            UFemSeveralRestraintExistForSameDegreeOfFreedomError_withDegreeOfFreedomInfoString(
                QStringLiteral("n1@TX")),
            21008,
            QStringLiteral("Several Restraint exist for same Degree of Freedom (DOF). ( DOF over "
                           "restrained: n1@TX )"),
            QStringLiteral("Several Restraint exist for same Degree of Freedom (DOF). ( DOF over "
                           "restrained: n1@TX )"),
            QStringLiteral("Check Restraint Cards that restrains DOF 'n1@TX'."),
            QStringLiteral("Several Restraint exist for same Degree of Freedom (DOF). ( DOF over "
                           "restrained: n1@TX )") },
        { "21010",
            UFemCalculationFailedWhileSetupError_withDescription(
                QStringLiteral("D."), QStringLiteral("S.")),
            21010, QStringLiteral("Calculation failed. D."), QStringLiteral("D."),
            QStringLiteral("S."), QStringLiteral("Calculation failed. D. S.") },
        { "21011 DOF",
            UFemCalculationFailedWhileSetupError_withDescription(
                QStringLiteral("D."), QStringLiteral("S."), QStringLiteral("node"), 0),
            21011, QStringLiteral("Calculation failed. D.\n( DOF: node@TX )"), QStringLiteral("D."),
            QStringLiteral("S."), QStringLiteral("Calculation failed. D. ( DOF: node@TX ) S.") },
        { "21011 while calculation",
            UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
                QStringLiteral("bad pivot")),
            21011, QStringLiteral("Error occurred while calculation."),
            QStringLiteral("Error occurred while calculation."), QStringLiteral("bad pivot"),
            QStringLiteral("Error occurred while calculation. - error: bad pivot") },
        { "21011 in result data, string",
            UFemCalculationInResultDataFailedError_withCalculationErrorString(
                QStringLiteral("bad")),
            21011, failedInResult, failedInResult, QStringLiteral("bad"),
            QStringLiteral("Calculation in result data failed. - error: bad") },
        { "21011 in result data, error",
            UFemCalculationInResultDataFailedError_withCalculationError(calculationError), 21011,
            failedInResult, failedInResult, QStringLiteral("Singular.\nCheck restraints."),
            QStringLiteral("Calculation in result data failed. - error: Singular at n1.") },
        { "21012 string",
            UFemLoadingResultDataError_withDescriptionString(QStringLiteral("Truncated.")), 21012,
            QStringLiteral("Loading Result Data failed."), QStringLiteral("Truncated."),
            QStringLiteral("Truncated."),
            QStringLiteral("Loading Result Data failed. - Truncated.") },
        { "21099", UFemCalculationCanceledError(), 21099,
            QStringLiteral("Calculation has canceled."),
            QStringLiteral("Calculation has canceled."), QString(),
            QStringLiteral("Calculation has canceled.") },
        { "21099 document",
            UFemCalculationCanceledError_withDocumentNameString(QStringLiteral("beam")), 21099,
            QStringLiteral("Calculation of document 'beam' has canceled."),
            QStringLiteral("Calculation of document 'beam' has canceled."), QString(),
            QStringLiteral("Calculation of document 'beam' has canceled.") },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
}

TEST(ErrorCatalogueRunCalculation, DirectionTable)
{
    const char* expected[] = { "TX", "TY", "TZ", "RX", "RY", "RZ" };
    for (quint64 direction = 0; direction < 6; ++direction) {
        const UErrorPtr error = UFemCalculationFailedWhileSetupError_withDescription(
            QStringLiteral("D"), QStringLiteral("S"), QStringLiteral("n"), direction);
        EXPECT_EQ(error->localizedDescription(),
            QStringLiteral("Calculation failed. D\n( DOF: n@%1 )")
                .arg(QLatin1String(expected[direction])));
    }
    EXPECT_THROW(UFemCalculationFailedWhileSetupError_withDescription(
                     QStringLiteral("D"), QStringLiteral("S"), QStringLiteral("n"), 6),
        UException);
}

TEST(ErrorCatalogueRunCalculation, MissingCardNamesListAtMostFive)
{
    const UErrorPtr five
        = UFemCheckToRunCalculationNoCardRegisteredForCardNameError_withCardNameStringArray(
            names(5));
    expectError({ "21007 five", five, 21007,
        QStringLiteral("( Error to Run ) Cards doesn't exist for some card names used."),
        QStringLiteral("( Error to Run ) Cards doesn't exist for some card names used."),
        QStringLiteral("Cards doesn't exist for card names:\nn1, n2, n3, n4, n5\n( 5 card names )"),
        QStringLiteral(
            "( Error to Run ) Cards doesn't exist for some card names used. ( 5 card names )") });
    const UErrorPtr six
        = UFemCheckToRunCalculationNoCardRegisteredForCardNameError_withCardNameStringArray(
            names(6));
    EXPECT_EQ(six->localizedRecoverySuggestion(),
        "Cards doesn't exist for card names:\nn1, n2, n3, n4, n5, ...\n( 6 card names )");
    EXPECT_EQ(six->localizedOneLineDescription(),
        "( Error to Run ) Cards doesn't exist for some card names used. ( 6 card names )");
}

TEST(ErrorCatalogueRunCalculation, LoadingErrorListShowsSixEntries)
{
    const UErrorPtr one
        = UFemLoadingResultDataError_withDescriptionStringArray({ QStringLiteral("m1") });
    EXPECT_EQ(one->localizedOneLineDescription(), "Loading Result Data failed. - m1");
    EXPECT_EQ(one->localizedRecoverySuggestion(), "Error :\nm1\n( 1 errors )");
    EXPECT_EQ(one->localizedFailureReason(), "Loading Result Data failed.");

    const UErrorPtr three = UFemLoadingResultDataError_withDescriptionStringArray(names(3));
    EXPECT_EQ(three->localizedOneLineDescription(),
        "Loading Result Data failed. - n1 ... etc. ( 3 errors )");
    EXPECT_EQ(three->localizedRecoverySuggestion(), "Error :\nn1\nn2\nn3\n( 3 errors )");

    const UErrorPtr six = UFemLoadingResultDataError_withDescriptionStringArray(names(6));
    EXPECT_EQ(six->localizedRecoverySuggestion(),
        "Error :\nn1\nn2\nn3\nn4\nn5\nn6\n... etc.\n( 6 errors )");

    const UErrorPtr seven = UFemLoadingResultDataError_withDescriptionStringArray(names(7));
    EXPECT_EQ(seven->localizedRecoverySuggestion(),
        "Error :\nn1\nn2\nn3\nn4\nn5\nn6\n... etc.\n( 7 errors )");
    EXPECT_EQ(seven->code(), 21012);

    EXPECT_THROW(UFemLoadingResultDataError_withDescriptionStringArray({}), UException);
}

TEST(ErrorCatalogueRunCalculation, CalculationErrorTextIsCutAt200Units)
{
    const QString exact(200, u'x');
    EXPECT_EQ(UFemCalculationFailedWhileCalculationError_withCalculationErrorString(exact)
                  ->localizedRecoverySuggestion(),
        exact);
    const QString longer = QString(200, u'x') + QStringLiteral("yz");
    const UErrorPtr cut = UFemCalculationInResultDataFailedError_withCalculationErrorString(longer);
    EXPECT_EQ(cut->localizedRecoverySuggestion(), QString(200, u'x') + " ...");
    EXPECT_EQ(cut->localizedOneLineDescription(),
        "Calculation in result data failed. - error: " + QString(200, u'x') + " ...");

    // A surrogate pair across the cut stays whole: the cut moves before it.
    const QString pair = QString::fromUtf8("\U0001F600");
    const QString straddling = QString(199, u'x') + pair + QStringLiteral("tail");
    ASSERT_TRUE(straddling.at(199).isHighSurrogate());
    EXPECT_EQ(UFemShortenedCalculationErrorString(straddling), QString(199, u'x') + " ...");
    const QString before = QString(198, u'x') + pair + QStringLiteral("tail");
    EXPECT_EQ(UFemShortenedCalculationErrorString(before), QString(198, u'x') + pair + " ...");
}

TEST(ErrorCatalogueRunCalculation, OnlyCanceledErrorsAreCanceled)
{
    EXPECT_TRUE(UFemCalculationCanceledError()->isUFemCalculationCanceledError());
    EXPECT_TRUE(UFemCalculationCanceledError_withDocumentNameString(QStringLiteral("d"))
                    ->isUFemCalculationCanceledError());
    EXPECT_FALSE(UFemResultDataAlreadyExistError()->isUFemCalculationCanceledError());
    EXPECT_FALSE(
        UFemCalculationFailedWhileCalculationError_withCalculationErrorString(QStringLiteral("e"))
            ->isUFemCalculationCanceledError());
}
