#include "CardModelExpectations.h"
#include "FakeDataController.h"
#include "ValueCard.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/NullCard.h"
#include "cardmodel/expression/UFemCardValueExpression.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace fakecards;

namespace {

UFemCardValueExpressionPtr parsed(const QString& text)
{
    auto expression = std::make_shared<UFemCardValueExpression>();
    UErrorPtr error;
    EXPECT_TRUE(expression->setCardValueExpressionString(text, &error)) << text.toStdString();
    return expression;
}

_UFemCardValueArraySize sizeOf(
    const UFemCardValueExpression& expression, UFemCard* card, UErrorPtr* error = nullptr)
{
    _UFemCardValueArraySize size { 9, 9, 9, 9 };
    UErrorPtr local;
    // Callers that expect a failure pass `error` and check it.
    static_cast<void>(expression.getCardValueArraySize(&size, card, error ? error : &local));

    return size;
}

std::vector<double> valuesOf(
    const UFemCardValueExpression& expression, UFemCard* card, UFemCard* caseCard)
{
    _UFemCardValueArraySize size;
    UErrorPtr error;
    if (!expression.getCardValueArraySize(&size, card, &error)) {
        ADD_FAILURE() << error->localizedDescription().toStdString();
        return {};
    }
    std::vector<double> values(
        quint64(size.numberOfPoints) * size.numberOfSectionPoints * size.numberOfVectorValues, -1);
    if (!expression.getCardValue(values.data(), size, card, caseCard, &error)) {
        ADD_FAILURE() << error->localizedDescription().toStdString();
        return {};
    }
    return values;
}

// A model with results and a card answering two points of displacements, three section points
// of stress, and scalars.
struct ValueModel {
    ValueModel()
    {
        model.setHasResultData(true);
        std::vector<double> displacement;
        for (int p = 0; p < 2; ++p) {
            for (int k = 0; k < 6; ++k)
                displacement.push_back(10 * p + k + 1);
        }
        card.setValues("Displacement", 2, 1, 6, displacement);
        card.setValues("VonMisesStress", 1, 3, 1, { 1, 2, 3 });
        card.setValues("VonMisesStress@shellFace", 1, 3, 1, { 0.5, 0.25, 4 });
        card.setValues("YoungsModulus", 1, 1, 1, { 200 });
        card.setValues("Volume", 1, 1, 1, { 0 });
        card.setValues("Location", 3, 1, 3, { 1, 2, 3, 4, 5, 6, 7, 8, 9 });
        card.setValues("PrincipalStress", 1, 2, 3, { 1, 1, 1, 2, 2, 2 });
        card.setValues("ElementStrain", 3, 1, 6, std::vector<double>(18, 1.0));
    }

    FakeDataController model;
    ValueCard card { "E1", &model };
    ValueCard caseCard { "C1", &model };
};

} // namespace

TEST(CardValueExprEvaluation, BroadcastSizesPerAxisAndTheIndexFormula)
{
    ValueModel m;
    const UFemCardValueExpressionPtr product_ = parsed("Displacement * VonMisesStress");
    const UFemCardValueExpression& product = *product_;
    const _UFemCardValueArraySize size = sizeOf(product, &m.card);
    EXPECT_EQ(size.leadingCount, 0);
    EXPECT_EQ(size.numberOfPoints, 2);
    EXPECT_EQ(size.numberOfSectionPoints, 3);
    EXPECT_EQ(size.numberOfVectorValues, 6);
    const std::vector<double> values = valuesOf(product, &m.card, &m.caseCard);
    ASSERT_EQ(values.size(), 36u);
    // index = (p * S + s) * V + k, displacement (p, k) = 10p + k + 1, stress s = s + 1
    for (int p = 0; p < 2; ++p) {
        for (int s = 0; s < 3; ++s) {
            for (int k = 0; k < 6; ++k)
                EXPECT_EQ(values[(p * 3 + s) * 6 + k], (10.0 * p + k + 1) * (s + 1)) << p << s << k;
        }
    }
    EXPECT_EQ(values[25], 24.0); // p 1, s 1, k 1: 12 x 2
    EXPECT_EQ(values[35], 48.0); // p 1, s 2, k 5: 16 x 3
    EXPECT_EQ(m.card.lastCaseCard.load(), &m.caseCard);

    // A one-point stress with three section points against one of one section point.
    const UFemCardValueExpressionPtr difference_
        = parsed("(VonMisesStress - VonMisesStress@shellFace) / YoungsModulus");
    const UFemCardValueExpression& difference = *difference_;
    const std::vector<double> d = valuesOf(difference, &m.card, &m.caseCard);
    EXPECT_EQ(d, (std::vector<double> { 0.5 / 200, 1.75 / 200, -1.0 / 200 }));
}

