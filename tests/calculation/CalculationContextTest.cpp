#include "CalculationModelSupport.h"
#include "QStringPrinting.h"

#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/UFemWFCalculationMemoryEstimate.h"
#include "cardmodel/card/UFemCardName.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Three unit rods N1-N2-N3 along x, EA = 1000 each, so a rod is a spring of 1000. Only the axial
// direction has stiffness; the others stay exactly zero and are left out of the equations.
const QString barChain = QStringLiteral("Material , M , 1000 , 0.3 ,\n"
                                        "RodProp , RP , M , 1 ,\n"
                                        "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                        "Node , N2 ,  , 1 , 0 , 0 ,\n"
                                        "Node , N3 ,  , 2 , 0 , 0 ,\n"
                                        "Rod , R1 , RP , N1 , N2 ,\n"
                                        "Rod , R2 , RP , N2 , N3 ,\n");

// S1 holds N1; S2 holds N1 and N2; S3 holds N3.
const QString threeRestraintSets = QStringLiteral("FixNode , S1 , N1 , YES , YES , YES ,\n"
                                                  "FixNode , S2 , N1 , YES , YES , YES ,\n"
                                                  "FixNode , S2 , N2 , YES , YES , YES ,\n"
                                                  "FixNode , S3 , N3 , YES , YES , YES ,\n"
                                                  "Force , F10 , N3 ,  , 10 , 0 , 0 , 0 , 0 , 0 ,\n"
                                                  "Force , F20 , N3 ,  , 20 , 0 , 0 , 0 , 0 , 0 ,\n"
                                                  "Force , G , N1 ,  , -10 , 0 , 0 , 0 , 0 , 0 ,\n"
                                                  "Case , C0 , LINEAR_STATIC , S2 , F10 ,\n"
                                                  "Case , C1 , LINEAR_STATIC , S1 , F10 ,\n"
                                                  "Case , C2 , LINEAR_STATIC , S2 , F20 ,\n"
                                                  "Case , C3 , LINEAR_STATIC , S3 , G ,\n");

} // namespace

// Cases on S2, S1, S2, S3: one calculator per set in order of first use, the first two on copies
// of the assembled stiffness, each case solved under its own set.
TEST(CalculationContext, GroupsCasesByRestraintSetInOrderOfFirstUse)
{
    CalculationTestModel model(barChain + threeRestraintSets);
    UFemMatrixCalculationContext& context = model.setUp();
    UErrorPtr error;
    ASSERT_TRUE(context.setupToRunCalculation(&error)) << descriptionOf(error).toStdString();
    const auto& records = context.matrixCalculatorInfoRecordTable();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].restraintCardName->cardNameString(), u"S2"_qs);
    EXPECT_EQ(records[1].restraintCardName->cardNameString(), u"S1"_qs);
    EXPECT_EQ(records[2].restraintCardName->cardNameString(), u"S3"_qs);
    EXPECT_EQ(records[0].caseNoIndexSet, (std::vector<quint64> { 0, 2 }));
    EXPECT_EQ(records[1].caseNoIndexSet, (std::vector<quint64> { 1 }));
    EXPECT_EQ(records[2].caseNoIndexSet, (std::vector<quint64> { 3 }));
    EXPECT_EQ(context.caseIndexWithCaseNo(2, 0), 1u);
    EXPECT_EQ(context.caseNoWithCaseIndex(0, 2), 3u);
    EXPECT_EQ(context.caseIndexWithCaseNameString(u"C2"_qs, 0), 1u);
    EXPECT_EQ(context.caseIndexWithCaseNameString(u"C2"_qs, 1), UFemNotFound);
    EXPECT_THROW(context.caseIndexWithCaseNo(1, 0), UException);
    EXPECT_THROW(context.caseNoWithCaseIndex(1, 1), UException);
    EXPECT_TRUE(context.isCopiedCalculator(0));
    EXPECT_TRUE(context.isCopiedCalculator(1));
    EXPECT_FALSE(context.isCopiedCalculator(2));
    ASSERT_TRUE(context.runCalculation(&error)) << descriptionOf(error).toStdString();
    ASSERT_TRUE(
        model.controller().setResultDataManager(context.resultDataManager(nullptr), true, &error));

    EXPECT_DOUBLE_EQ(model.displacement(u"N3"_qs, u"C0"_qs)[0], 10.0 / 1000.0);
    EXPECT_DOUBLE_EQ(model.displacement(u"N3"_qs, u"C1"_qs)[0], 2 * 10.0 / 1000.0);
    EXPECT_DOUBLE_EQ(model.displacement(u"N3"_qs, u"C2"_qs)[0], 20.0 / 1000.0);
    EXPECT_DOUBLE_EQ(model.displacement(u"N1"_qs, u"C3"_qs)[0], 2 * -10.0 / 1000.0);
    EXPECT_EQ(model.displacement(u"N2"_qs, u"C0"_qs)[0], 0.0);
}

