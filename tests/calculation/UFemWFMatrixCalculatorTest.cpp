#include "MatrixCalculatorTestSupport.h"

#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace {

constexpr double Tolerance = 1e-9;

std::vector<std::array<double, 3>> lineOfNodes(quint64 count)
{
    std::vector<std::array<double, 3>> locations;
    for (quint64 n = 0; n < count; ++n)
        locations.push_back({ double(n), 0.0, 0.0 });
    return locations;
}

// Solves the model through the calculator interface; expects success.
std::vector<double> solveModel(CalculatorTestModel& model, quint64 threads = 2)
{
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    EXPECT_TRUE(calculator) << (error ? error->localizedDescription().toStdString() : "");
    if (!calculator)
        return {};
    calculator->setCalculationThreadCount(threads);
    EXPECT_TRUE(solveCalculator(*calculator, &error))
        << (error ? error->localizedDescription().toStdString() : "");
    return calculatorSolution(*calculator, model.nodeCount(), model.caseCount());
}

double at(const std::vector<double>& u, quint64 cases, quint64 node, quint64 dof, quint64 c)
{
    return u[(6 * node + dof) * cases + c];
}

// A chain of x springs k_i = i + 1 between nodes i and i + 1.
CalculatorTestModel springChain(quint64 nodes, quint64 cases)
{
    CalculatorTestModel model(lineOfNodes(nodes), cases);
    for (quint64 i = 0; i + 1 < nodes; ++i)
        model.addSpring(i, i + 1, 0, double(i + 1));
    return model;
}

} // namespace

TEST(MatrixCalculator, springChainWithFixedEndMatchesHandValues)
{
    constexpr quint64 Nodes = 40;
    CalculatorTestModel model = springChain(Nodes, 1);
    model.fix(0, 0, 0);
    model.addLoad(Nodes - 1, 0, 0, { 6.0, 0.0, 0.0 });
    const std::vector<double> u = solveModel(model);
    ASSERT_FALSE(u.empty());
    // Each spring carries the whole load: u_i = P x sum 1/k.
    double expected = 0.0;
    for (quint64 i = 0; i < Nodes; ++i) {
        EXPECT_NEAR(at(u, 1, i, 0, 0), expected, 1e-12 * (1.0 + expected)) << "node " << i;
        expected += 6.0 / double(i + 1);
        // No stiffness across the chain: those DOFs stay at zero.
        EXPECT_EQ(at(u, 1, i, 1, 0), 0.0);
        EXPECT_EQ(at(u, 1, i, 4, 0), 0.0);
    }
}

TEST(MatrixCalculator, springChainWithForcedEndsIsLinearAndMatchesDense)
{
    CalculatorTestModel model(lineOfNodes(11), 1);
    for (quint64 i = 0; i < 10; ++i)
        model.addSpring(i, i + 1, 0, 3.0);
    model.force(0, 0, 0, 0.01);
    model.force(10, 0, 0, 0.03);
    const std::vector<double> u = solveModel(model);
    ASSERT_FALSE(u.empty());
    for (quint64 i = 0; i <= 10; ++i)
        EXPECT_NEAR(at(u, 1, i, 0, 0), 0.01 + 0.002 * double(i), 1e-14);
    EXPECT_LT(relativeDifference(u, model.denseSolution()), Tolerance);
}

TEST(MatrixCalculator, rigidLinkEquationsMatchDense)
{
    // Two chains joined by u(N5) = u(N4); the second chain is loaded at its end.
    CalculatorTestModel model = springChain(9, 2);
    model.fix(0, 0, 0);
    CalculatorTestModel::Term link { 4, 0, 0, 1.0 };
    model.equation(5, 0, 0, { link });
    model.addLoad(8, 0, 0, { 1.0, 0.0, 0.0 });
    model.addLoad(6, 0, 1, { -2.0, 0.0, 0.0 });
    model.addLoad(5, 0, 1, { 0.5, 0.0, 0.0 });
    const std::vector<double> u = solveModel(model);
    ASSERT_FALSE(u.empty());
    EXPECT_EQ(at(u, 2, 5, 0, 0), at(u, 2, 4, 0, 0));
    EXPECT_LT(relativeDifference(u, model.denseSolution()), Tolerance);
}

