// A model text of the six kinds, with the lines a user gets wrong, read as the program reads it.
#include "CardsTestModel.h"

#include "cards/Node.h"
#include "cards/loads/Case.h"
#include "cards/properties/Material.h"
#include "cards/properties/RodProp.h"
#include "cards/properties/ShellProp.h"
#include "cards/properties/SolidProp.h"

using namespace cardstest;

namespace {

const QString goodModel = QStringLiteral("\\ six kinds\n"
                                         "Material , Steel , 210000 , 0.3 ,\n"
                                         "RodProp , RP , Steel , 2.5 ,\n"
                                         "ShellProp , SH , Steel , 0.125 ,    \\ plates\n"
                                         "SolidProp , SO , Steel ,\n"
                                         "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                         "Node , N2 ,  , 1.5 , -2 , 1e-05 ,\n"
                                         "\n"
                                         "Case , Dead , LINEAR_STATIC , Fix , Load ,\n");

const QString badModel = QStringLiteral("Material , Steel , 210000 , 0.5 ,\n"
                                        "Material , Alu , 70000 , 0.33 ,\n"
                                        "RodProp , RP , Alu , ,\n"
                                        "ShellProp , SH , Copper , 0.1 ,\n"
                                        "SolidProp , SO , ,\n"
                                        "Node , N1 , CS , 0 , 0 , 0 ,\n"
                                        "Node , N2 ,  , 0 , , ,\n"
                                        "Node , N3 ,  , 0 , 0 , 0 , 7 ,\n"
                                        "Case , Dead , Linear_Static , Fix , Load ,\n"
                                        "Case , Live , LINEAR_STATIC , Fix , Load ,\n"
                                        "Nodes , N4 , , 0 , 0 , 0 ,\n");

} // namespace

TEST(CardPatternModelText, SixKindsReadAndWriteBackUnchanged)
{
    CardsTestModel model;
    model.read(goodModel);
    QStringList labels;
    for (quint64 row = 0; row < model.controller.cardCount(); ++row)
        labels.append(model.card(row).isNullCard() ? u"-"_qs : model.card(row).cardLabelString());
    EXPECT_EQ(labels,
        (QStringList {
            "-", "Material", "RodProp", "ShellProp", "SolidProp", "Node", "Node", "-", "Case" }));
    EXPECT_EQ(model.controller.modelTextOfAllCards(), goodModel);
    EXPECT_EQ(
        dynamic_cast<const RodProp&>(model.card(2)).materialNameColumn().card(), &model.card(1));
    EXPECT_EQ(model.controller.nodeCardArray().count(), 2u);
    EXPECT_EQ(model.controller.caseCardArray().count(), 1u);
}

TEST(CardPatternModelText, BadLinesBecomeErrorCardsWithTheirMessages)
{
    CardsTestModel model;
    model.read(badModel);
    const QStringList expected {
        "( Error on Register ) 'Poissons Ratio' value (column 4) must be in range '0.0 ~ 0.5'. "
        "( Poissons Ratio = 0.500000 )",
        "",
        "( Error on Register ) Column 'Section Area' (column 4) is empty.",
        "",
        "( Error on Register ) Column 'Material' (column 3) is empty.",
        "( Error on Register ) Column 'Coord' (column 3) must be empty.",
        "( Error on Register ) Columns 'Y' (column 5), 'Z' (column 6) are empty.",
        "Too much columns for card class 'Node'. It should be 6 columns, but 7 columns exist.",
        "( Error on Register ) Column 'Calc Type' (Column 3) must be \"LINEAR_STATIC\".",
        "",
        "Unknown Card Class Name: 'Nodes'.",
    };
    ASSERT_EQ(model.controller.cardCount(), quint64(expected.size()));
    for (quint64 row = 0; row < model.controller.cardCount(); ++row) {
        EXPECT_EQ(model.errorText(row), expected[qsizetype(row)]) << "row " << row;
        EXPECT_EQ(model.card(row).isErrorCard(), !expected[qsizetype(row)].isEmpty())
            << "row " << row;
    }
    // The lines that read keep their text; an error line keeps its error after the mark.
    const QStringList written = model.controller.modelTextOfAllCards().split(u'\n');
    EXPECT_EQ(written[1], u"Material , Alu , 70000 , 0.33 ,"_qs);
    EXPECT_EQ(written[9], u"Case , Live , LINEAR_STATIC , Fix , Load ,"_qs);
    EXPECT_TRUE(written[5].startsWith(u"Node , N1 , CS , 0 , 0 , 0 ,"_qs));
    EXPECT_TRUE(
        written[5].endsWith(u"( Error on Register ) Column 'Coord' (column 3) must be empty."_qs));

    // What the cards that read say when a calculation is asked for.
    EXPECT_FALSE(model.card(1).checkErrorToRun());
    EXPECT_EQ(errorDescription(model.card(3).checkErrorToRun()),
        u"( Error to Run ) Card 'Copper' is not registered yet."_qs);
    EXPECT_EQ(errorDescription(model.card(9).checkErrorToRun()),
        u"( Error to Run ) Cards 'Fix', 'Load' are not registered yet."_qs);
    // The Material named by the property card that read is an error line, so its name is not there.
    double value = 0;
    UErrorPtr error;
    EXPECT_FALSE(model.card(3).getCardValue(&value, valueType("PoissonsRatio"), nullptr, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 42014);
}
