#include "CardColumnPaging.h"
#include "CardsTestModel.h"
#include "RecordingMatrixCalculator.h"

#include "cardmodel/card/UFemCardNameTable.h"
#include "cards/loads/Force.h"
#include "foundation/UFemCardValueArraySize.h"

using namespace cardstest;

namespace {

const QString forceModel = u"Force , F , N1 , , 1 , 2 , 3 , 0 , 0 , 0 ,\n"
                           "Force , F , N2 , , , , 4.5 , , , ,\n"
                           "Force , F , N3 , , 0 , 0 , 0 , 1 , -2 , 0 ,\n"
                           "Force , F , N4 , , , , , , , ,\n"
                           "Force , F , N5 , , -1 , , , , , 8 ,\n"_qs;

QStringList putsOf(CardsTestModel& model, double factor)
{
    const std::shared_ptr<UFemCardName> caseName
        = model.controller.cardNameTable().cardNameOrNewWithCardNameString(u"C1"_qs, nullptr);
    RecordingMatrixCalculator calculator;
    for (quint64 row = 0; row < model.controller.numberOfCards(); ++row) {
        UErrorPtr error;
        EXPECT_TRUE(model.cardAs<Force>(row).putForceMatrixToMatrixCalculator(
            calculator, factor, *caseName, &error));
        EXPECT_FALSE(error);
    }
    return calculator.calls;
}

} // namespace

TEST(ForceCard, PutsForcesAndMomentsSeparatelyTimesTheFactor)
{
    CardsTestModel model;
    model.read(forceModel);
    EXPECT_EQ(putsOf(model, 2.0),
        (QStringList { "force N1 (2, 4, 6) case C1", "force N2 (0, 0, 9) case C1",
            "moment N3 (2, -4, 0) case C1", "force N5 (-2, 0, 0) case C1",
            "moment N5 (0, 0, 16) case C1" }));
    EXPECT_EQ(putsOf(model, -0.5).first(), u"force N1 (-0.5, -1, -1.5) case C1"_qs);
    // A zero factor puts nothing, whatever the components.
    EXPECT_EQ(putsOf(model, 0.0), QStringList {});
}

TEST(ForceCard, RegisterAndRunChecks)
{
    CardsTestModel model;
    const UFemCardClass& force = Force::cardClassObject();
    // All six components are optional.
    EXPECT_FALSE(model.registerLine(force, u"Force , F , N1 ,"_qs));
    EXPECT_EQ(errorDescription(model.registerLine(force, u"Force , F , N1 , K , 1 ,"_qs)),
        u"( Error on Register ) Column 'Coord' (column 4) must be empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(force, u"Force , F , , , 1 ,"_qs)),
        u"( Error on Register ) Column 'Node' (column 3) is empty."_qs);

    model.read(u"Force , F , N1 , , 1 ,\n"_qs);
    const UErrorPtr run = model.card(0).checkErrorToRun();
    ASSERT_TRUE(run);
    EXPECT_EQ(run->code(), 12016);
    EXPECT_EQ(run->localizedDescription(), u"( Error to Run ) Card 'N1' is not registered yet."_qs);
    EXPECT_FALSE(model.card(0).checkWarningToRun());
}

TEST(ForceCard, ClassToolTipColumnsAndValues)
{
    const UFemCardClass& force = Force::cardClassObject();
    EXPECT_EQ(force.cardLabelString(), u"Force"_qs);
    EXPECT_EQ(force.cardType(), 9);
    EXPECT_EQ(force.cardMenuOrderHintNo(), 110u);
    EXPECT_EQ(force.cardFormViewControllerClass(), u"ForceFormViewController"_qs);
    EXPECT_EQ(force.numberOfColumns(), 10u);
    EXPECT_EQ(force.columnLabelStringAtIndex(9), u"Mz"_qs);
    EXPECT_TRUE(force.isAllowedHaveSomeCard());

    CardsTestModel model;
    model.read(u"Force , F , N1 , , 1 , -2.5 , , , 3e2 ,\n"_qs);
    auto& card = model.cardAs<Force>(0);
    EXPECT_EQ(card.toolTipString(), u"<Force> F <1>\n( 1, -2.5, 0.0, 0.0, 3e2, 0.0 )"_qs);

    UFemCardColumn* columns[10] {};
    card.getCardColumns(columns, 0, 10);
    EXPECT_EQ(columns[0], nullptr);
    EXPECT_EQ(columns[9], &card.momentZValueColumn());
    // Paging a fixed card stays within the caller's table too.
    for (quint64 tableSize : { 1u, 3u, 10u, 64u }) {
        const std::vector<UFemCardColumn*> paged = pagedColumns(card, tableSize);
        EXPECT_EQ(paged, std::vector<UFemCardColumn*>(columns, columns + 10)) << tableSize;
    }
    card.getCardColumns(columns, 5, 5);
    EXPECT_EQ(columns[0], &card.forceYValueColumn());
    EXPECT_EQ(programErrorReason([&] { card.getCardColumns(columns, 5, 6); }), u"Out of range."_qs);

    EXPECT_FALSE(card.respondsToCardValueType(valueType("YoungsModulus")));
    _UFemCardValueArraySize size { 7, 1, 1, 1 };
    EXPECT_FALSE(card.getCardValueArraySize(&size, valueType("YoungsModulus")));
    EXPECT_EQ(size.leadingCount + size.numberOfPoints + size.numberOfVectorValues, 0);
}

TEST(ForceCard, DrawnAtItsNode)
{
    CardsTestModel model;
    model.read(u"Force , F , N1 , , 1 ,\n"_qs);
    const UFemCard& card = model.card(0);
    EXPECT_EQ(card.numberOfNodeForDrawing(), 1u);
    EXPECT_FALSE(card.doesDrawWhenNotAllNodeValid());
    EXPECT_FALSE(card.isRotationDisplacementValid());
    EXPECT_EQ(card.nodeCardNameForDrawingWithNodeNo(0)->cardNameString(), u"N1"_qs);
    EXPECT_EQ(
        programErrorReason([&] { card.nodeCardNameForDrawingWithNodeNo(1); }), u"Out of range."_qs);

    const double positions[6] {};
    _UFemCardValueArraySize oneValue { 0, 1, 1, 1 };
    UErrorPtr error;
    EXPECT_TRUE(card.drawOpenGLToDrawingBuffer(
        nullptr, positions, nullptr, &oneValue, positions, nullptr, nullptr, &error));
    EXPECT_FALSE(error);
    _UFemCardValueArraySize twoPoints { 0, 2, 1, 1 };
    EXPECT_TRUE(card.drawOpenGLToDrawingBuffer(
        nullptr, positions, nullptr, &twoPoints, positions, nullptr, nullptr, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 32003);
    EXPECT_TRUE(error->localizedRecoverySuggestion().contains(
        u"Number of points: 1, Number of section points: 1, Number of vector values: 1"_qs));
}
