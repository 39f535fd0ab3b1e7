#include "ValueRangeTestModel.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "foundation/errors/UException.h"
#include "foundation/threads/UThreadTaskContext.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "graphicview/ranges/UFemMaxForceCalculatorAsDummyMatrixCalculator.h"

#include <gtest/gtest.h>

namespace {

const QString nodesText = QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"
                                         "Node , N2 ,  , 2 , 0 , 0 ,\n");

// An axial rod: E = 200, A = 3, L = 2, N1 held, N2 pulled along x by P = 6 in case C1 and by 2P
// in case C2. By hand δ = PL/EA: 0.02 and 0.04.
const QString rodText = QStringLiteral("Material , Steel , 200 , 0.3 ,\n"
                                       "RodProp , RP , Steel , 3 ,\n")
    + nodesText
    + QStringLiteral("Rod , R1 , RP , N1 , N2 ,\n"
                     "FixNode , RS1 , N1 , YES , YES , YES , YES , YES , YES ,\n"
                     "FixNode , RS1 , N2 , NO , YES , YES , YES , YES , YES ,\n"
                     "Force , FS1 , N2 ,  , 6 , 0 , 0 , 0 , 0 , 0 ,\n"
                     "Force , FS2 , N2 ,  , 12 , 0 , 0 , 0 , 0 , 0 ,\n"
                     "Case , C1 , LINEAR_STATIC , RS1 , FS1 ,\n"
                     "Case , C2 , LINEAR_STATIC , RS1 , FS2 ,\n");
constexpr double rodE = 200.0;
constexpr double rodA = 3.0;
constexpr double rodL = 2.0;
constexpr double rodLargestP = 12.0;

TEST(ValueRange, DummyCalculatorKeepsTheLargestForceAndMomentApart)
{
    UFemMaxForceCalculatorAsDummyMatrixCalculator calculator;
    const UFemCardName name(nullptr);
    const double small[3] = { 1, 2, 2 };
    const double large[3] = { 0, -6, 8 };
    calculator.addForceMatrix(large, name, 1, name);
    calculator.addForceMatrix(small, name, 0, name);
    calculator.addForceMatrix(small, name, 1, name);
    EXPECT_DOUBLE_EQ(calculator.maxForceSize(), 3.0);
    EXPECT_DOUBLE_EQ(calculator.maxMomentSize(), 10.0);
    calculator.reset();
    EXPECT_EQ(calculator.maxForceSize(), 0.0);
}

