// The common pattern of the card classes: class table, columns, the common register and run
// messages, and the value-type words.
#include "CardsTestModel.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cards/Node.h"
#include "cards/loads/Case.h"
#include "cards/properties/Material.h"
#include "cards/properties/RodProp.h"
#include "cards/properties/ShellProp.h"
#include "cards/properties/SolidProp.h"

#include <QStringList>

using namespace cardstest;

namespace {

QStringList columnLabels(const UFemCardClass& cardClass)
{
    QStringList labels;
    for (quint64 i = 0; i < cardClass.numberOfColumns(); ++i)
        labels.append(cardClass.columnLabelStringAtIndex(i));
    return labels;
}

QString classRow(const UFemCardClass& cardClass)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(cardClass.cardLabelString())
        .arg(cardClass.cardType())
        .arg(cardClass.cardMenuOrderHintNo())
        .arg(cardClass.cardFormViewControllerClass());
}

} // namespace

TEST(CardPattern, ClassesDescribeThemselvesAsTheTableSays)
{
    EXPECT_EQ(
        classRow(Material::cardClassObject()), u"Material 6 100 MaterialFormViewController"_qs);
    EXPECT_EQ(classRow(RodProp::cardClassObject()), u"RodProp 5 100 RodPropFormViewController"_qs);
    EXPECT_EQ(
        classRow(ShellProp::cardClassObject()), u"ShellProp 5 120 ShellPropFormViewController"_qs);
    EXPECT_EQ(
        classRow(SolidProp::cardClassObject()), u"SolidProp 5 130 SolidPropFormViewController"_qs);

    EXPECT_EQ(columnLabels(Node::cardClassObject()),
        (QStringList { "Node", "Card Name", "Coord", "X", "Y", "Z" }));
    EXPECT_EQ(columnLabels(Case::cardClassObject()),
        (QStringList { "Case", "Card Name", "Calc Type", "Restraint", "Force" }));
    EXPECT_EQ(columnLabels(Material::cardClassObject()),
        (QStringList { "Material", "Card Name", "Youngs Modulus", "Poissons Ratio" }));
    EXPECT_EQ(columnLabels(RodProp::cardClassObject()),
        (QStringList { "RodProp", "Card Name", "Material", "Section Area" }));
    EXPECT_EQ(columnLabels(ShellProp::cardClassObject()),
        (QStringList { "ShellProp", "Card Name", "Material", "Thickness" }));
    EXPECT_EQ(columnLabels(SolidProp::cardClassObject()),
        (QStringList { "SolidProp", "Card Name", "Material" }));
    // Several cards of these types may not share a name.
    EXPECT_FALSE(Material::cardClassObject().isAllowedHaveSomeCard());
    EXPECT_FALSE(RodProp::cardClassObject().isAllowedHaveSomeCard());
}

TEST(CardPattern, RegistryOrderKeepsTheTableOrder)
{
    QStringList labels;
    for (const UFemCardClass* cardClass : UFemCardClassesInRegistryOrder())
        labels.append(cardClass->cardLabelString());
    const QStringList fullOrder { "Node", "Rod", "Quad", "Hexa", "RodProp", "ShellProp",
        "SolidProp", "Material", "ForceSet", "Force", "RestraintSet", "FixNode",
        "RestraintEquation", "ForceDisp", "Case" };
    // The classes present appear in the registry's order.
    qsizetype last = -1;
    for (const QString& label : labels) {
        const qsizetype at = fullOrder.indexOf(label);
        ASSERT_GT(at, last) << label.toStdString();
        last = at;
    }
    CardsTestModel model;
    UErrorPtr error;
    for (const QString& label : labels) {
        EXPECT_NE(UFemCardClassManager::sharedCardClassManager().kindOfCardClassWithCardLabelString(
                      label, &error),
            nullptr);
    }
}

TEST(CardPattern, ColumnsAreTypedPagedAndGuarded)
{
    CardsTestModel model;
    model.read(u"Material , Steel , 210000 , 0.3 ,\nRodProp , RP , Steel , 2.5 ,\n"_qs);
    UFemCard& rodProp = model.card(1);
    EXPECT_EQ(rodProp.cardColumnAtIndex(1)->columnType(), CARD_COLUMN_TYPE_CARD_NAME);
    EXPECT_EQ(rodProp.cardColumnAtIndex(2)->columnType(), CARD_COLUMN_TYPE_REF_CARD_NAME);
    EXPECT_EQ(rodProp.cardColumnAtIndex(3)->columnType(), CARD_COLUMN_TYPE_FLOAT_VALUE);
    EXPECT_EQ(rodProp.cardColumnAtIndex(2)->card(), &model.card(0));
    EXPECT_EQ(programErrorReason([&] { rodProp.cardColumnAtIndex(0); }), u"Out of range."_qs);
    EXPECT_EQ(programErrorReason([&] { rodProp.cardColumnAtIndex(4); }), u"Out of range."_qs);

    UFemCardColumn* table[11] {};
    quint64 next = 0;
    table[0] = rodProp.cardColumnAtIndex(1);
    EXPECT_EQ(rodProp.getCardColumnsToCardColumnTable(table, 11, &next), 4u);
    EXPECT_EQ(table[0], nullptr);
    EXPECT_EQ(table[3], rodProp.cardColumnAtIndex(3));
    EXPECT_EQ(next, 0u);
    // A smaller table is filled in batches, never past its end.
    UFemCardColumn* pair[2] {};
    EXPECT_EQ(rodProp.getCardColumnsToCardColumnTable(pair, 2, &next), 2u);
    EXPECT_EQ(next, 2u);
    EXPECT_EQ(rodProp.getCardColumnsToCardColumnTable(pair, 2, &next), 2u);
    EXPECT_EQ(pair[1], rodProp.cardColumnAtIndex(3));
    EXPECT_EQ(next, 0u);
}