TEST(CalculationContext, OneRestraintSetTakesTheAssembledCalculator)
{
    CalculationTestModel model(barChain
        + u"FixNode , S , N1 , YES , YES , YES ,\n"
          "Force , F , N3 ,  , 10 , 0 , 0 , 0 , 0 , 0 ,\n"
          "Case , A , LINEAR_STATIC , S , F ,\nCase , B , LINEAR_STATIC , S , F ,\n"_qs);
    UFemMatrixCalculationContext& context = model.setUp();
    ASSERT_TRUE(context.setupToRunCalculation(nullptr));
    ASSERT_EQ(context.matrixCalculatorInfoRecordTable().size(), 1u);
    EXPECT_FALSE(context.isCopiedCalculator(0));
    EXPECT_EQ(context.caseInfoRecord(1).caseIndex, 1u);
}

// The second of three sets has no support along the rods: it fails alone, its cases carry the
// error and the others keep their displacements.
TEST(CalculationContext, FailingRestraintSetLeavesTheOthersResults)
{
    CalculationTestModel model(barChain
        + u"FixNode , S1 , N1 , YES , YES , YES ,\n"
          "FixNode , Loose , N1 , NO , YES , YES ,\n"
          "FixNode , S3 , N3 , YES , YES , YES ,\n"
          "Force , F , N3 ,  , 10 , 0 , 0 , 0 , 0 , 0 ,\n"
          "Force , G , N1 ,  , -10 , 0 , 0 , 0 , 0 , 0 ,\n"
          "Case , A , LINEAR_STATIC , S1 , F ,\n"
          "Case , B , LINEAR_STATIC , Loose , F ,\n"
          "Case , C , LINEAR_STATIC , S3 , G ,\n"_qs);
    UErrorPtr error;
    ASSERT_TRUE(model.calculate(&error)) << descriptionOf(error).toStdString();
    EXPECT_DOUBLE_EQ(model.displacement(u"N3"_qs, u"A"_qs)[0], 0.02);
    EXPECT_DOUBLE_EQ(model.displacement(u"N1"_qs, u"C"_qs)[0], -0.02);
    EXPECT_FALSE(model.caseErrorString(u"N3"_qs, u"A"_qs));
    EXPECT_FALSE(model.caseErrorString(u"N3"_qs, u"C"_qs));
    const std::optional<QString> failed = model.caseErrorString(u"N3"_qs, u"B"_qs);
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->contains(u"@TX"_qs)) << failed->toStdString();
    const auto* results = model.controller().resultDataManager();
    ASSERT_TRUE(results->calculationErrorString());
    EXPECT_TRUE(results->calculationErrorString()->startsWith(u"Error on Cases: B, \n"_qs));
}

TEST(CalculationContext, SetUpFailuresLeaveNoResult)
{
    // A case whose force name no card bears.
    CalculationTestModel model(barChain
        + u"FixNode , S , N1 , YES , YES , YES ,\nCase , A , LINEAR_STATIC , S , Nothing ,\n"_qs);
    UFemMatrixCalculationContext& context = model.setUp();
    UErrorPtr error;
    EXPECT_FALSE(context.setupToRunCalculation(&error));
    EXPECT_EQ(descriptionOf(error), unexpected(u"No Force Card for a Case."_qs));
    EXPECT_EQ(context.progressTotalLength(), UFemNotFound);
    EXPECT_FALSE(context.resultDataManager(&error));
    EXPECT_EQ(descriptionOf(error), unexpected(u"No resultDataManager yet."_qs));

    CalculationTestModel noRestraint(barChain
        + u"Force , F , N3 ,  , 10 , 0 , 0 , 0 , 0 , 0 ,\nCase , A , LINEAR_STATIC , Gone , F ,\n"_qs);
    EXPECT_FALSE(noRestraint.calculate(&error));
    EXPECT_EQ(descriptionOf(error), unexpected(u"No Restraint Card for a Case."_qs));
    EXPECT_EQ(noRestraint.controller().resultDataManager(), nullptr);
}