TEST(MatrixCalculator, chainedEquationsAreAppliedUsersFirstAndWrittenBackOwnersFirst)
{
    // u3 = 2 u2 (third equation uses the second's dependent), u2 = u1 + 0.5 u6, u1 = 0.5 u0 ...
    CalculatorTestModel model = springChain(8, 3);
    model.force(7, 0, 0, 0.2);
    model.fix(0, 0, 0);
    model.equation(1, 0, 0, { { 0, 0, 0, 0.5 }, { 7, 0, 0, 0.25 } });
    model.equation(2, 0, 0, { { 1, 0, 0, 1.0 }, { 6, 0, 0, 0.5 } });
    model.equation(3, 0, 0, { { 2, 0, 0, 2.0 } });
    for (quint64 c = 0; c < 3; ++c)
        model.addLoad(4 + c, 0, c, { 1.0 + double(c), 0.0, 0.0 });
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    ASSERT_TRUE(calculator);
    const auto& objects = calculator->restraintObjectList().restraintObjectArray();
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_EQ(objects[0].nodeNo, 3u);
    EXPECT_EQ(objects[1].nodeNo, 2u);
    EXPECT_EQ(objects[2].nodeNo, 1u);
    EXPECT_EQ(objects[3].restraintObjectType, UFemRestraintObjectTypeFixedDisplacement);
    EXPECT_EQ(objects[4].restraintObjectType, UFemRestraintObjectTypeForcedDisplacement);
    calculator->setCalculationThreadCount(1);
    ASSERT_TRUE(solveCalculator(*calculator, &error));
    const auto u = calculatorSolution(*calculator, model.nodeCount(), model.caseCount());
    for (quint64 c = 0; c < 3; ++c)
        EXPECT_NEAR(at(u, 3, 3, 0, c), 2.0 * at(u, 3, 2, 0, c), 1e-15);
    EXPECT_LT(relativeDifference(u, model.denseSolution()), Tolerance);
}

TEST(MatrixCalculator, twoBarTrussMatchesHandValue)
{
    // Apex (0, -h) hung from (-b, 0) and (b, 0): v = P L / (2 EA sin^2 theta).
    const double b = 3.0, h = 4.0, EA = 2.0e5, P = 1.0e3;
    CalculatorTestModel model({ { -b, 0.0, 0.0 }, { b, 0.0, 0.0 }, { 0.0, -h, 0.0 } }, 1);
    model.addBar(0, 2, EA);
    model.addBar(1, 2, EA);
    for (quint64 n = 0; n < 2; ++n)
        for (quint64 d = 0; d < 3; ++d)
            model.fix(n, 0, d);
    model.fix(2, 0, 2);
    model.addLoad(2, 0, 0, { 0.0, -P, 0.0 });
    const std::vector<double> u = solveModel(model);
    ASSERT_FALSE(u.empty());
    const double L = 5.0, sinTheta = h / L;
    EXPECT_NEAR(at(u, 1, 2, 1, 0), -P * L / (2.0 * EA * sinTheta * sinTheta), 1e-15);
    EXPECT_NEAR(at(u, 1, 2, 0, 0), 0.0, 1e-15);
    EXPECT_TRUE(std::isnan(at(u, 1, 0, 0, 0)) == false);
}

