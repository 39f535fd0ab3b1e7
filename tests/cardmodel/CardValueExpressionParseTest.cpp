#include "CardModelExpectations.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/expression/UFemCardValueExpression.h"
#include "foundation/strings/UUnicharString.h"

#include <gtest/gtest.h>

namespace {

struct ParseFailure {
    const char* text;
    qint64 code;
    // The description of the parser's own error (the one the syntax error wraps).
    QString description;
};

UErrorPtr parseError(const QString& text)
{
    UFemCardValueExpression expression;
    UErrorPtr error;
    EXPECT_FALSE(expression.setCardValueExpressionString(text, &error)) << text.toStdString();
    EXPECT_EQ(expression.cardValueExpressionType(), UFemNoneCardValueExpressionType);
    return error;
}

QString syntax(const QString& message)
{
    return QStringLiteral("Card Value Expression Syntax Error - ") + message;
}

// The node kinds of a parsed tree in prefix order, operators included, e.g. "1(2(3(1(4))*4))".
QString shape(const UFemCardValueExpression& node)
{
    QString text = QString::number(node.cardValueExpressionType());
    if (node.cardValueExpressionStackArray().empty())
        return text;
    text += u'(';
    for (const UFemCardValueExpressionStackElement& element : node.cardValueExpressionStackArray())
        text += element.isOperand() ? shape(*element.operand)
                                    : QString(QChar(element.operatorCharacter));
    return text + u')';
}

} // namespace

TEST(CardValueExprParse, SingleValueIsAnAdditionNodeWithTheRegistryLabels)
{
    UFemCardValueExpression expression;
    ASSERT_TRUE(
        expression.setCardValueExpressionString(QStringLiteral("  Displacement  "), nullptr));
    EXPECT_EQ(shape(expression), "1(4)");
    EXPECT_EQ(expression.cardValueExpressionString(), "Displacement");
    EXPECT_EQ(expression.numberOfVectorValues(), 6u);
    EXPECT_TRUE(expression.isCaseRelated());
    EXPECT_TRUE(expression.isCalcResultRelated());
    EXPECT_TRUE(expression.isPointRelated());
    EXPECT_FALSE(expression.doesMergeCards() || expression.doesMergeCases()
        || expression.doesMergePoints() || expression.doesMergeSectionPoints());
    const UFemCardValueExpression& value = *expression.cardValueExpressionStackArray()[0].operand;
    EXPECT_EQ(value.cardValueExpressionStringRange(), (URange { 2, 12 }));
    EXPECT_EQ(value.refStringRange1(), (URange { 2, 12 }));
    EXPECT_EQ(value.refStringRange2(), (URange {}));
    EXPECT_EQ(value.cardValueType().majorCardValueType, 0x106E0u);
    EXPECT_EQ(expression.cardValueVectorValueLabelStringArray(),
        (QStringList { "Displacement-Tx", "Displacement-Ty", "Displacement-Tz", "Displacement-Rx",
            "Displacement-Ry", "Displacement-Rz" }));
}

TEST(CardValueExprParse, LabelsOfSignsCompoundsAndScalars)
{
    const auto labels = [](const char* text) {
        UFemCardValueExpression expression;
        EXPECT_TRUE(expression.setCardValueExpressionString(QString::fromUtf8(text), nullptr))
            << text;
        return expression.cardValueVectorValueLabelStringArray();
    };
    EXPECT_EQ(labels("-Displacement").first(), "-Displacement-Tx");
    EXPECT_EQ(labels("-Displacement").size(), 6);
    EXPECT_EQ(labels("+ VonMisesStress"), QStringList { "+VonMisesStress" });
    EXPECT_EQ(labels("VonMisesStress@shellFace"), QStringList { "VonMisesStress@shellFace" });
    EXPECT_EQ(
        labels("VonMisesStress * YoungsModulus"), QStringList { "VonMisesStress * YoungsModulus" });
    EXPECT_EQ(labels("(Location)"),
        (QStringList { "[(Location)]-1", "[(Location)]-2", "[(Location)]-3" }));
    EXPECT_EQ(labels("Location/Volume").last(), "[Location/Volume]-3");
}

