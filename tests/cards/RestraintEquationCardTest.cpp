#include "CardColumnPaging.h"
#include "CardsTestModel.h"
#include "RecordingMatrixCalculator.h"

#include "cardmodel/card/UFemCardColumn.h"
#include "cards/loads/RestraintEquation.h"

#include <QStringList>

using namespace cardstest;

namespace {

// A line with `pairs` value/DOF pairs: value i + 1 on node P<i> in direction i mod 6.
QString lineWithPairs(quint64 pairs)
{
    static const char* const directions[] { "TX", "TY", "TZ", "RX", "RY", "RZ" };
    QString line = u"RestraintEquation , E , 2 , D@TX"_qs;
    for (quint64 i = 0; i < pairs; ++i)
        line += QStringLiteral(" , %1 , P%2@%3").arg(i + 1).arg(i).arg(directions[i % 6]);
    return line + u" ,"_qs;
}

QStringList putsOf(const UFemCard& card)
{
    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    EXPECT_TRUE(dynamic_cast<const RestraintEquation&>(card).putRestraintToMatrixCalculator(
        calculator, &error));
    EXPECT_FALSE(error);
    return calculator.calls;
}

} // namespace

TEST(RestraintEquationCard, PutsMinusValueOverBaseFactorWithRotationsFromRX)
{
    CardsTestModel model;
    model.read(
        u"RestraintEquation , E , 1 , N1@TX , -1 , N2@TX ,\n"
        "RestraintEquation , E , 2 , N1@RZ , 4 , N2@RX , -1 , N3@TY ,\n"
        "RestraintEquation , E , -0.5 , N4@RY , 1 , N5@TZ , 1e-3 , N6@RY , 0 , N7@RX ,\n"_qs);
    for (quint64 row = 0; row < 3; ++row)
        ASSERT_EQ(model.errorText(row), QString()) << row;
    EXPECT_EQ(putsOf(model.card(0)), QStringList { "equation N1 T0 = 1*N2 T0" });
    EXPECT_EQ(putsOf(model.card(1)), QStringList { "equation N1 R2 = -2*N2 R0 + 0.5*N3 T1" });
    EXPECT_EQ(
        putsOf(model.card(2)), QStringList { "equation N4 R1 = 2*N5 T2 + 0.002*N6 R1 + 0*N7 R0" });

    EXPECT_EQ(model.card(1).toolTipString(),
        u"<RestraintEquation> E <2>\n( (2)×N1@RZ + (4)×N2@RX + (-1)×N3@TY = 0.0 )"_qs);
    EXPECT_EQ(errorDescription(model.card(0).checkErrorToRun()),
        u"( Error to Run ) Cards 'N1', 'N2' are not registered yet."_qs);
}

TEST(RestraintEquationCard, RegisterChecksInTheirOrder)
{
    CardsTestModel model;
    const UFemCardClass& equation = RestraintEquation::cardClassObject();
    const auto check = [&](const char* line) {
        return errorDescription(model.registerLine(equation, QString::fromUtf8(line)));
    };
    EXPECT_EQ(check("RestraintEquation , E , , , 1 ,"),
        u"( Error on Register ) Columns 'Base Factor' (column 3), 'Restraint DOF' (column 4), 'DOF 0' (column 6) are empty."_qs);
    // An odd line: the DOF that would complete the last pair is reported.
    EXPECT_EQ(check("RestraintEquation , E , 1 , N1@TX , -1 , N2@TX , 3 ,"),
        u"( Error on Register ) Column 'DOF 1' (column 8) is empty."_qs);
    EXPECT_EQ(check("RestraintEquation , E , 1 , N1@TX , , N2@TX ,"),
        u"( Error on Register ) Column 'Value 0' (column 5) is empty."_qs);
    EXPECT_EQ(check("RestraintEquation , E , 1 , N1@TX ,"),
        u"( Error on Register ) No 'Factor'-'DOF(Independent)' pare. Minimum one pare of 'Factor'-'DOF' are required."_qs);
    EXPECT_EQ(check("RestraintEquation , E , 0 , N1@TX , 2 , N2@TY , 3 , N1@TX ,"),
        u"( Error on Register ) 'N1@TX' (Restraint DOF) is also in Independent DOF."_qs);
    EXPECT_EQ(check("RestraintEquation , E , 0 , N1@TX , 2 , N1@TY ,"),
        u"( Error on Register ) 'Base Factor' (column 3) is Zero."_qs);
    EXPECT_EQ(check("RestraintEquation , E , 0.5 , N1@TX , 2 , N1@RX ,"), u"(no error)"_qs);
}

