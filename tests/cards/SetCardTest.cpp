#include "CardsTestModel.h"
#include "RecordingMatrixCalculator.h"

#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/card/UFemCardType.h"
#include "cards/loads/ForceSet.h"
#include "cards/loads/RestraintSet.h"
#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"

using namespace cardstest;

namespace {

// Force cards come after the sets that name them: members are taken in model order all the same.
const QString forceSetModel = u"ForceSet , A , 2 , F ,\n"
                              "ForceSet , B , 3 , A ,\n"
                              "ForceSet , Z , 0 , F ,\n"
                              "ForceSet , E , 5 , F2 ,\n"
                              "Force , F , N1 , , 1 , , , , , 0.5 ,\n"
                              "Force , F , N2 , , , 2 , , , , ,\n"
                              "ForceSet , F , -1 , G ,\n"
                              "Force , G , N3 , , , , 7 , , , ,\n"_qs;

QStringList forcePutsOf(CardsTestModel& model, quint64 row, double factor)
{
    const std::shared_ptr<UFemCardName> caseName
        = model.controller.cardNameTable().cardNameOrNewWithCardNameString(u"C1"_qs, nullptr);
    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    EXPECT_TRUE(model.cardAs<ForceSet>(row).putForceMatrixToMatrixCalculator(
        calculator, factor, *caseName, &error));
    EXPECT_FALSE(error);
    return calculator.calls;
}

QStringList restraintPutsOf(UFemCard& card)
{
    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    EXPECT_TRUE(dynamic_cast<const UFemRestraintSource&>(card).putRestraintToMatrixCalculator(
        calculator, &error));
    EXPECT_FALSE(error);
    return calculator.calls;
}

QStringList drawingNodeNames(const UFemCard& card, quint64 tableSize)
{
    std::vector<UFemCardName*> table(tableSize, nullptr);
    std::vector<UFemCardName*> overflow;
    const quint64 count
        = card.getNodeCardNamesForDrawingToNodeCardNameTable(table.data(), tableSize, &overflow);
    const std::vector<UFemCardName*>& names = count > tableSize ? overflow : table;
    QStringList texts;
    for (quint64 i = 0; i < count; ++i)
        texts.append(names[i] ? names[i]->cardNameString() : u"(none)"_qs);
    return texts;
}

} // namespace

TEST(ForceSetCard, MultipliesTheFactorsOfNestedSets)
{
    CardsTestModel model;
    model.read(forceSetModel);
    // A: 2 x (F: two forces and the set F of factor -1 over G).
    EXPECT_EQ(forcePutsOf(model, 0, 1.0),
        (QStringList { "force N1 (2, 0, 0) case C1", "moment N1 (0, 0, 1) case C1",
            "force N2 (0, 4, 0) case C1", "force N3 (0, 0, -14) case C1" }));
    // B: 3 x A = 2 x 3 = 6 on every Force of F.
    EXPECT_EQ(forcePutsOf(model, 1, 1.0),
        (QStringList { "force N1 (6, 0, 0) case C1", "moment N1 (0, 0, 3) case C1",
            "force N2 (0, 12, 0) case C1", "force N3 (0, 0, -42) case C1" }));
    EXPECT_EQ(forcePutsOf(model, 1, 0.5).first(), u"force N1 (3, 0, 0) case C1"_qs);
    // A zero factor, given or its own, puts nothing; so does a set whose name has no cards.
    EXPECT_EQ(forcePutsOf(model, 2, 1.0), QStringList {});
    EXPECT_EQ(forcePutsOf(model, 0, 0.0), QStringList {});
    EXPECT_EQ(forcePutsOf(model, 3, 1.0), QStringList {});

    EXPECT_EQ(model.card(0).toolTipString(), u"<ForceSet> A <1>\n( (2)×F ( 3 cards ) )"_qs);
    EXPECT_EQ(model.card(3).checkErrorToRun()->localizedDescription(),
        u"( Error to Run ) Card 'F2' is not registered yet."_qs);
    EXPECT_FALSE(model.card(1).checkErrorToRun());
}