TEST(MatrixCalculator, spaceTrussWithEveryRestraintKindAndThirteenCasesMatchesDense)
{
    // Two storeys of a braced square tower.
    std::vector<std::array<double, 3>> locations;
    for (quint64 z = 0; z < 3; ++z)
        for (quint64 k = 0; k < 4; ++k)
            locations.push_back({ double(k % 2) * 2.0, double(k / 2) * 2.0, double(z) * 1.5 });
    CalculatorTestModel model(locations, 13);
    const quint64 edges[][2] = { { 0, 1 }, { 1, 3 }, { 3, 2 }, { 2, 0 }, { 0, 3 } };
    for (quint64 z = 0; z < 3; ++z)
        for (const auto& e : edges)
            model.addBar(4 * z + e[0], 4 * z + e[1], 1.0e4 + double(z));
    for (quint64 z = 0; z < 2; ++z)
        for (quint64 k = 0; k < 4; ++k) {
            model.addBar(4 * z + k, 4 * z + 4 + k, 2.0e4);
            model.addBar(4 * z + k, 4 * z + 4 + (k + 1) % 4, 1.5e4);
        }
    for (quint64 d = 0; d < 3; ++d) {
        model.fix(0, 0, d);
        model.fix(0, 0, d); // repeated fixed restraints are one
        model.fix(1, 0, d);
    }
    model.force(2, 0, 2, -0.001);
    model.fix(2, 0, 0);
    model.fix(2, 0, 1);
    model.force(3, 0, 0, 0.0005);
    model.force(3, 0, 1, 0.0);
    model.force(3, 0, 2, 0.0);
    // The top's corner 11 follows corner 10 in x; 9 is tied to 8 and 11 in z.
    model.equation(11, 0, 0, { { 10, 0, 0, 1.0 } });
    model.equation(9, 0, 2, { { 8, 0, 2, 0.5 }, { 11, 0, 2, 0.5 } });
    for (quint64 c = 0; c < 13; ++c)
        model.addLoad(4 + c % 8, 0, c, { double(c) - 6.0, 1.0 + double(c % 3), -0.5 * double(c) });
    for (quint64 threads : { 1, 3 }) {
        const std::vector<double> u = solveModel(model, threads);
        ASSERT_FALSE(u.empty());
        EXPECT_LT(relativeDifference(u, model.denseSolution()), Tolerance) << threads << " threads";
        for (quint64 c = 0; c < 13; ++c) {
            EXPECT_EQ(at(u, 13, 2, 2, c), -0.001);
            EXPECT_EQ(at(u, 13, 0, 1, c), 0.0);
            EXPECT_EQ(at(u, 13, 11, 0, c), at(u, 13, 10, 0, c));
        }
    }
}

TEST(MatrixCalculator, copiesShareTheStiffnessAndKeepTheirOwnRestraints)
{
    CalculatorTestModel fixedModel = springChain(5, 1);
    fixedModel.fix(0, 0, 0);
    fixedModel.addLoad(4, 0, 0, { 1.0, 0.0, 0.0 });
    auto first = fixedModel.stiffnessCalculator();
    auto second = first->copy();
    UErrorPtr error;
    ASSERT_TRUE(fixedModel.completeCalculator(*second, &error));
    CalculatorTestModel forcedModel = springChain(5, 1);
    forcedModel.force(0, 0, 0, 1.0);
    ASSERT_TRUE(forcedModel.completeCalculator(*first, &error));
    ASSERT_TRUE(solveCalculator(*first, &error));
    ASSERT_TRUE(solveCalculator(*second, &error));
    EXPECT_LT(relativeDifference(calculatorSolution(*second, 5, 1), fixedModel.denseSolution()),
        Tolerance);
    const auto rigid = calculatorSolution(*first, 5, 1);
    for (quint64 i = 0; i < 5; ++i)
        EXPECT_NEAR(at(rigid, 1, i, 0, 0), 1.0, 1e-14);
    EXPECT_THROW(first->copy(), UException);
}

TEST(MatrixCalculator, conflictingRestraintsFailNamingEachDegreeOfFreedomOnce)
{
    CalculatorTestModel model = springChain(8, 1);
    model.fix(7, 1, 2);
    model.fix(1, 0, 0);
    model.force(7, 1, 2, 0.1);
    model.force(1, 0, 0, 0.2);
    model.equation(1, 0, 0, { { 2, 0, 0, 1.0 } });
    model.fix(3, 0, 1);
    model.fix(3, 0, 1);
    UErrorPtr error;
    EXPECT_FALSE(model.setUpCalculator(&error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 21008);
    EXPECT_EQ(error->localizedDescription(),
        "Several Restraint exist for same Degree of Freedom (DOF). ( DOF over restrained: N1@TX, "
        "N7@RZ )");
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        "Check Restraint Cards that restrains DOF 'N1@TX, N7@RZ'.");
}