TEST(RestraintEquationCard, ColumnsGrowAndPageWithinTheCallersTable)
{
    const UFemCardClass& equation = RestraintEquation::cardClassObject();
    EXPECT_EQ(equation.numberOfColumns(), std::numeric_limits<quint64>::max());
    EXPECT_EQ(equation.cardType(), 8);
    EXPECT_EQ(equation.cardMenuOrderHintNo(), 130u);
    EXPECT_EQ(equation.cardFormViewControllerClass(), u"RestraintEquationFormViewController"_qs);
    EXPECT_TRUE(equation.isAllowedHaveSomeCard());
    QStringList labels;
    for (quint64 i = 0; i < 8; ++i)
        labels.append(equation.columnLabelStringAtIndex(i));
    EXPECT_EQ(labels,
        (QStringList { "RestraintEquation", "Card Name", "Base Factor", "Restraint DOF", "Value 0",
            "DOF 0", "Value 1", "DOF 1" }));
    EXPECT_EQ(equation.columnLabelStringAtIndex(85), u"DOF 40"_qs);

    CardsTestModel model;
    for (quint64 pairs : { 1u, 7u, 40u }) {
        ASSERT_FALSE(model.registerLine(equation, lineWithPairs(pairs))) << pairs;
        auto& card = dynamic_cast<RestraintEquation&>(*model.single);
        const quint64 columnCount = 4 + 2 * pairs;
        ASSERT_EQ(card.numberOfCurrentColumns(), columnCount);
        for (quint64 tableSize : { 1u, 3u, 4u, 5u, 11u, 200u }) {
            const std::vector<UFemCardColumn*> columns = pagedColumns(card, tableSize);
            ASSERT_EQ(columns.size(), columnCount) << pairs << " " << tableSize;
            EXPECT_EQ(columns[0], nullptr);
            for (quint64 i = 1; i < columnCount; ++i) {
                EXPECT_EQ(columns[i], card.cardColumnAtIndex(i));
                EXPECT_EQ(columns[i]->columnIndex(), i);
            }
        }
        EXPECT_EQ(card.columnStringAtIndex(columnCount - 1),
            QStringLiteral("P%1@%2").arg(pairs - 1).arg(
                QStringList { "TX", "TY", "TZ", "RX", "RY", "RZ" }[(pairs - 1) % 6]));
        const QStringList puts = putsOf(card);
        ASSERT_EQ(puts.size(), 1);
        EXPECT_EQ(puts[0].count(u'*'), qsizetype(pairs));
        EXPECT_TRUE(puts[0].startsWith(u"equation D T0 = -0.5*P0 T0"_qs));
        // The model text names every pair.
        EXPECT_EQ(card.cardTextColumns()->numberOfColumns(), columnCount);
    }

    // Read again with fewer pairs, the card drops the columns it no longer has.
    auto& card = dynamic_cast<RestraintEquation&>(*model.single);
    UFemCardTextColumns shorter;
    UErrorPtr error;
    ASSERT_TRUE(shorter.setCardString(lineWithPairs(2), &error));
    ASSERT_TRUE(card.setCardColumnsWithCardTextColumns(shorter, &error));
    EXPECT_EQ(card.numberOfCurrentColumns(), 8u);
    EXPECT_EQ(card.numberOfRestraintEquationPairs(), 2u);
    // Asking for a column past the end creates the columns up to it.
    EXPECT_EQ(card.cardColumnAtIndex(10)->columnIndex(), 10u);
    EXPECT_EQ(card.numberOfCurrentColumns(), 11u);
    card.resetColumnsAfterIndex(6);
    EXPECT_EQ(card.numberOfCurrentColumns(), 6u);
    card.resetColumnsAfterIndex(2);
    EXPECT_EQ(card.numberOfCurrentColumns(), 4u);
    EXPECT_TRUE(card.restraintDegreeOfFreedomColumn().isEmptyColumn());
    EXPECT_EQ(card.cardNameString(), u"E"_qs);
    EXPECT_EQ(programErrorReason([&] { card.cardColumnAtIndex(0); }), u"Out of range."_qs);
}