TEST(ForceSetCard, ClassesOfBothSets)
{
    const UFemCardClass& forceSet = ForceSet::cardClassObject();
    const UFemCardClass& restraintSet = RestraintSet::cardClassObject();
    EXPECT_EQ(forceSet.cardType(), 9);
    EXPECT_EQ(restraintSet.cardType(), 8);
    EXPECT_EQ(forceSet.cardMenuOrderHintNo(), 100u);
    EXPECT_EQ(restraintSet.cardMenuOrderHintNo(), 100u);
    EXPECT_EQ(forceSet.cardFormViewControllerClass(), u"ForceSetFormViewController"_qs);
    EXPECT_EQ(restraintSet.cardFormViewControllerClass(), u"RestraintSetFormViewController"_qs);
    EXPECT_EQ(forceSet.numberOfColumns(), 4u);
    EXPECT_EQ(restraintSet.numberOfColumns(), 3u);
    EXPECT_EQ(forceSet.columnLabelStringAtIndex(2), u"Factor"_qs);
    EXPECT_EQ(restraintSet.columnLabelStringAtIndex(2), u"Restraint"_qs);
    EXPECT_TRUE(forceSet.isAllowedHaveSomeCard());

    CardsTestModel model;
    EXPECT_EQ(errorDescription(model.registerLine(forceSet, u"ForceSet , A , , ,"_qs)),
        u"( Error on Register ) Columns 'Factor' (column 3), 'Force' (column 4) are empty."_qs);
    // A zero factor registers.
    EXPECT_EQ(errorDescription(model.registerLine(forceSet, u"ForceSet , A , 0 , F ,"_qs)),
        u"(no error)"_qs);
}

TEST(ForceSetCard, RefusesLoopsWithoutAFinalFullStop)
{
    CardsTestModel model;
    EXPECT_EQ(errorDescription(
                  model.registerLine(ForceSet::cardClassObject(), u"ForceSet , A , 2 , A ,"_qs)),
        u"( Error on Register ) Card Name 'A' is called from Force Card 'A'. They make a loop reference"_qs);

    model.read(u"ForceSet , A , 1 , B ,\n"
               "ForceSet , B , 1 , C ,\n"
               "ForceSet , C , 1 , A ,\n"
               "ForceSet , D , 1 , A ,\n"_qs);
    EXPECT_EQ(model.errorText(0), QString());
    EXPECT_EQ(model.errorText(1), QString());
    EXPECT_EQ(model.errorText(2),
        u"( Error on Register ) Card Name 'C' is called from Force Card 'A'. They make a loop reference"_qs);
    // Naming a set is no loop.
    EXPECT_EQ(model.errorText(3), QString());
}

TEST(RestraintSetCard, RefusesLoopsWithAFinalFullStop)
{
    CardsTestModel model;
    EXPECT_EQ(errorDescription(model.registerLine(
                  RestraintSet::cardClassObject(), u"RestraintSet , R , R ,"_qs)),
        u"( Error on Register ) Card Name 'R' is called from Restraint Card 'R'. They make a loop reference."_qs);

    model.read(u"RestraintSet , R1 , R2 ,\n"
               "RestraintSet , R2 , R3 ,\n"
               "RestraintSet , R3 , R1 ,\n"_qs);
    EXPECT_EQ(model.errorText(2),
        u"( Error on Register ) Card Name 'R3' is called from Restraint Card 'R1'. They make a loop reference."_qs);
    EXPECT_EQ(errorDescription(
                  model.registerLine(RestraintSet::cardClassObject(), u"RestraintSet , R9 , ,"_qs)),
        u"( Error on Register ) Column 'Restraint' (column 3) is empty."_qs);
}