TEST(ValueRange, ForceRangeMeasuresTheCasesForcesElseEveryForceCard)
{
    const QString forces = QStringLiteral("Force , L1 , N1 ,  , 3 , 4 , 0 , 0 , 0 , 2 ,\n"
                                          "Force , Other , N2 ,  , 30 , 40 , 0 , 0 , 0 , 0 ,\n");
    struct Case {
        const char* name;
        QString text;
        double force;
        double moment;
    };
    const Case cases[] = {
        { "only the cased forces", forces + "Case , C1 , LINEAR_STATIC , RS , L1 ,\n", 5, 2 },
        { "no case names a force", forces + "Case , C1 , LINEAR_STATIC , RS ,  ,\n", 50, 2 },
        { "a set passes its factor",
            forces
                + "ForceSet , FS , 3 , L1 ,\n"
                  "Case , C1 , LINEAR_STATIC , RS , FS ,\n",
            15, 6 },
        { "no force cards", QStringLiteral("Case , C1 , LINEAR_STATIC , RS ,  ,\n"), 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ValueRangeTestModel model(nodesText + c.text);
        const auto range = model.forceRange();
        EXPECT_DOUBLE_EQ(range.force, c.force);
        EXPECT_DOUBLE_EQ(range.moment, c.moment);
        EXPECT_TRUE(range.errors.empty());
    }
}

TEST(ValueRange, DisplacementWithoutResultsIsTheLargestPrescribedTranslation)
{
    struct Case {
        const char* name;
        QString text;
        double maximum;
    };
    const Case cases[] = {
        { "translations count, rotations do not",
            QStringLiteral("ForceDisp , D1 , N1@TX , -0.5\nForceDisp , D2 , N2@RZ , 9\n"
                           "ForceDisp , D3 , N2@TZ , 0.25\n"),
            0.5 },
        { "only rotations", QStringLiteral("ForceDisp , D1 , N1@RX , 3\n"), 0 },
        { "no restraint cards", QString(), 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ValueRangeTestModel model(nodesText + c.text);
        EXPECT_DOUBLE_EQ(model.displacementRange(), c.maximum);
    }
}

TEST(ValueRange, DisplacementWithResultsIsPLOverEAOverAllCases)
{
    ValueRangeTestModel model(rodText);
    ASSERT_TRUE(model.calculate());
    std::vector<UErrorPtr> errors;
    const double maximum = model.displacementRange(2, &errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_NEAR(maximum, rodLargestP * rodL / (rodE * rodA), 1e-12);
}

TEST(ValueRange, AnEditClearsBothRangesAResultOnlyTheDisplacementRange)
{
    ValueRangeTestModel model(rodText);
    UFemDataController& controller = model.controller();
    EXPECT_DOUBLE_EQ(model.forceRange().force, rodLargestP);
    EXPECT_DOUBLE_EQ(model.displacementRange(), 0.0);
    UThreadTaskContext& force = controller.forceValueRangeCalcThreadTaskContext();
    UThreadTaskContext& displacement = controller.displacementValueRangeCalcThreadTaskContext();
    ASSERT_TRUE(force.isValueValid());
    ASSERT_TRUE(displacement.isValueValid());
    // A valid range starts nothing.
    EXPECT_FALSE(UFemStartForceValueRangeCalcThreadIfNeededWithThreadCountToRun(controller, 2));
    EXPECT_FALSE(
        UFemStartDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(controller, 2));

    UErrorPtr error;
    ASSERT_NE(controller.removeCard(model.card("C2"), &error), UFemNotFound);
    EXPECT_EQ(force.threadState(), UThreadTaskStateCleared);
    EXPECT_EQ(displacement.threadState(), UThreadTaskStateCleared);
    EXPECT_DOUBLE_EQ(model.forceRange().force, 6.0);
    EXPECT_DOUBLE_EQ(model.displacementRange(), 0.0);

    ASSERT_TRUE(model.calculate());
    EXPECT_TRUE(force.isValueValid());
    EXPECT_EQ(displacement.threadState(), UThreadTaskStateCleared);
    EXPECT_NEAR(model.displacementRange(), 0.02, 1e-12);
}

TEST(ValueRange, PlainTasksAreAProgramError)
{
    UFemDataController controller { UFemDataControllerServices {} };
    EXPECT_THROW(
        UFemStartForceValueRangeCalcThreadIfNeededWithThreadCountToRun(controller, 1), UException);
}

TEST(ValueRange, ThreadCountsFollowTheRule)
{
    const std::pair<quint64, quint64> counts[]
        = { { 1, 1 }, { 2, 1 }, { 3, 2 }, { 8, 4 }, { 16, 4 } };
    for (const auto& [foreground, expected] : counts)
        EXPECT_EQ(UFemValueRangeThreadCountWithForegroundTaskThreadCount(foreground), expected)
            << foreground;
}

} // namespace

namespace {

TEST(ValueRangeThreads, ChunksOnFourWorkersMeetInOneMaximum)
{
    // Forces 3-4-0 scaled by i: the largest is 5 × 2000; moments i along z, the largest 2000.
    QString text = nodesText;
    for (int i = 1; i <= 2000; ++i)
        text += QStringLiteral("Force , L%1 , N1 ,  , %2 , %3 , 0 , 0 , 0 , %1 ,\n"
                               "ForceDisp , D%1 , N2@TY , -%4\n")
                    .arg(i)
                    .arg(3 * i)
                    .arg(4 * i)
                    .arg(i * 0.5);
    ValueRangeTestModel model(text);
    const auto range = model.forceRange(4);
    EXPECT_EQ(range.force, 10000.0);
    EXPECT_EQ(range.moment, 2000.0);
    EXPECT_EQ(model.displacementRange(4), 1000.0);
}

} // namespace
