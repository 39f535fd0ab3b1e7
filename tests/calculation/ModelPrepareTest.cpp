#include "CalculationModelSupport.h"
#include "QStringPrinting.h"

#include "cards/Node.h"
#include "cards/loads/Case.h"
#include "foundation/UFemNotFound.h"

#include <gtest/gtest.h>

namespace {

const QString material = QStringLiteral("Material , M , 1000 , 0.3 ,\nRodProp , RP , M , 1 ,\n");
const QString twoNodes = QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 1 , 0 , 0 ,\n");
const QString rodWithSupportAndLoad
    = QStringLiteral("Rod , R1 , RP , N1 , N2 ,\n"
                     "FixNode , S , N1 , YES , YES , YES ,\n"
                     "Force , F , N2 ,  , 10 , 0 , 0 , 0 , 0 , 0 ,\n");
const QString oneCase = QStringLiteral("Case , C , LINEAR_STATIC , S , F ,\n");

struct CheckOutcome {
    bool passed;
    UErrorPtr error;
    int windowsShown;
};

CheckOutcome check(const QString& modelText, quint64 threadCount = 1)
{
    CalculationTestModel model(modelText);
    CheckOutcome outcome { false, nullptr, 0 };
    outcome.passed = UFemCheckToRunCalculation(
        model.controller(), [&](UFemDataController&) { ++outcome.windowsShown; }, threadCount,
        &outcome.error);
    return outcome;
}

} // namespace

TEST(ModelPrepare, CheckGivesTheFirstReasonAModelCannotBeCalculated)
{
    const CheckOutcome good = check(material + twoNodes + rodWithSupportAndLoad + oneCase);
    EXPECT_TRUE(good.passed);
    EXPECT_FALSE(good.error);

    // An error card and no case: only the error-card error.
    const CheckOutcome errorCard
        = check(material + twoNodes + u"Rod , R1 , RP , N1 ,, N2 , 7 , x\n"_qs);
    ASSERT_TRUE(errorCard.error);
    EXPECT_EQ(errorCard.error->code(), 21003);
    EXPECT_EQ(
        errorCard.error->localizedDescription(), u"( Error to Run ) Some error cards exist."_qs);
    EXPECT_EQ(errorCard.error->localizedRecoverySuggestion(),
        u"Correct all errors on the error cards."_qs);

    const CheckOutcome noCase = check(material + twoNodes + rodWithSupportAndLoad);
    ASSERT_TRUE(noCase.error);
    EXPECT_EQ(noCase.error->code(), 21005);
    EXPECT_EQ(
        noCase.error->localizedDescription(), u"( Error to Run ) No case card exists in model."_qs);
    EXPECT_EQ(noCase.error->localizedRecoverySuggestion(),
        u"There is no case for calculation. Add some cases."_qs);

    const CheckOutcome noElement = check(material + twoNodes
        + u"FixNode , S , N1 , YES , YES , YES ,\nForce , F , N2 ,  , 10 , 0 , 0 , 0 , 0 , 0 ,\n"_qs
        + oneCase);
    ASSERT_TRUE(noElement.error);
    EXPECT_EQ(noElement.error->code(), 21006);
    EXPECT_EQ(noElement.error->localizedDescription(),
        u"( Error to Run ) No element card exists in model."_qs);
    EXPECT_EQ(
        noElement.error->localizedRecoverySuggestion(), u"There is no element on this model."_qs);
    EXPECT_FALSE(noElement.passed);
}

TEST(ModelPrepare, CheckListsNamesThatNoCardBears)
{
    const CheckOutcome outcome = check(material + twoNodes + rodWithSupportAndLoad
        + u"Case , C , LINEAR_STATIC , Gone1 , Gone2 ,\nCase , D , LINEAR_STATIC , Gone3 , F ,\n"_qs);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), 21007);
    EXPECT_EQ(outcome.error->localizedDescription(),
        u"( Error to Run ) Cards doesn't exist for some card names used."_qs);
    const QString suggestion = outcome.error->localizedRecoverySuggestion();
    EXPECT_TRUE(suggestion.startsWith(u"Cards doesn't exist for card names:\n"_qs))
        << suggestion.toStdString();
    EXPECT_TRUE(suggestion.endsWith(u"\n( 3 card names )"_qs)) << suggestion.toStdString();
    for (const char* name : { "Gone1", "Gone2", "Gone3" })
        EXPECT_TRUE(suggestion.contains(QLatin1StringView(name))) << name;
}

namespace {

const QString invertedHexa
    = QStringLiteral("Material , M , 1000 , 0.3 ,\n"
                     "SolidProp , SP , M ,\n"
                     "Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 1 , 0 , 0 ,\n"
                     "Node , N3 ,  , 1 , 1 , 0 ,\nNode , N4 ,  , 0 , 1 , 0 ,\n"
                     "Node , N5 ,  , 0 , 0 , 1 ,\nNode , N6 ,  , 1 , 0 , 1 ,\n"
                     "Node , N7 ,  , 1 , 1 , 1 ,\nNode , N8 ,  , 0 , 1 , 1 ,\n"
                     "Hexa , H1 , SP , N5 , N6 , N7 , N8 , N1 , N2 , N3 , N4 ,\n"
                     "FixNode , S , N1 , YES , YES , YES ,\n"
                     "Force , F , N7 ,  , 1 , 0 , 0 , 0 , 0 , 0 ,\n")
    + oneCase;

} // namespace