TEST(RestraintSetCard, PutsEveryKindOfMemberInCardOrderThroughNestedSets)
{
    CardsTestModel model;
    model.read(u"RestraintSet , ALL , R ,\n"
               "FixNode , R , N1 , YES , YES , , , , ,\n"
               "RestraintEquation , R , 1 , N2@TX , -1 , N3@TX ,\n"
               "RestraintSet , R , INNER ,\n"
               "ForceDisp , INNER , N4@RZ , 0.5 ,\n"
               "FixNode , R , N5 , , , , , , YES ,\n"_qs);
    for (quint64 row = 0; row < 6; ++row)
        ASSERT_EQ(model.errorText(row), QString()) << row;
    EXPECT_EQ(restraintPutsOf(model.card(0)),
        (QStringList { "fix N1 T0", "fix N1 T1", "equation N2 T0 = 1*N3 T0", "disp N4 R2 = 0.5",
            "fix N5 R2" }));
    EXPECT_EQ(model.card(0).toolTipString(), u"<RestraintSet> ALL <1>\n( R ( 4 cards ) )"_qs);
}

TEST(RestraintSetCard, DrawingNodesAreTheMembersNodesMemberAfterMember)
{
    CardsTestModel model;
    model.read(u"RestraintSet , ALL , R ,\n"
               "FixNode , R , N1 , YES ,\n"
               "RestraintEquation , R , 1 , N2@TX , -1 , N3@TX , 2 , N4@TY ,\n"
               "RestraintSet , R , EMPTY ,\n"
               "ForceDisp , R , N5@RZ , 0.5 ,\n"_qs);
    const UFemCard& set = model.card(0);
    ASSERT_EQ(set.numberOfNodeForDrawing(), 5u);
    EXPECT_TRUE(set.doesDrawWhenNotAllNodeValid());
    EXPECT_FALSE(set.isRotationDisplacementValid());
    const QStringList names { "N1", "N2", "N3", "N4", "N5" };
    EXPECT_EQ(drawingNodeNames(set, 5), names);
    EXPECT_EQ(drawingNodeNames(set, 16), names);
    // A table too small: all names go into the block the card hands back.
    EXPECT_EQ(drawingNodeNames(set, 2), names);
    for (quint64 i = 0; i < 5; ++i)
        EXPECT_EQ(set.nodeCardNameForDrawingWithNodeNo(i)->cardNameString(), names[qsizetype(i)]);
    EXPECT_EQ(programErrorReason([&] { set.nodeCardNameForDrawingWithNodeNo(5); }),
        u"aNodeNo: 0 ~ ([self numberOfNodeForDrawing]-1)"_qs);

    // Any number of points, but one section point and one vector value.
    std::vector<double> values(5 * 6, 0.0);
    _UFemCardValueArraySize twoComponents { 0, 5, 1, 2 };
    UErrorPtr error;
    EXPECT_TRUE(set.drawOpenGLToDrawingBuffer(
        nullptr, values.data(), nullptr, &twoComponents, values.data(), nullptr, nullptr, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 32003);
    EXPECT_TRUE(error->localizedRecoverySuggestion().contains(
        u"Number of points: ---, Number of section points: 1, Number of vector values: 1"_qs));

    // Each member gets the values of its own nodes: the equation's three points are refused by
    // the equation, whose error passes up unchanged.
    _UFemCardValueArraySize perNode { 0, 5, 1, 1 };
    error.reset();
    EXPECT_TRUE(set.drawOpenGLToDrawingBuffer(
        nullptr, values.data(), nullptr, &perNode, values.data(), nullptr, nullptr, &error));
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->localizedRecoverySuggestion().contains(u"class:RestraintEquation"_qs));
    EXPECT_TRUE(error->localizedRecoverySuggestion().contains(u"Number of points: 3,"_qs));

    // One value for the whole set goes to every member unchanged.
    _UFemCardValueArraySize oneValue { 0, 1, 1, 1 };
    error.reset();
    EXPECT_TRUE(set.drawOpenGLToDrawingBuffer(
        nullptr, values.data(), nullptr, &oneValue, values.data(), nullptr, nullptr, &error));
    EXPECT_FALSE(error);
}