TEST(RestraintEquationCard, DrawingNodesAreTheDependentThenEachPair)
{
    CardsTestModel model;
    ASSERT_FALSE(model.registerLine(RestraintEquation::cardClassObject(), lineWithPairs(11)));
    const UFemCard& card = *model.single;
    ASSERT_EQ(card.numberOfNodeForDrawing(), 12u);
    EXPECT_TRUE(card.doesDrawWhenNotAllNodeValid());
    EXPECT_FALSE(card.isRotationDisplacementValid());
    QStringList expected { "D" };
    for (int i = 0; i < 11; ++i)
        expected.append(QStringLiteral("P%1").arg(i));
    for (quint64 tableSize : { 12u, 4u }) {
        std::vector<UFemCardName*> table(tableSize, nullptr);
        std::vector<UFemCardName*> overflow;
        ASSERT_EQ(
            card.getNodeCardNamesForDrawingToNodeCardNameTable(table.data(), tableSize, &overflow),
            12u);
        const std::vector<UFemCardName*>& names = tableSize < 12 ? overflow : table;
        ASSERT_EQ(names.size(), 12u);
        QStringList texts;
        for (const UFemCardName* name : names)
            texts.append(name->cardNameString());
        EXPECT_EQ(texts, expected);
        EXPECT_EQ(table.size(), tableSize);
    }
    EXPECT_EQ(card.nodeCardNameForDrawingWithNodeNo(0)->cardNameString(), u"D"_qs);
    EXPECT_EQ(card.nodeCardNameForDrawingWithNodeNo(11)->cardNameString(), u"P10"_qs);
    EXPECT_EQ(programErrorReason([&] { card.nodeCardNameForDrawingWithNodeNo(12); }),
        u"Out of range."_qs);

    // A card left with an incomplete pair refuses the operations that need whole pairs.
    EXPECT_TRUE(model.registerLine(
        RestraintEquation::cardClassObject(), u"RestraintEquation , E , 1 , N1@TX , -1 ,"_qs));
    const QString oddReason = u"([restraintEquationArgumentColumnArray count] & 1) != 0."_qs;
    EXPECT_EQ(programErrorReason([&] { model.single->numberOfNodeForDrawing(); }), oddReason);
    EXPECT_EQ(
        programErrorReason([&] { model.single->nodeCardNameForDrawingWithNodeNo(0); }), oddReason);
    EXPECT_EQ(dynamic_cast<RestraintEquation&>(*model.single).toolTipStringAddition(),
        u"( (1)×N1@TX = 0.0 )"_qs);
}

TEST(RestraintEquationCard, ModelTextOfTheLoadAndRestraintCardsReadsBackUnchanged)
{
    const QString text = u"Force , F , N1 , , 1 , , -2.5 , , , 1e3 ,\n"
                         "ForceSet , FS , 2 , F ,\n"
                         "FixNode , R , N1 , YES , , YES , , , ,\n"
                         "RestraintSet , RS , R ,\n"
                         "RestraintEquation , R , 1 , N1@TX , -1 , N2@TX , 0.5 , N3@RZ ,\n"
                         "RestraintEquation , R , 2 , N4@TY , 3 , N5@TY ,\n"
                         "ForceDisp , R , N6@RY , 0.25 ,\n"_qs;
    CardsTestModel model;
    model.read(text);
    for (quint64 row = 0; row < model.controller.numberOfCards(); ++row)
        ASSERT_EQ(model.errorText(row), QString()) << row;
    const QString written = model.controller.modelTextOfAllCards();
    const QStringList lines = written.split(u'\n');
    ASSERT_GE(lines.size(), 7);
    EXPECT_EQ(lines[4], u"RestraintEquation , R , 1 , N1@TX , -1 , N2@TX , 0.5 , N3@RZ ,"_qs);
    EXPECT_EQ(lines[5], u"RestraintEquation , R , 2 , N4@TY , 3 , N5@TY ,"_qs);

    CardsTestModel again;
    again.read(written);
    EXPECT_EQ(again.controller.modelTextOfAllCards(), written);
    EXPECT_EQ(again.controller.numberOfCards(), 7u);
}