TEST(CardValueExprParse, TreeShapesRangesAndFlags)
{
    UFemCardValueExpression a;
    UFemCardValueExpression b;
    ASSERT_TRUE(
        a.setCardValueExpressionString(QStringLiteral("(VonMisesStress)*YoungsModulus"), nullptr));
    ASSERT_TRUE(b.setCardValueExpressionString(
        QStringLiteral("(VonMisesStress) * YoungsModulus"), nullptr));
    EXPECT_EQ(shape(a), "1(2(3(4)*4))");
    EXPECT_EQ(shape(b), shape(a));

    UFemCardValueExpression c;
    ASSERT_TRUE(c.setCardValueExpressionString(
        QStringLiteral("-(VonMisesStress - VonMisesStress @shellFace) / YoungsModulus + Volume"),
        nullptr));
    EXPECT_EQ(shape(c), "1(-2(3(4-4)/4)+4)");
    const UFemCardValueExpression& product = *c.cardValueExpressionStackArray()[1].operand;
    EXPECT_EQ(product.cardValueExpressionString(),
        "(VonMisesStress - VonMisesStress @shellFace) / YoungsModulus");
    const UFemCardValueExpression& block = *product.cardValueExpressionStackArray()[0].operand;
    EXPECT_EQ(block.cardValueExpressionStringRange(), (URange { 1, 44 }));
    EXPECT_EQ(block.refStringRange1(), (URange { 2, 42 }));
    const UFemCardValueExpression& minorValue = *block.cardValueExpressionStackArray()[2].operand;
    EXPECT_EQ(minorValue.cardValueExpressionString(), "VonMisesStress @shellFace");
    EXPECT_EQ(minorValue.refStringRange2(), (URange { 35, 9 }));
    EXPECT_EQ(minorValue.cardValueType().minorCardValueType,
        UFemCardClassManager::sharedCardClassManager()
            .minorCardValueTypeWithMinorCardValueTypeString("shellFace"));
    // Volume and YoungsModulus are neither case- nor result-related; the stresses are.
    EXPECT_TRUE(c.isCaseRelated());
    EXPECT_EQ(c.numberOfVectorValues(), 1u);

    UFemCardValueExpression scalar;
    ASSERT_TRUE(scalar.setCardValueExpressionString(
        QStringLiteral("YoungsModulus / PoissonsRatio"), nullptr));
    EXPECT_FALSE(scalar.isCaseRelated() || scalar.isCalcResultRelated() || scalar.isPointRelated());
    // A scalar combines with six components.
    UFemCardValueExpression mixed;
    ASSERT_TRUE(mixed.setCardValueExpressionString(
        QStringLiteral("Displacement*Volume+Displacement"), nullptr));
    EXPECT_EQ(mixed.numberOfVectorValues(), 6u);
}

TEST(CardValueExprParse, NamesMayHoldDigitsAfterTheFirstCharacterAndAnyMinorNameRegisters)
{
    UFemCardClassManager& registry = UFemCardClassManager::sharedCardClassManager();
    registry.majorCardValueTypeWithMajorCardValueTypeString(
        "Stress2", 1, false, false, false, std::nullopt);
    UFemCardValueExpression expression;
    ASSERT_TRUE(expression.setCardValueExpressionString(QStringLiteral("Stress2@layer7"), nullptr));
    const UFemCardValueExpression& value = *expression.cardValueExpressionStackArray()[0].operand;
    EXPECT_NE(value.cardValueType().minorCardValueType, 0u);
    EXPECT_EQ(registry.minorCardValueTypeStringWithMinorCardValueType(
                  value.cardValueType().minorCardValueType),
        "layer7");
}

TEST(CardValueExprParse, BlankTextGivesNoExpressionAndNoError)
{
    for (const char* text : { "", "   ", " \t " }) {
        UFemCardValueExpression expression;
        UErrorPtr error;
        EXPECT_FALSE(expression.setCardValueExpressionString(QString::fromUtf8(text), &error));
        EXPECT_FALSE(error);
        EXPECT_EQ(expression.cardValueExpressionType(), UFemNoneCardValueExpressionType);
        EXPECT_EQ(expression.cardValueExpressionString(), std::nullopt);
    }
}