TEST(RestraintSetCard, CasesReachTheirCardsThroughNestedSets)
{
    CardsTestModel model;
    model.read(u"Node , N1 , , 0 , 0 , 0 ,\n"
               "Case , C1 , LINEAR_STATIC , RALL , FALL ,\n"
               "Case , C2 , LINEAR_STATIC , R2 , F2 ,\n"
               "RestraintSet , RALL , RMID ,\n"
               "RestraintSet , RMID , R1 ,\n"
               "FixNode , R1 , N1 , YES ,\n"
               "RestraintEquation , R1 , 1 , N1@TX , 1 , N1@TY ,\n"
               "ForceDisp , R2 , N1@TZ , 0 ,\n"
               "ForceSet , FALL , 2 , F1 ,\n"
               "Force , F1 , N1 , , 1 ,\n"
               "Force , F2 , N1 , , 1 ,\n"_qs);
    const quint64 count = model.controller.numberOfCards();
    ASSERT_EQ(count, 11u);
    for (quint64 row = 0; row < count; ++row) {
        ASSERT_EQ(model.errorText(row), QString()) << row;
        EXPECT_FALSE(model.card(row).checkErrorToRun()) << row;
    }
    UFemCard& c1 = model.card(1);
    UFemCard& c2 = model.card(2);
    // Rows 3 to 10 are the force and restraint cards; F2 and R2 belong to C2 only.
    const std::vector<bool> inC1 { true, true, true, true, false, true, true, false };
    for (quint64 row = 3; row < count; ++row) {
        const UFemCard& card = model.card(row);
        const bool expected = inC1[row - 3];
        EXPECT_EQ(card.isRelatedToCaseWithCaseCard(c1), expected) << row;
        EXPECT_EQ(card.isRelatedToCaseWithCaseCard(c2), !expected) << row;
        EXPECT_EQ(card.isRelatedToCaseWithCaseCardArray({ &c2 }), !expected) << row;
        EXPECT_TRUE(card.isRelatedToCaseWithCaseCardArray({ &c1, &c2 })) << row;
        EXPECT_FALSE(card.isRelatedToCaseWithCaseCardArray({})) << row;
    }
}

namespace {

// A force card that fails when told to, and notes the scale factors it is drawn with.
class ProbeForce : public UFemConcreteCard, public UFemForceSource {
public:
    explicit ProbeForce(UFemCardDataController* dataController)
        : UFemConcreteCard(cardClassObject(), shape, dataController)
    {
    }

    static const UFemCardClass& cardClassObject()
    {
        static const UFemCardClass cardClass(UFemMakeCardClassDescription<ProbeForce>(shape));
        return cardClass;
    }

    bool putForceMatrixToMatrixCalculator(
        UFemMatrixCalculator&, double, const UFemCardName&, UErrorPtr* error) const override
    {
        ++numberOfPuts;
        if (!failure)
            return true;
        UFemSetError(error, failure);
        return false;
    }

    bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer*, const double*, const _UGLColor*,
        const _UFemCardValueArraySize*, const double*, const UFemColorScale*,
        const UGLDrawingInfo* drawingInfo, UErrorPtr* error) const override
    {
        const auto* info = dynamic_cast<const UFemGraphicDrawingInfo*>(drawingInfo);
        drawnScaleFactors.append(info ? QStringLiteral("%1/%2")
                                            .arg(info->forceScaleFactor())
                                            .arg(info->forceMomentScaleFactor())
                                      : QStringLiteral("none"));
        if (failure)
            UFemSetError(error, failure);
        return true;
    }

    // Made once the card's name is set, so that the card reads back.
    UErrorPtr failure;
    mutable int numberOfPuts = 0;
    mutable QStringList drawnScaleFactors;

private:
    static constexpr UFemCardColumnShape columns[] = {
        { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemForceCardType },
    };
    static constexpr UFemConcreteCardClassShape shape { "ProbeForce", UFemForceCardType, 0,
        columns };
};

// Probe cards named F outside the model; they come after the model's cards, by identifier.
std::vector<std::shared_ptr<ProbeForce>> makeProbes(CardsTestModel& model, int count)
{
    std::vector<std::shared_ptr<ProbeForce>> probes;
    for (int i = 0; i < count; ++i) {
        auto card = std::make_shared<ProbeForce>(&model.controller);
        card->setCardIdentifierNumber(quint64(i + 1));
        UFemCardTextColumns columns;
        UErrorPtr error;
        EXPECT_TRUE(columns.setCardString(u"ProbeForce , F ,"_qs, &error));
        EXPECT_TRUE(card->setCardColumnsWithCardTextColumns(columns, &error));
        probes.push_back(card);
    }
    return probes;
}

} // namespace