TEST(CardPattern, EmptyRequiredColumnsAreListedInOneMessage)
{
    CardsTestModel model;
    const UErrorPtr one
        = model.registerLine(RodProp::cardClassObject(), u"RodProp , RP , Steel , ,"_qs);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->code(), 12015);
    EXPECT_EQ(one->localizedDescription(),
        u"( Error on Register ) Column 'Section Area' (column 4) is empty."_qs);

    const UErrorPtr two = model.registerLine(Material::cardClassObject(), u"Material , M , , ,"_qs);
    EXPECT_EQ(errorDescription(two),
        u"( Error on Register ) Columns 'Youngs Modulus' (column 3), 'Poissons Ratio' (column 4) are empty."_qs);

    // Missing trailing columns count as empty.
    EXPECT_EQ(
        errorDescription(model.registerLine(SolidProp::cardClassObject(), u"SolidProp , SP ,"_qs)),
        u"( Error on Register ) Column 'Material' (column 3) is empty."_qs);
}

TEST(CardPattern, UnregisteredNamesFailTheRunCheck)
{
    CardsTestModel model;
    model.read(u"RodProp , RP , Steel , 2.5 ,\n"_qs);
    const UErrorPtr error = model.card(0).checkErrorToRun();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 12016);
    EXPECT_EQ(
        error->localizedDescription(), u"( Error to Run ) Card 'Steel' is not registered yet."_qs);
    EXPECT_FALSE(model.card(0).checkWarningToRun());
}

TEST(CardPattern, ValueTypeWordsAreSharedByName)
{
    UFemInstallCardClasses();
    UFemCardClassManager& manager = UFemCardClassManager::sharedCardClassManager();
    const quint32 sectionArea
        = manager.majorCardValueTypeWithMajorCardValueTypeString(u"SectionArea"_qs);
    ASSERT_NE(sectionArea, 0u);
    EXPECT_EQ(UFemCardValueTypeNumberOfVectorValues({ sectionArea, 0 }), 1u);
    EXPECT_FALSE(UFemCardValueTypeIsPointRelatedFlag({ sectionArea, 0 }));
    // Registered by a class after the built-in types, so numbered after them.
    const quint32 clipboard
        = manager.majorCardValueTypeWithMajorCardValueTypeString(u"ClipboardCardValue"_qs);
    EXPECT_GT(UFemMajorCardValueTypeIdentifierNumber(sectionArea),
        UFemMajorCardValueTypeIdentifierNumber(clipboard));

    // Material and the property cards answer "YoungsModulus" under one word.
    CardsTestModel model;
    model.read(u"Material , Steel , 200 , 0.25 ,\nSolidProp , SP , Steel ,\n"_qs);
    const _UFemCardValueType youngs {
        manager.majorCardValueTypeWithMajorCardValueTypeString(u"YoungsModulus"_qs), 0
    };
    double fromMaterial = 0;
    double fromProperty = 0;
    UErrorPtr error;
    ASSERT_TRUE(model.card(0).getCardValue(&fromMaterial, youngs, nullptr, &error));
    ASSERT_TRUE(model.card(1).getCardValue(&fromProperty, youngs, nullptr, &error));
    EXPECT_EQ(fromMaterial, 200.0);
    EXPECT_EQ(fromProperty, 200.0);
}

TEST(CardPattern, CardsWithoutDrawingDrawNothingAndAreInEveryCase)
{
    CardsTestModel model;
    model.read(u"Material , Steel , 200 , 0.25 ,\n"_qs);
    UFemCard& material = model.card(0);
    EXPECT_EQ(material.numberOfNodeForDrawing(), 0u);
    EXPECT_FALSE(material.doesDrawWhenNotAllNodeValid());
    // Asked by views of every card, so it answers rather than stopping the program.
    EXPECT_FALSE(material.isRotationDisplacementValid());
    UErrorPtr error;
    EXPECT_TRUE(material.drawOpenGLToDrawingBuffer(
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &error));
    EXPECT_FALSE(error);
    EXPECT_TRUE(material.isRelatedToCaseWithCaseCard(material));
    EXPECT_FALSE(material.isRelatedToCaseWithCaseCardArray({}));
    EXPECT_TRUE(material.isRelatedToCaseWithCaseCardArray({ &material }));
}