TEST(CardValueExprParse, EveryParseErrorText)
{
    const QString tab = QStringLiteral("\t");
    const std::vector<ParseFailure> failures {
        { "Displacement Location", 42001, syntax("Unexpected character 'L' exist.") },
        { "Displacement*", 42001,
            syntax("Card Value Expression ends with operator ( '+', '-', '*', '/' ).") },
        { "Displacement -", 42001,
            syntax("Card Value Expression ends with operator ( '+', '-', '*', '/' ).") },
        { "*Displacement", 42001, syntax("Unexpected character '*' exist.") },
        { "Displacement*-Location", 42001, syntax("Unexpected character '-' exist.") },
        { "--Displacement", 42001, syntax("Unexpected character '-' exist.") },
        { "Displacement+-Volume", 42001, syntax("Unexpected character '-' exist.") },
        { "2*Displacement", 42001, syntax("Unexpected character '2' exist.") },
        { "Displacement (Volume)", 42001, syntax("Unexpected character '(' exist.") },
        { "Displacement.", 42001, syntax("Unexpected character '.' exist.") },
        { "Volume)", 42001, syntax("Unexpected character ')' exist.") },
        { "\tVolume", 42001, syntax("Unexpected character '\t' exist.") },
        { "Volume\t", 42001, syntax("Unexpected character '\t' exist.") },
        { "Volume\t+Volume", 42001, syntax("Unexpected character '\t' exist.") },
        { "VonMisesStress@", 42001,
            syntax("Card Value Expression ends with '@'. No Minor Card Value Type.") },
        { "VonMisesStress@ shellFace", 42001,
            syntax("Space character ' ' exists after '@'. It is not Minor Card Value Type.") },
        { "VonMisesStress@2", 42001,
            syntax("Unexpected character '2' exists after '@'. It is not Minor Card Value Type.") },
        { "VonMisesStress@+", 42001,
            syntax("Unexpected character '+' exists after '@'. It is not Minor Card Value Type.") },
        { "()", 42001, syntax("No Card Value Expression exists in parenthesis '( )'.") },
        { "Volume * ( )", 42001, syntax("No Card Value Expression exists in parenthesis '( )'.") },
        { "(Volume + )", 42001,
            syntax("Card Value Expression ends with operator ( '+', '-', '*', '/' ).") },
        { "Displacement+Location", 42005,
            "Card Value Array Size doesn't match. Number of vector values of Card Value "
            "Expressions in "
            "addition/subtraction expression does not match." },
        { "Displacement*Location", 42005,
            "Card Value Array Size doesn't match. Number of vector values of Card Value "
            "Expressions in "
            "multiplication/division expression does not match." },
        { "Unknown7 + Volume", 42003, "Unknown Major Card Value Type 'Unknown7'" },
        { "Displacement.max", 81002, "Card Value Function is not supported, yet." },
        { "(Displacement).max(1)", 81002, "Card Value Function is not supported, yet." },
        { "(Displacement", 13002,
            "Parenthesis doesn't close correctly. String reached to the end while parenthesis of "
            "'(' is not closed "
            "yet." },
    };
    for (const ParseFailure& failure : failures) {
        SCOPED_TRACE(failure.text);
        const UErrorPtr error = parseError(QString::fromUtf8(failure.text));
        ASSERT_TRUE(error);
        // The syntax error takes the code of the error it wraps.
        EXPECT_EQ(error->code(), failure.code);
        ASSERT_TRUE(error->underlyingError());
        const UError& base = *error->underlyingError();
        EXPECT_EQ(base.code(), failure.code);
        EXPECT_TRUE(base.localizedDescription().endsWith(failure.description))
            << base.localizedDescription().toStdString();
        EXPECT_EQ(error->localizedDescription(), syntax(base.localizedDescription()));
    }
}

TEST(CardValueExprParse, ErrorsPointAtTheOffendingPart)
{
    const auto oneLine = [](const char* text) {
        return parseError(QString::fromUtf8(text))->localizedOneLineDescription();
    };
    EXPECT_TRUE(oneLine("Displacement Location").endsWith("Error on: Displacement 'L'ocation"));
    EXPECT_TRUE(oneLine("VonMisesStress@").endsWith("Error on: VonMisesStress@''"));
    EXPECT_TRUE(oneLine("Volume +").endsWith("Error on: Volume '+'"));
    EXPECT_TRUE(oneLine("Volume + Unknown7@node").endsWith("Error on: 'Unknown7'@node"));
    EXPECT_TRUE(oneLine("Volume + ( )").endsWith("Error on: Volume + '( )'"));
    // Inside parentheses the excerpt is the inside.
    EXPECT_TRUE(oneLine("Volume * (Volume Volume)").endsWith("Error on: Volume 'V'olume"));
    EXPECT_TRUE(oneLine("Volume+Displacement+Location")
                    .endsWith("Error on: Volume+Displacement+'Location'"));

    UErrorPtr space = parseError(QStringLiteral("Volume@ node"));
    EXPECT_TRUE(space->underlyingError()->localizedRecoverySuggestion().startsWith(
        "Minor Card Value Type String must continue just after '@' without Space character."));
}

