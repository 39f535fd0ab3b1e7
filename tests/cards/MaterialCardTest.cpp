#include "CardsTestModel.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cards/properties/Material.h"

using namespace cardstest;

namespace {

_UFemMaterialProperty propertyOf(CardsTestModel& model, const QString& line)
{
    model.read(line);
    _UFemMaterialProperty property;
    EXPECT_TRUE(model.cardAs<Material>(0).getMaterialProperty(&property, nullptr));
    return property;
}

} // namespace

TEST(MaterialCard, ShearModulusFollowsFromEAndNu)
{
    CardsTestModel model;
    _UFemMaterialProperty p = propertyOf(model, u"Material , M , 1.0 , 0.0 ,\n"_qs);
    EXPECT_EQ(p.youngsModulus, 1.0);
    EXPECT_EQ(p.poissonsRatio, 0.0);
    EXPECT_EQ(p.shearModulus, 0.5);
    p = propertyOf(model, u"Material , M , 2.0 , 0.25 ,\n"_qs);
    EXPECT_EQ(p.shearModulus, 0.8);
    p = propertyOf(model, u"Material , M , 210000 , 0.3 ,\n"_qs);
    EXPECT_NEAR(p.shearModulus, 80769.23076923077, 1e-9);
}

TEST(MaterialCard, PoissonsRatioMustLieInTheHalfOpenRange)
{
    CardsTestModel model;
    const UFemCardClass& material = Material::cardClassObject();
    EXPECT_FALSE(model.registerLine(material, u"Material , M , 1 , 0.0 ,"_qs));
    EXPECT_FALSE(model.registerLine(material, u"Material , M , 1 , 0.4999999 ,"_qs));
    // Young's modulus has no range.
    EXPECT_FALSE(model.registerLine(material, u"Material , M , -5 , 0.3 ,"_qs));
    EXPECT_FALSE(model.registerLine(material, u"Material , M , 0 , 0.3 ,"_qs));

    const UErrorPtr half = model.registerLine(material, u"Material , M , 1 , 0.5 ,"_qs);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->code(), 12015);
    EXPECT_EQ(half->localizedDescription(),
        u"( Error on Register ) 'Poissons Ratio' value (column 4) must be in range '0.0 ~ 0.5'. ( Poissons Ratio = 0.500000 )"_qs);
    EXPECT_EQ(errorDescription(model.registerLine(material, u"Material , M , 1 , -0.25 ,"_qs)),
        u"( Error on Register ) 'Poissons Ratio' value (column 4) must be in range '0.0 ~ 0.5'. ( Poissons Ratio = -0.250000 )"_qs);
}

TEST(MaterialCard, AnswersItsTwoValuesWithoutMinorType)
{
    CardsTestModel model;
    model.read(u"Material , M , 2.0 , 0.25 ,\n"_qs);
    const UFemCard& card = model.card(0);
    EXPECT_TRUE(card.respondsToCardValueType(valueType("YoungsModulus")));
    EXPECT_TRUE(card.respondsToCardValueType(valueType("PoissonsRatio")));
    EXPECT_FALSE(card.respondsToCardValueType(valueType("YoungsModulus", "node")));
    EXPECT_FALSE(card.respondsToCardValueType(valueType("Displacement")));
    // No clipboard card values either.
    EXPECT_FALSE(card.respondsToCardValueType(valueType("ClipboardCardValue")));

    _UFemCardValueArraySize size { 7, 9, 9, 9 };
    EXPECT_TRUE(card.getCardValueArraySize(&size, valueType("PoissonsRatio")));
    EXPECT_EQ(size.leadingCount, 7);
    EXPECT_EQ(size.numberOfPoints, 1);
    EXPECT_EQ(size.numberOfSectionPoints, 1);
    EXPECT_EQ(size.numberOfVectorValues, 1);
    EXPECT_FALSE(card.getCardValueArraySize(&size, valueType("Thickness")));
    EXPECT_EQ(size.leadingCount + size.numberOfPoints + size.numberOfSectionPoints
            + size.numberOfVectorValues,
        0);

    double value = 0;
    UErrorPtr error;
    ASSERT_TRUE(card.getCardValue(&value, valueType("PoissonsRatio"), nullptr, &error));
    EXPECT_EQ(value, 0.25);
    EXPECT_FALSE(card.checkErrorToRun());
    EXPECT_TRUE(card.toolTipString().startsWith(u"<Material> M <1>"_qs));
}