TEST(CardValueExprEvaluation, SignsSumsAndScalarsAgainstVectors)
{
    ValueModel m;
    EXPECT_EQ(valuesOf(*parsed("-YoungsModulus"), &m.card, nullptr), std::vector<double> { -200 });
    EXPECT_EQ(valuesOf(*parsed("+YoungsModulus - YoungsModulus - YoungsModulus"), &m.card, nullptr),
        std::vector<double> { -200 });
    const std::vector<double> location
        = valuesOf(*parsed("YoungsModulus - Location"), &m.card, nullptr);
    EXPECT_EQ(location, (std::vector<double> { 199, 198, 197, 196, 195, 194, 193, 192, 191 }));
    const std::vector<double> negated = valuesOf(*parsed("-Displacement"), &m.card, &m.caseCard);
    ASSERT_EQ(negated.size(), 12u);
    EXPECT_EQ(negated[0], -1.0);
    EXPECT_EQ(negated[11], -16.0);
    // Component-wise with two section points broadcast over three points.
    const std::vector<double> scaled
        = valuesOf(*parsed("Location * PrincipalStress / YoungsModulus"), &m.card, &m.caseCard);
    ASSERT_EQ(scaled.size(), 18u);
    EXPECT_EQ(scaled[(2 * 2 + 1) * 3 + 2], 9.0 * 2 / 200);
    EXPECT_EQ(scaled[(1 * 2 + 0) * 3 + 0], 4.0 * 1 / 200);
}

TEST(CardValueExprEvaluation, DivisionByZeroFollowsIeeeArithmetic)
{
    ValueModel m;
    const std::vector<double> values
        = valuesOf(*parsed("YoungsModulus / Volume - Volume / Volume"), &m.card, nullptr);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_TRUE(std::isnan(values[0]));
    EXPECT_EQ(valuesOf(*parsed("YoungsModulus / Volume"), &m.card, nullptr),
        std::vector<double> { INFINITY });
}

TEST(CardValueExprEvaluation, SizeMismatchesNameTheAxisAndTheLevel)
{
    ValueModel m;
    const auto mismatch = [&](const char* text) {
        UErrorPtr error;
        const _UFemCardValueArraySize size = sizeOf(*parsed(text), &m.card, &error);
        EXPECT_EQ(size.numberOfPoints, 0);
        EXPECT_TRUE(error) << text;
        return error ? error->localizedDescription() : QString();
    };
    const QString prefix = QStringLiteral("Could not get value with Card Value Expression. - ");
    EXPECT_EQ(mismatch("Displacement * ElementStrain"),
        prefix
            + "Number of points of Card Value Expressions in multiplication/division expression "
              "does not match.");
    EXPECT_EQ(mismatch("Volume + (VonMisesStress + PrincipalStress)"),
        prefix
            + "Number of section points of Card Value Expressions in addition/subtraction "
              "expression does not match.");

    // The vector count is checked at parse time for names; a card answering another count than its
    // type word is caught when sizes are asked.
    m.card.setValues("Thickness", 1, 1, 2, { 1, 2 });
    EXPECT_EQ(mismatch("Thickness * Location"),
        prefix
            + "'Number of Vector Values' of Card Value Expressions in multiplication/division "
              "expression does not match.");
    UErrorPtr error;
    sizeOf(*parsed("Displacement * ElementStrain"), &m.card, &error);
    EXPECT_EQ(error->code(), 42006);
    EXPECT_TRUE(
        error->localizedOneLineDescription().endsWith("Error on: Displacement * 'ElementStrain'"));
}