TEST(ForceSetCard, TheFirstMemberErrorStopsThePutAndPassesUpUnchanged)
{
    CardsTestModel model;
    model.read(u"ForceSet , A , 2 , F ,\nForce , F , N1 , , 1 ,\n"_qs);
    const std::vector<std::shared_ptr<ProbeForce>> probes = makeProbes(model, 2);
    for (const auto& probe : probes)
        probe->failure = UFemCardRunError("failing force");
    const auto& set = model.cardAs<ForceSet>(0);
    ASSERT_EQ(set.memberCardArray().size(), 3u);

    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    EXPECT_FALSE(set.putForceMatrixToMatrixCalculator(calculator, 1.0, *set.cardName(), &error));
    EXPECT_EQ(calculator.calls, QStringList { "force N1 (2, 0, 0) case A" });
    EXPECT_EQ(error, probes[0]->failure);
    EXPECT_EQ(probes[0]->numberOfPuts, 1);
    EXPECT_EQ(probes[1]->numberOfPuts, 0);
    // With no error pointer the failure stops the program.
    EXPECT_THROW(set.putForceMatrixToMatrixCalculator(calculator, 1.0, *set.cardName(), nullptr),
        UException);
}

TEST(ForceSetCard, MembersDrawWithTheForceScaleTimesEveryFactorAndTheCallersInfoStays)
{
    CardsTestModel model;
    model.read(u"ForceSet , B , 3 , A ,\n"
               "ForceSet , A , 2 , F ,\n"
               "ForceSet , Z , 0 , F ,\n"_qs);
    const std::vector<std::shared_ptr<ProbeForce>> probes = makeProbes(model, 2);
    UFemGraphicDrawingInfo info;
    info.setForceScaleFactor(0.5);
    info.setForceMomentScaleFactor(7.0);
    const double positions[6] {};

    UErrorPtr error;
    EXPECT_TRUE(model.card(0).drawOpenGLToDrawingBuffer(
        nullptr, positions, nullptr, nullptr, nullptr, nullptr, &info, &error));
    EXPECT_FALSE(error);
    // Only the force scale is multiplied, by 3 x 2.
    EXPECT_EQ(probes[0]->drawnScaleFactors, QStringList { "3/7" });
    EXPECT_EQ(probes[1]->drawnScaleFactors, QStringList { "3/7" });
    EXPECT_EQ(info.forceScaleFactor(), 0.5);

    // A failing member stops the drawing; the caller's info is as it was.
    probes[0]->failure = UFemCardRunError("failing force");
    EXPECT_TRUE(model.card(0).drawOpenGLToDrawingBuffer(
        nullptr, positions, nullptr, nullptr, nullptr, nullptr, &info, &error));
    EXPECT_EQ(error, probes[0]->failure);
    EXPECT_EQ(probes[1]->drawnScaleFactors.size(), 1);
    EXPECT_EQ(info.forceScaleFactor(), 0.5);
    EXPECT_EQ(info.forceMomentScaleFactor(), 7.0);

    // A zero factor draws nothing; a drawing info without scale factors is passed on as it is.
    error.reset();
    EXPECT_TRUE(model.card(2).drawOpenGLToDrawingBuffer(
        nullptr, positions, nullptr, nullptr, nullptr, nullptr, &info, &error));
    EXPECT_EQ(probes[0]->drawnScaleFactors.size(), 2);
    probes[0]->failure.reset();
    EXPECT_TRUE(model.card(1).drawOpenGLToDrawingBuffer(
        nullptr, positions, nullptr, nullptr, nullptr, nullptr, nullptr, &error));
    EXPECT_EQ(probes[0]->drawnScaleFactors.last(), u"none"_qs);
}
