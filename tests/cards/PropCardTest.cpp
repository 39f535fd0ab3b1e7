#include "CardsTestModel.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cards/properties/RodProp.h"
#include "cards/properties/ShellProp.h"
#include "cards/properties/SolidProp.h"

using namespace cardstest;

namespace {

const QString propertyModel = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                             "RodProp , RP , Steel , -2.5 ,\n"
                                             "ShellProp , SH , Steel , 0.125 ,\n"
                                             "SolidProp , SO , Steel ,\n");

} // namespace

TEST(PropCard, PassesTheMaterialOnAndGivesItsSection)
{
    CardsTestModel model;
    model.read(propertyModel);
    for (quint64 row = 1; row <= 3; ++row) {
        const auto* source = dynamic_cast<const UFemMaterialPropertySource*>(&model.card(row));
        ASSERT_NE(source, nullptr);
        _UFemMaterialProperty property;
        UErrorPtr error;
        ASSERT_TRUE(source->getMaterialProperty(&property, &error));
        EXPECT_EQ(property.youngsModulus, 210000.0);
        EXPECT_EQ(property.poissonsRatio, 0.3);
        EXPECT_EQ(property.shearModulus, 0.5 * 210000.0 / 1.3);
        // A negative area registers and runs: the element decides.
        EXPECT_FALSE(model.card(row).checkErrorToRun());
    }
    EXPECT_EQ(model.cardAs<RodProp>(1).sectionArea(nullptr), -2.5);
    EXPECT_EQ(model.cardAs<ShellProp>(2).thickness(nullptr), 0.125);
    EXPECT_EQ(dynamic_cast<const UFemSectionAreaSource*>(&model.card(2)), nullptr);
    EXPECT_EQ(dynamic_cast<const UFemThicknessSource*>(&model.card(3)), nullptr);
}

TEST(PropCard, ValueTypesAndTheirMinorTypes)
{
    CardsTestModel model;
    model.read(propertyModel);
    const UFemCard& rod = model.card(1);
    const UFemCard& shell = model.card(2);
    const UFemCard& solid = model.card(3);
    EXPECT_TRUE(rod.respondsToCardValueType(valueType("SectionArea")));
    EXPECT_TRUE(rod.respondsToCardValueType(valueType("SectionArea", "node")));
    EXPECT_TRUE(rod.respondsToCardValueType(valueType("YoungsModulus", "node")));
    EXPECT_FALSE(rod.respondsToCardValueType(valueType("SectionArea", "shellFace")));
    EXPECT_FALSE(rod.respondsToCardValueType(valueType("Thickness")));
    EXPECT_TRUE(shell.respondsToCardValueType(valueType("Thickness")));
    EXPECT_FALSE(shell.respondsToCardValueType(valueType("Thickness", "node")));
    EXPECT_FALSE(shell.respondsToCardValueType(valueType("SectionArea")));
    EXPECT_TRUE(solid.respondsToCardValueType(valueType("PoissonsRatio")));
    EXPECT_FALSE(solid.respondsToCardValueType(valueType("Thickness")));
    EXPECT_FALSE(solid.respondsToCardValueType(valueType("ClipboardCardValue")));

    double value = 0;
    UErrorPtr error;
    ASSERT_TRUE(rod.getCardValue(&value, valueType("SectionArea", "node"), nullptr, &error));
    EXPECT_EQ(value, -2.5);
    ASSERT_TRUE(shell.getCardValue(&value, valueType("Thickness"), nullptr, &error));
    EXPECT_EQ(value, 0.125);
    ASSERT_TRUE(solid.getCardValue(&value, valueType("PoissonsRatio"), nullptr, &error));
    EXPECT_EQ(value, 0.3);

    _UFemCardValueArraySize size { 3, 0, 0, 0 };
    EXPECT_TRUE(shell.getCardValueArraySize(&size, valueType("YoungsModulus")));
    EXPECT_EQ(size.leadingCount, 3);
    EXPECT_EQ(size.numberOfVectorValues, 1);
    EXPECT_FALSE(shell.getCardValueArraySize(&size, valueType("Thickness", "node")));
    EXPECT_EQ(size.leadingCount, 0);
}

TEST(PropCard, UndefinedMaterialFailsTheRunCheckAndTheValues)
{
    CardsTestModel model;
    model.read(u"ShellProp , SH , Steel , 0.1 ,\n"_qs);
    const UFemCard& shell = model.card(0);
    EXPECT_EQ(errorDescription(shell.checkErrorToRun()),
        u"( Error to Run ) Card 'Steel' is not registered yet."_qs);

    double value = -1;
    UErrorPtr error;
    EXPECT_FALSE(shell.getCardValue(&value, valueType("YoungsModulus"), nullptr, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 42014);
    EXPECT_TRUE(error->localizedDescription().contains(u"'Steel'"_qs));
    // Its own section value needs no material.
    ASSERT_TRUE(shell.getCardValue(&value, valueType("Thickness"), nullptr, &error));
    EXPECT_EQ(value, 0.1);

    // Without an error pointer the failure stops the program.
    _UFemMaterialProperty property;
    EXPECT_NE(programErrorReason(
                  [&] { model.cardAs<ShellProp>(0).getMaterialProperty(&property, nullptr); }),
        u"(no program error)"_qs);
}

TEST(PropCard, EveryColumnIsRequired)
{
    CardsTestModel model;
    EXPECT_EQ(errorDescription(
                  model.registerLine(ShellProp::cardClassObject(), u"ShellProp , SH , , ,"_qs)),
        u"( Error on Register ) Columns 'Material' (column 3), 'Thickness' (column 4) are empty."_qs);
    EXPECT_EQ(errorDescription(
                  model.registerLine(RodProp::cardClassObject(), u"RodProp , RP , , 1 ,"_qs)),
        u"( Error on Register ) Column 'Material' (column 3) is empty."_qs);
    EXPECT_FALSE(
        model.registerLine(SolidProp::cardClassObject(), u"SolidProp , SO , Anything ,"_qs));
}