TEST(MatrixCalculator, loopedEquationsFailAndLongChainsInAnyOrderPass)
{
    {
        CalculatorTestModel model = springChain(4, 1);
        model.equation(1, 0, 0, { { 2, 0, 0, 1.0 } });
        model.equation(3, 0, 0, { { 0, 0, 0, 1.0 } });
        model.equation(2, 0, 0, { { 1, 0, 0, 1.0 } });
        UErrorPtr error;
        EXPECT_FALSE(model.setUpCalculator(&error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 21009);
        EXPECT_EQ(error->localizedDescription(),
            "Degree of Freedom (DOF) on Restraint Expressions are looped.");
        EXPECT_EQ(error->localizedRecoverySuggestion(),
            "Check Restraint Expressions for whether 'restrained DOFs' and 'independent DOFs' on "
            "several restraints are looped.");
    }
    {
        CalculatorTestModel model = springChain(3, 1);
        model.equation(1, 0, 0, { { 0, 0, 0, 0.5 }, { 1, 0, 0, 0.5 } });
        UErrorPtr error;
        EXPECT_FALSE(model.setUpCalculator(&error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 21009);
    }
    // u_i = u_(i-1) + ... : a chain of 100 equations in shuffled order.
    constexpr quint64 Chain = 100;
    std::vector<quint64> order(Chain);
    std::iota(order.begin(), order.end(), 1);
    std::mt19937_64 random(17);
    for (int round = 0; round < 3; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        CalculatorTestModel model(lineOfNodes(Chain + 2), 1);
        for (quint64 i = 0; i + 1 < Chain + 2; ++i)
            model.addSpring(i, i + 1, 0, 1.0);
        model.fix(0, 0, 0);
        for (const quint64 i : order)
            model.equation(i, 0, 0, { { i - 1, 0, 0, 1.0 }, { Chain + 1, 0, 0, 0.01 } });
        model.addLoad(Chain + 1, 0, 0, { 1.0, 0.0, 0.0 });
        const std::vector<double> u = solveModel(model);
        ASSERT_FALSE(u.empty());
        EXPECT_LT(relativeDifference(u, model.denseSolution()), Tolerance);
        EXPECT_NEAR(at(u, 1, Chain, 0, 0), 0.01 * double(Chain) * at(u, 1, Chain + 1, 0, 0), 1e-12);
    }
}

TEST(MatrixCalculator, everythingRestrainedOrNoCaseGivesNoTaskAndTheRestrainedValues)
{
    CalculatorTestModel model = springChain(3, 2);
    for (quint64 n = 0; n < 3; ++n)
        model.force(n, 0, 0, 0.5 * double(n));
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    ASSERT_TRUE(calculator);
    EXPECT_FALSE(calculator->prepareMatrixCalculation(&error));
    EXPECT_FALSE(error);
    EXPECT_TRUE(calculator->runMatrixCalculation(&error));
    EXPECT_TRUE(calculator->finalizeMatrixCalculation(&error));
    const auto u = calculatorSolution(*calculator, 3, 2);
    EXPECT_EQ(at(u, 2, 2, 0, 1), 1.0);
    EXPECT_EQ(calculator->progressTotalLength(), ~quint64(0));
    EXPECT_EQ(calculator->calculatingThreadCount(), 0u);
    calculator->finish();
    EXPECT_EQ(calculator->calculatingThreadCount(), 1u);
    EXPECT_FALSE(calculator->isCalculationPausing());
}

TEST(MatrixCalculator, aRestraintSetWithoutCasesSolvesNothingAndListsItsTriples)
{
    CalculatorTestModel model = springChain(4, 0);
    model.fix(0, 0, 0);
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    ASSERT_TRUE(calculator);
    EXPECT_FALSE(calculator->prepareMatrixCalculation(&error));
    EXPECT_FALSE(error);
    EXPECT_TRUE(calculator->runMatrixCalculation(&error));
    EXPECT_TRUE(calculator->finalizeMatrixCalculation(&error));
    const double* values = nullptr;
    const quint64* triples = nullptr;
    const _UFemNode3DOFState* states = nullptr;
    EXPECT_EQ(calculator->getDisplacementMatrixValueTable(&values, &triples, &states), 4u);
}

TEST(MatrixCalculator, anUnsupportedChainFailsNamingTheSingularDegreeOfFreedom)
{
    CalculatorTestModel model = springChain(6, 1);
    model.addLoad(5, 0, 0, { 1.0, 0.0, 0.0 });
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    ASSERT_TRUE(calculator);
    calculator->setCalculationThreadCount(2);
    ASSERT_TRUE(calculator->prepareMatrixCalculation(&error));
    EXPECT_FALSE(calculator->runMatrixCalculation(&error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 21011);
    // Which end of the chain takes the zero pivot is the ordering's choice.
    EXPECT_TRUE(error->localizedDescription().contains(QRegularExpression(
        QStringLiteral("^Calculation failed\\. Stiffness Matrix is singular or not "
                       "positive definite\\.\\n\\( DOF: N[05]@TX \\)$"))))
        << error->localizedDescription().toStdString();
}