TEST(CardValueExprEvaluation, ChecksBeforeValuesInTheirOrder)
{
    ValueModel m;
    const UFemCardValueExpressionPtr displacement_ = parsed("Displacement");
    const UFemCardValueExpression& displacement = *displacement_;
    _UFemCardValueArraySize size = sizeOf(displacement, &m.card);
    std::vector<double> buffer(12);
    UFemCard* const twoCards[] = { &m.card, &m.card };
    UFemCard* const twoCases[] = { &m.caseCard, &m.caseCard };
    const auto failure = [&](std::span<UFemCard* const> cards, std::span<UFemCard* const> cases) {
        UErrorPtr error;
        EXPECT_FALSE(displacement.getCardValue(buffer.data(), size, cards, cases, &error));
        return error;
    };
    UFemCard* const oneCard[] = { &m.card };
    expectError(failure(oneCard, {}), 42008,
        "No case selected. Value 'Displacement' requires specifying cases.");
    expectError(failure(twoCards, twoCases), 42010,
        "Several card selected. Value 'Displacement' doesn't merge cards.");
    expectError(failure(oneCard, twoCases), 42011,
        "Several case selected. Value 'Displacement' doesn't merge cases.");
    m.model.setHasResultData(false);
    expectError(failure(oneCard, {}), 42009,
        "No result data. Value Type 'Displacement' requires result data.");

    // Values that need neither results nor cases.
    const UFemCardValueExpressionPtr modulus_ = parsed("YoungsModulus");
    const UFemCardValueExpression& modulus = *modulus_;
    size = sizeOf(modulus, &m.card);
    double value = 0;
    UErrorPtr error;
    EXPECT_TRUE(
        modulus.getCardValue(&value, size, &m.card, static_cast<UFemCard*>(nullptr), &error));
    EXPECT_EQ(value, 200);
    EXPECT_EQ(m.card.lastCaseCard.load(), nullptr);
    // Several cards fail for every expression: no expression merges cards.
    EXPECT_FALSE(
        modulus.getCardValue(&value, size, twoCards, std::span<UFemCard* const>(), &error));
    EXPECT_EQ(error->code(), 42010);
}

TEST(CardValueExprEvaluation, CardsThatDoNotAnswerAndCardErrors)
{
    ValueModel m;
    ValueCard other("N7", &m.model);
    UErrorPtr error;
    sizeOf(*parsed("Displacement + Volume"), &other, &error);
    expectError(error, 42013, "Card 'N7' does not return value 'Displacement'.");
    sizeOf(*parsed("VonMisesStress@gaussPoint"), &m.card, &error);
    expectError(error, 42013, "Card 'E1' does not return value 'VonMisesStress@gaussPoint'.");

    m.card.setValueError("Thickness", 1,
        UFemUnexpectedError_withDescription(QStringLiteral("thickness unreadable")));
    const UFemCardValueExpressionPtr thickness_ = parsed("YoungsModulus * Thickness");
    const UFemCardValueExpression& thickness = *thickness_;
    double value = 0;
    EXPECT_FALSE(
        thickness.getCardValue(&value, sizeOf(thickness, &m.card), &m.card, &m.caseCard, &error));
    expectError(error, 81004, "Unexpected error occurred. thickness unreadable");

    // A value node asked with another size than the card's.
    const UFemCardValueExpressionPtr volumeExpression = parsed("Volume");
    const UFemCardValueExpression& volume
        = *volumeExpression->cardValueExpressionStackArray()[0].operand;
    std::vector<double> buffer(4);
    EXPECT_FALSE(volume.getCardValue(buffer.data(), { 0, 2, 1, 1 }, &m.card, &m.caseCard, &error));
    expectError(error, 81004,
        "Unexpected error occurred. CardValueArraySize doesn't match. ( "
        "CardValueTypeCardValueExpression )");
    // A compound node asked with a size its operands do not fit writes nothing beyond it.
    const UFemCardValueExpressionPtr location_ = parsed("Location + Volume");
    const UFemCardValueExpression& location = *location_;
    EXPECT_FALSE(
        location.getCardValue(buffer.data(), { 0, 1, 1, 3 }, &m.card, &m.caseCard, &error));
    EXPECT_EQ(error->code(), 81004);
}