// Quit during the set-up: the set-up finishes, the run stops at once with the cancel error.
TEST(CalculationContext, QuitDuringSetUpCancelsTheRun)
{
    CalculationTestModel model(barChain + threeRestraintSets);
    UFemMatrixCalculationContext& context = model.setUp();
    EXPECT_EQ(context.progressTotalLength(), UFemNotFound);
    EXPECT_EQ(context.currentProgress(), 0u);
    EXPECT_FALSE(context.isCalculationPausing());
    context.quitCalculation();
    UErrorPtr error;
    ASSERT_TRUE(context.setupToRunCalculation(&error));
    EXPECT_FALSE(context.runCalculation(&error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 21099);
    EXPECT_TRUE(error->isUFemCalculationCanceledError());
    UErrorPtr noResult;
    EXPECT_FALSE(context.resultDataManager(&noResult));
    EXPECT_EQ(context.matrixCalculatorInfoRecordTable().size(), 3u);
}

// The solution's memory is estimated before the factor is allocated: a set that cannot fit fails
// with the memory error as its text, and the calculation goes on.
TEST(CalculationContext, SolutionThatCannotFitFailsItsSetWithTheMemoryError)
{
    CalculationTestModel model(exampleModelText(u"hexa-cantilever.vtmodel"_qs));
    UFemMatrixCalculationContext& context = model.setUp();
    context.setCalculationMemoryLimit(1024);
    UErrorPtr error;
    ASSERT_TRUE(context.setupToRunCalculation(&error));
    ASSERT_TRUE(context.runCalculation(&error));
    ASSERT_TRUE(
        model.controller().setResultDataManager(context.resultDataManager(nullptr), true, &error));
    const std::optional<QString> failed = model.caseErrorString(u"N1"_qs, u"Tip"_qs);
    ASSERT_TRUE(failed);
    EXPECT_TRUE(
        failed->startsWith(QStringLiteral("Memory allocation failed. The calculation needs ")))
        << failed->toStdString();
    // The limit stands for the memory available.
    EXPECT_TRUE(failed->endsWith(QStringLiteral("; 0.0 MB is available.")))
        << failed->toStdString();
}

TEST(CalculationMemory, aShortageIsRefusedWithTheMemoryNeededAndAvailable)
{
    const UErrorPtr error = UFemWFCalculationErrorWithException(
        std::make_exception_ptr(UFemWFMemoryShortage(quint64(7) << 30, quint64(1536) << 20)));
    EXPECT_EQ(error->code(), 81001);
    EXPECT_EQ(error->localizedOneLineDescription(),
        QStringLiteral("Memory allocation failed. The calculation needs 7.0 GB of memory; 1.5 GB "
                       "is available."));
    // Every other exhaustion of memory stays the plain allocation error.
    EXPECT_EQ(UFemWFCalculationErrorWithException(std::make_exception_ptr(std::bad_alloc()))
                  ->localizedOneLineDescription(),
        UFemMallocFailedError()->localizedOneLineDescription());
}

TEST(CalculationContext, NodeOrderingHintBecomesNodeNumbers)
{
    CalculationTestModel model(barChain + threeRestraintSets);
    UFemMatrixCalculationContext& context = model.setUp();
    ASSERT_TRUE(context.setupToRunCalculation(nullptr));
    const QVariant divider = QVariant::fromValue(0);
    std::vector<quint64> table;
    UErrorPtr error;
    ASSERT_TRUE(context.getNodeOrderingMainPathTransitNodeNoTable(
        &table, { u"N3"_qs, divider, u"N1"_qs, u"N2"_qs }, &error));
    EXPECT_EQ(table, (std::vector<quint64> { 2, ~quint64(0), 0, 1 }));
    EXPECT_TRUE(context.getNodeOrderingMainPathTransitNodeNoTable(&table, {}, &error));
    EXPECT_TRUE(table.empty());

    const auto failure = [&](const QVariantList& hint) {
        UErrorPtr hintError;
        EXPECT_FALSE(context.getNodeOrderingMainPathTransitNodeNoTable(&table, hint, &hintError));
        return descriptionOf(hintError);
    };
    EXPECT_EQ(failure({ u"N1"_qs, u"N9"_qs }),
        unexpected(u"A Node Name ( N9 ) in NodeOrderingHint's node list is not exist."_qs));
    EXPECT_EQ(failure({ divider, u"N1"_qs }),
        unexpected(u"DIVIDER in NodeOrderingHint is on the head of the node name list."_qs));
    EXPECT_EQ(failure({ u"N1"_qs, divider, divider, u"N2"_qs }),
        unexpected(u"DIVIDERs in NodeOrderingHint's node list are continuous two or more."_qs));
    EXPECT_EQ(failure({ u"N1"_qs, divider }),
        unexpected(u"NodeOrderingHint's node list ends with DIVIDER."_qs));
}

// Pause before the run: the run waits until the pause is lifted, then calculates.
TEST(CalculationContextThreads, PauseBeforeTheRunWaitsUntilLifted)
{
    CalculationTestModel model(barChain + threeRestraintSets);
    UFemMatrixCalculationContext& context = model.setUp();
    ASSERT_TRUE(context.setupToRunCalculation(nullptr));
    context.pauseCalculationWithFlag(true);
    std::atomic<bool> finished { false };
    bool succeeded = false;
    std::thread run([&] {
        succeeded = context.runCalculation(nullptr);
        finished = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(finished);
    context.pauseCalculationWithFlag(false);
    run.join();
    EXPECT_TRUE(succeeded);
    EXPECT_TRUE(context.resultDataManager(nullptr));
}

// Quit while paused wakes the waiting run, which ends with the cancel error.
TEST(CalculationContextThreads, QuitWhilePausedEndsTheRun)
{
    CalculationTestModel model(barChain + threeRestraintSets);
    UFemMatrixCalculationContext& context = model.setUp();
    ASSERT_TRUE(context.setupToRunCalculation(nullptr));
    context.pauseCalculationWithFlag(true);
    UErrorPtr error;
    std::thread run([&] { static_cast<void>(context.runCalculation(&error)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    context.quitCalculation();
    run.join();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 21099);
}