TEST(CardValueExprParse, StackChecksRefuseBrokenAlternation)
{
    const UUnicharStringPtr base
        = UUnicharString::unicharStringWithString(QStringLiteral("Volume * Volume"));
    UErrorPtr error;
    auto volume
        = UFemCardValueExpression::cardValueTypeCardValueExpression(base, { 0, 6 }, {}, &error);
    ASSERT_TRUE(volume);
    const auto description
        = [](const UErrorPtr& e) { return e ? e->localizedDescription() : QString(); };

    UFemCardValueExpressionStack top(base, { 0, base->length() });
    EXPECT_FALSE(top.appendMultiplicativeOperator(u'*', 7, &error));
    EXPECT_EQ(description(error), syntax("Card Value Expression begins with Operator '*' or '/'."));
    EXPECT_TRUE(top.appendAdditiveOperator(u'-', 0, &error));
    EXPECT_FALSE(top.appendMultiplicativeOperator(u'/', 7, &error));
    EXPECT_EQ(description(error),
        syntax(
            "Operator ( '*' or '/' ) are continued after '+' or '-' without Operand ( Value )."));
    EXPECT_FALSE(top.appendAdditiveOperator(u'+', 7, &error));
    EXPECT_EQ(description(error),
        syntax("Operators ( '+', '-' ) are continued without Operand ( Value )."));
    EXPECT_FALSE(top.appendAdditiveOperator(u'*', 7, &error));
    EXPECT_EQ(description(error), syntax("(Unexpected Error) An error occurred at '+' or '-'."));
    EXPECT_TRUE(top.appendOperand(volume, &error));
    EXPECT_FALSE(top.appendOperand(volume, &error));
    EXPECT_EQ(description(error),
        syntax("(Unexpected Error) Value objects are continued without operator ( '+', '-', '*', "
               "or '/' )."));
    EXPECT_FALSE(top.appendMultiplicativeOperator(u'+', 7, &error));
    EXPECT_EQ(description(error), syntax("( Unexpected Error ) An error occurred at '*' or '/'."));
    EXPECT_TRUE(top.appendMultiplicativeOperator(u'*', 7, &error));
    EXPECT_FALSE(top.appendMultiplicativeOperator(u'*', 7, &error));
    EXPECT_EQ(description(error),
        syntax(
            "Operator ( '*' or '/' ) are continued after '*' or '/' without Operand ( Value )."));
    EXPECT_FALSE(top.appendAdditiveOperator(u'+', 7, &error));
    EXPECT_EQ(description(error),
        syntax("(Unexpected Error) Operator ( '+' or '-' ) are continued after '*' or '/' without "
               "Operand ( Value )."));
    EXPECT_EQ(error->localizedOneLineDescription(),
        syntax("(Unexpected Error) Operator ( '+' or '-' ) are continued after '*' or '/' without "
               "Operand ( Value ).")
            + " - Error on: Volume '*' Volume");

    const UFemCardValueExpressionStackElement times { nullptr, u'*', 7 };
    const UFemCardValueExpressionStackElement operand { volume, 0, 0 };
    const auto product = [&](UFemCardValueExpressionStackArray stack) {
        UErrorPtr failure;
        EXPECT_FALSE(UFemCardValueExpression::multiplicationDivisionTypeCardValueExpression(
            base, stack, &failure));
        return description(failure);
    };
    EXPECT_EQ(product({ times, operand }),
        syntax("(Unexpected Error) Card Value Expression begins with Operator '*' or '/'."));
    EXPECT_EQ(product({ operand, times, times, operand }),
        syntax(
            "(Unexpected Error) Operators ( '*', '/' ) are continued without Operand ( Value )."));
    EXPECT_EQ(product({ operand, times }),
        syntax(
            "(Unexpected Error) Operators ( '*', '/' ) are continued without Operand ( Value )."));
    EXPECT_EQ(product({ operand, operand }),
        syntax("(Unexpected Error) Value objects are continued without operator ( '+', '-', '*' or "
               "'/' )."));
    UErrorPtr none;
    auto good = UFemCardValueExpression::multiplicationDivisionTypeCardValueExpression(
        base, { operand, times, operand }, &none);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->cardValueExpressionType(), UFemMultiplicationDivisionCardValueExpressionType);
}

TEST(CardValueExprParse, CopiesParseTheTextAgainAndAFailedParseKeepsItsText)
{
    UFemCardValueExpression expression;
    ASSERT_TRUE(
        expression.setCardValueExpressionString(QStringLiteral("Displacement * Volume"), nullptr));
    const UFemCardValueExpressionPtr copy = expression.copy();
    EXPECT_EQ(copy->cardValueExpressionString(), "Displacement * Volume");
    EXPECT_EQ(shape(*copy), shape(expression));
    EXPECT_NE(copy->cardValueExpressionStackArray()[0].operand,
        expression.cardValueExpressionStackArray()[0].operand);

    UFemCardValueExpression failed;
    UErrorPtr error;
    EXPECT_FALSE(failed.setCardValueExpressionString(QStringLiteral(" Volume Volume "), &error));
    EXPECT_EQ(failed.cardValueExpressionString(), "Volume Volume");
    EXPECT_EQ(failed.errorOnDecoding(), error->underlyingError());
    EXPECT_EQ(failed.copy()->cardValueExpressionType(), UFemNoneCardValueExpressionType);

    // Without an error out-argument a syntax error is a program error.
    expectUException(
        [&] {
            static_cast<void>(
                failed.setCardValueExpressionString(QStringLiteral("Volume Volume"), nullptr));
        },
        UFemProgramErrorExceptionName, QStringLiteral("Error Responder Error"));
}