TEST(CardValueExprEvaluation, CardsWithoutNamesAndEmptyCardArraysReportErrors)
{
    FakeDataController model;
    model.setHasResultData(true);
    NullCard nullCard(&model);
    ErrorCard errorCard(&model);
    ValueCard caseCard("C1", &model);
    const UFemCardValueExpressionPtr displacement_ = parsed("Displacement");
    const UFemCardValueExpression& displacement = *displacement_;
    for (UFemCard* card : std::initializer_list<UFemCard*> { &nullCard, &errorCard }) {
        UErrorPtr error;
        sizeOf(displacement, card, &error);
        expectError(error, 42013, "Card '' does not return value 'Displacement'.");
        double buffer[6] = {};
        EXPECT_FALSE(displacement.getCardValue(buffer, { 0, 1, 1, 6 }, card, &caseCard, &error));
        expectError(error, 42013, "Card '' does not return value 'Displacement'.");
    }

    UErrorPtr error;
    _UFemCardValueArraySize size { 1, 1, 1, 1 };
    EXPECT_FALSE(displacement.getCardValueArraySize(&size, std::span<UFemCard* const>(), &error));
    expectError(error, 81004,
        "Unexpected error occurred. No card is given to get value with Card Value Expression.");
    EXPECT_EQ(size.numberOfPoints, 0);
    double value = 0;
    EXPECT_FALSE(displacement.getCardValue(
        &value, { 0, 1, 1, 1 }, static_cast<UFemCard*>(nullptr), &caseCard, &error));
    EXPECT_EQ(error->code(), 81004);
}

TEST(CardValueExprEvaluation, UnparsedExpressionsRefuseEvaluation)
{
    ValueModel m;
    UFemCardValueExpression empty;
    UErrorPtr error;
    sizeOf(empty, &m.card, &error);
    expectError(error, 81004, "Unexpected error occurred. Unexpected CardValueExpression type.");
    double value = 0;
    EXPECT_FALSE(empty.getCardValue(&value, { 0, 1, 1, 1 }, &m.card, &m.caseCard, &error));
    expectError(error, 81004, "Unexpected error occurred. Unexpected CardValueExpressionType.");
    EXPECT_TRUE(empty.cardValueVectorValueLabelStringArray().isEmpty());
    // Without an error argument a failure is a program error.
    _UFemCardValueArraySize size;
    expectProgramError(
        [&] { static_cast<void>(empty.getCardValueArraySize(&size, &m.card, nullptr)); },
        QStringLiteral("Error Responder Error"));
}

TEST(CardValueExprEvaluationThreads, OneExpressionEvaluatedOnManyThreadsAtOnce)
{
    ValueModel m;
    constexpr int threadCount = 4;
    std::vector<std::unique_ptr<ValueCard>> cards;
    for (int t = 0; t < threadCount; ++t) {
        cards.push_back(std::make_unique<ValueCard>(QString::number(t), &m.model));
        cards.back()->setValues("VonMisesStress", 1, 3, 1, { 1.0 + t, 2.0 + t, 3.0 + t });
        cards.back()->setValues("YoungsModulus", 1, 1, 1, { 2.0 });
    }
    const UFemCardValueExpressionPtr expression_
        = parsed("(VonMisesStress - YoungsModulus) * VonMisesStress");
    const UFemCardValueExpression& expression = *expression_;
    std::vector<std::vector<double>> results(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 200; ++round) {
                double values[3];
                UErrorPtr error;
                if (expression.getCardValue(
                        values, { 0, 1, 3, 1 }, cards[t].get(), &m.caseCard, &error))
                    results[t].assign(values, values + 3);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < threadCount; ++t) {
        std::vector<double> expected;
        for (double v : { 1.0 + t, 2.0 + t, 3.0 + t })
            expected.push_back((v - 2) * v);
        EXPECT_EQ(results[t], expected) << t;
    }
}