// A Hexa turned inside out only warns, and the warning stops the run: the user is shown the cards.
TEST(ModelPrepare, WarningToRunStopsTheRunAndShowsTheCards)
{
    CalculationTestModel model(invertedHexa);
    const auto& hexa = model.card(u"H1"_qs);
    ASSERT_FALSE(hexa.checkErrorToRun());
    ASSERT_TRUE(hexa.checkWarningToRun());
    EXPECT_EQ(hexa.checkWarningToRun()->code(), 12017);

    const CheckOutcome outcome = check(invertedHexa);
    EXPECT_FALSE(outcome.passed);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), 21004);
    EXPECT_EQ(
        outcome.error->localizedDescription(), u"( Error to Run ) Some cards has error to run."_qs);
    EXPECT_EQ(outcome.windowsShown, 1);
}

// Checked in slices on threads: a card far down the model still stops the run, once.
TEST(ModelPrepareThreads, CardsCheckedInSlicesStillStopTheRunOnce)
{
    QString comments;
    for (int line = 0; line < 5000; ++line)
        comments += QStringLiteral("\\ comment %1\n").arg(line);
    const CheckOutcome sliced = check(comments + invertedHexa, 4);
    EXPECT_FALSE(sliced.passed);
    ASSERT_TRUE(sliced.error);
    EXPECT_EQ(sliced.error->code(), 21004);
    EXPECT_EQ(sliced.windowsShown, 1);
    EXPECT_TRUE(check(comments + material + twoNodes + rodWithSupportAndLoad + oneCase, 4).passed);
}

// ---- numbering after result data

namespace {

// Results of a calculation whose model had these node and case names; every case failed.
std::shared_ptr<UFemResultDataManagerImpl> resultsNamed(
    const QString& modelText, const QStringList& nodeNames, const QStringList& caseNames)
{
    QStringList restraintNames;
    for (qsizetype i = 0; i < caseNames.size(); ++i)
        restraintNames.append(u"S"_qs);
    auto results = std::make_shared<UFemResultDataManagerImpl>(
        UFemResultDataModelNames { modelText, nodeNames, caseNames, restraintNames });
    std::vector<quint64> cases;
    for (qsizetype i = 0; i < caseNames.size(); ++i)
        cases.push_back(quint64(i));
    EXPECT_TRUE(
        results->addResultDataWithCalculationErrorString(u"failed"_qs, nullptr, cases, nullptr));
    EXPECT_TRUE(results->finalizeAddResultData(nullptr));
    return results;
}

QString nodesNamed(int count)
{
    QString text;
    for (int n = 1; n <= count; ++n)
        text += QStringLiteral("Node , N%1 ,  , %1 , 0 , 0 ,\n").arg(n);
    return text;
}

} // namespace

TEST(ModelPrepare, NumberingFollowsTheResultsNames)
{
    CalculationTestModel model(nodesNamed(3) + u"Case , A , LINEAR_STATIC , S , F ,\n"_qs);
    UFemDataController& controller = model.controller();
    const auto results = resultsNamed(
        controller.modelTextOfAllCards(), { u"N3"_qs, u"N1"_qs, u"N2"_qs }, { u"A"_qs });
    UErrorPtr error;
    ASSERT_TRUE(controller.setResultDataManager(results, true, &error))
        << descriptionOf(error).toStdString();
    EXPECT_EQ(dynamic_cast<Node&>(model.card(u"N1"_qs)).nodeNo(), 1u);
    EXPECT_EQ(dynamic_cast<Node&>(model.card(u"N3"_qs)).nodeNo(), 0u);
    EXPECT_EQ(dynamic_cast<Case&>(model.card(u"A"_qs)).caseNo(), 0u);

    // Without results: no error, every number reset.
    ASSERT_TRUE(controller.setResultDataManager(nullptr, true, nullptr));
    dynamic_cast<Node&>(model.card(u"N2"_qs)).setNodeNo(7);
    UErrorPtr none;
    EXPECT_FALSE(UFemSynchronizeNodeNoAndCaseNoToResultData(controller, &none));
    EXPECT_FALSE(none);
    EXPECT_EQ(dynamic_cast<Node&>(model.card(u"N2"_qs)).nodeNo(), UFemNotFound);
}

TEST(ModelPrepare, NumberingRefusesResultsOfOtherCards)
{
    const QString description
        = u"Node Cards and Case Cards doesn't match in Model Data and Result Data."_qs;
    {
        // One node more in the results.
        CalculationTestModel model(nodesNamed(2) + u"Case , A , LINEAR_STATIC , S , F ,\n"_qs);
        const auto results = resultsNamed(model.controller().modelTextOfAllCards(),
            { u"N1"_qs, u"N2"_qs, u"N3"_qs }, { u"A"_qs });
        UErrorPtr error;
        EXPECT_FALSE(model.controller().setResultDataManager(results, true, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->localizedDescription(), unexpected(description));
        EXPECT_EQ(error->localizedRecoverySuggestion(),
            description
                + u"2 Node Cards are exist in Model Data and 3 Node Cards are exist in Result Data.\n"_qs);
    }
    {
        // Eleven model nodes and a case missing from the results: the count says 11, ten are named.
        CalculationTestModel model(nodesNamed(12) + u"Case , A , LINEAR_STATIC , S , F ,\n"_qs);
        const auto results = resultsNamed(
            model.controller().modelTextOfAllCards(), { u"N1"_qs, u"X"_qs }, { u"B"_qs });
        UErrorPtr error;
        EXPECT_FALSE(model.controller().setResultDataManager(results, true, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->localizedRecoverySuggestion(),
            description
                + u"12 Node Cards are exist in Model Data and 2 Node Cards are exist in Result "
                  u"Data.\n"
                  "11 Node Cards are not found in Result Data.\n"
                  "N2, N3, N4, N5, N6, N7, N8, N9, N10, N11, \n"
                  "1 Case Cards are not found in Result Data.\nA, \n"_qs);
        EXPECT_EQ(model.controller().resultDataManager(), nullptr);
    }
}
