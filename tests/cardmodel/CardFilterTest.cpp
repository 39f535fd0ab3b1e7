#include "CardModelExpectations.h"
#include "DataControllerStandIns.h"
#include "FakeCardClasses.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/UFemFolderItemKeys.h"
#include "foundation/errors/UErrorRangeHighlightedString.h"
#include "foundation/strings/UUnicharString.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

// One card of each kind the filter tells apart: a Null line, an unknown label and a Node line
// with a TAB between words become cards of their own kinds.
const QString filterModelText
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                     "RodProp , RP , Steel , 0.5 ,\n"
                     "Node , N1 ,  , 0 , 0 , 0 ,\n"
                     "Node , N2 ,  , 1.5 , 0 , 0 ,    \\ right end\n"
                     "Rod , R1 , RP , N1 , N2 ,\n"
                     "FixNode , F1 , N1 , YES , YES , YES , NO , NO , NO ,\n"
                     "RestraintSet , RS1 , F1 ,\n"
                     "Force , L1 , N2 , 0 , -10 , 0 , 0 , 0 , 0 , NO ,\n"
                     "ForceSet , FS1 , L1 ,  ,\n"
                     "Case , Dead , RS1 , FS1 , 1 , N1 L1 ,\n"
                     "Case , Live , RS1 , FS1 , 2 , N2 ,\n"
                     "\n"
                     "Bogus , X1 ,\n"
                     "Node , N\t3 ,  , 0 , 0 , 0 ,\n");

class CardFilterFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        installFakeCardClassesIntoSharedRegistry();
        UErrorPtr error;
        ASSERT_TRUE(controller.resetWithModelText(filterModelText, true, &error));
        ASSERT_EQ(controller.cardCount(), 14u);
    }
    // The cards a filter accepts, each by its name; "-" for the Null card, "!" and the row for
    // error cards.
    QString accepted(const UFemCardFilter& filter)
    {
        QStringList names;
        for (quint64 row = 0; row < controller.cardCount(); ++row) {
            UFemCard& card = *controller.cardAtCardRowIndex(row);
            if (!filter.isCardValid(card))
                continue;
            if (card.isNullCard())
                names.append(QStringLiteral("-"));
            else if (card.isErrorCard())
                names.append(QStringLiteral("!%1").arg(row));
            else
                names.append(card.cardNameString().value_or(QString()));
        }
        return names.join(u' ');
    }
    QString accepted(const QString& text)
    {
        UFemCardFilter filter;
        UErrorPtr error;
        const bool isParsed = filter.setCardFilterString(text, &error);
        EXPECT_TRUE(isParsed) << text.toStdString();
        EXPECT_FALSE(error) << text.toStdString() << ": "
                            << (error ? error->localizedDescription().toStdString()
                                      : std::string());
        return accepted(filter);
    }

    UNotificationCenter center;
    UFemDataController controller;
};

const QString everyCard = QStringLiteral("Steel RP N1 N2 R1 F1 RS1 L1 FS1 Dead Live - !12 !13");

TEST_F(CardFilterFixture, EveryFunctionSelectsItsCards)
{
    struct Case {
        QString text;
        QString accepted;
    };
    const std::vector<Case> cases {
        { "type:Node", "N1 N2" },
        { "type:NodeCardType", "N1 N2" },
        { "!type:Node", "Steel RP R1 F1 RS1 L1 FS1 Dead Live - !12 !13" },
        { "type:Elem", "R1" },
        { "type:Element", "R1" },
        { "type:ElemProp", "RP" },
        { "type:Null", "-" },
        { "type:Error", "!12 !13" },
        { "type:Restraint", "F1 RS1" },
        { "class:Rod", "R1" },
        { "class:FixNode", "F1" },
        { "hasError", "!12 !13" },
        { "contain:N1", "N1 R1 F1 Dead" },
        { "contain:\"right end\"", "N2" },
        { "contain:\"Steel ,\"", "Steel RP" },
        { "contain:\"\"", "" },
        { "contain:(N1)", "" },
        { "contain:Bogus", "!12" },
        { "column:1 contain:Node", "N1 N2 F1" },
        { "column:2 contain:N", "N1 N2" },
        { "column:4 contain:N", "R1" },
        { "column:40 contain:N", "" },
        { "column:0 contain:N", "" },
        { "case:Dead", "N1 L1" },
        { "case:Live", "N2" },
        { "case:Nope", "" },
        { "case:N1", "" },
        { "caseArray:{ Live, Dead }", "N1 N2 L1" },
        { "caseArray:{Nope,Live}", "N2" },
        { "caseArray:{ Live, , Dead }", "N2" },
        { "caseArray:{ Nope }", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(accepted(c.text), c.accepted) << c.text.toStdString();
}

TEST_F(CardFilterFixture, OperatorsHaveEqualPriorityAndBracketsNest)
{
    EXPECT_EQ(accepted("type:Node | type:Case"), "N1 N2 Dead Live");
    EXPECT_EQ(accepted("type:Node & contain:N1"), "N1");
    EXPECT_EQ(accepted("type:Node&contain:N2&contain:right"), "N2");
    // Mixing needs brackets, and the brackets decide the grouping.
    EXPECT_EQ(accepted("(type:Node | type:Case) & contain:N1"), "N1 Dead");
    EXPECT_EQ(accepted("type:Node | (type:Case & contain:N1)"), "N1 N2 Dead");
    EXPECT_EQ(accepted("((type:Node & contain:N2) | (type:Case & (contain:Live | contain:Dead)))"),
        "N2 Dead Live");
    EXPECT_EQ(accepted("((((type:Node))))"), "N1 N2");
    EXPECT_EQ(
        accepted("!(type:Node | type:Case | type:Error | type:Null)"), "Steel RP R1 F1 RS1 L1 FS1");
    EXPECT_EQ(accepted("!(!type:Node)"), "N1 N2");
    EXPECT_EQ(accepted("! (type:Node) & !(hasError)"), "Steel RP R1 F1 RS1 L1 FS1 Dead Live -");
    EXPECT_EQ(accepted(" \t type:Node \t"), "N1 N2");
}

TEST_F(CardFilterFixture, ParsesIntoItsTreeOfNodes)
{
    UFemCardFilter filter;
    ASSERT_TRUE(
        filter.setCardFilterString(QStringLiteral("!(type:Node | class:Rod) & hasError"), nullptr));
    EXPECT_EQ(filter.cardFilterType(), UFemCardFilterANDType);
    EXPECT_FALSE(filter.isNegation());
    ASSERT_EQ(filter.childCardFilterArray().size(), 2u);
    const UFemCardFilter& group = *filter.childCardFilterArray()[0];
    EXPECT_EQ(group.cardFilterType(), UFemCardFilterORType);
    EXPECT_TRUE(group.isNegation());
    ASSERT_EQ(group.childCardFilterArray().size(), 2u);
    EXPECT_EQ(group.childCardFilterArray()[0]->cardFilterType(), UFemCardFilterTypeType);
    EXPECT_EQ(group.childCardFilterArray()[0]->argumentIntegerValue1(), quint64(UFemNodeCardType));
    EXPECT_EQ(group.childCardFilterArray()[1]->argumentCardClass(), &fakeCardClass("Rod"));
    EXPECT_EQ(filter.childCardFilterArray()[1]->cardFilterType(), UFemCardFilterHasErrorType);

    ASSERT_TRUE(
        filter.setCardFilterString(QStringLiteral("(( column:3 contain:\"a b\" ))"), nullptr));
    EXPECT_EQ(filter.cardFilterType(), UFemCardFilterColumnContainType);
    EXPECT_TRUE(filter.childCardFilterArray().empty());
    EXPECT_EQ(filter.argumentIntegerValue1(), 2u);
    EXPECT_EQ(filter.argumentString(), "a b");
    EXPECT_EQ(filter.cardFilterString(), "(( column:3 contain:\"a b\" ))");

    ASSERT_TRUE(filter.setCardFilterString(QStringLiteral("caseArray:{ c1 ,c2,  c3 }"), nullptr));
    EXPECT_EQ(filter.argumentStringArray(), QStringList({ "c1", "c2", "c3" }));
}

TEST_F(CardFilterFixture, BlankTextFailedParseAndCopy)
{
    UFemCardFilter filter;
    UErrorPtr error;
    EXPECT_FALSE(filter.setCardFilterString(QStringLiteral(" \t  "), &error));
    EXPECT_FALSE(error);
    EXPECT_FALSE(filter.isCardFilterValid());
    EXPECT_EQ(filter.cardFilterString(), "");
    EXPECT_EQ(accepted(filter), everyCard);

    EXPECT_FALSE(filter.setCardFilterString(QStringLiteral(" type:Node &"), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(filter.cardFilterError(), error);
    EXPECT_EQ(filter.cardFilterString(), "type:Node &");
    EXPECT_FALSE(filter.isCardFilterValid());
    EXPECT_EQ(accepted(filter), everyCard);
    expectProgramError(
        [&] { static_cast<void>(filter.setCardFilterString(QStringLiteral("type:"), nullptr)); },
        QStringLiteral("Error Responder Error"));

    ASSERT_TRUE(filter.setCardFilterString(QStringLiteral("type:Case | contain:L1"), nullptr));
    const UFemCardFilter copy(filter);
    filter.clearCardFilter();
    EXPECT_EQ(accepted(filter), everyCard);
    EXPECT_EQ(copy.cardFilterString(), "type:Case | contain:L1");
    EXPECT_EQ(accepted(copy), "L1 FS1 Dead Live");
    const UFemCardFilter emptyCopy(filter);
    EXPECT_FALSE(emptyCopy.isCardFilterValid());
}

TEST_F(CardFilterFixture, ColumnFilterOnErrorCardOfBadLineAnswersNo)
{
    auto* badLine = dynamic_cast<ErrorCard*>(controller.cardAtCardRowIndex(13).get());
    ASSERT_NE(badLine, nullptr);
    EXPECT_EQ(badLine->numberOfColumns(), 0u);
    UFemCardFilter filter;
    for (const char* text :
        { "column:1 contain:Node", "column:2 contain:N", "!column:2 contain:xyz" }) {
        ASSERT_TRUE(filter.setCardFilterString(QString::fromUtf8(text), nullptr));
        EXPECT_EQ(filter.isCardValid(*badLine), text[0] == '!') << text;
    }
}

TEST(CardFilterPresets, DefaultFolderArrayParses)
{
    const QVariantList presets = UFemCardFilter::defaultCardFilterStringFolderArray();
    ASSERT_EQ(presets.size(), 2);
    const QVariantMap node = presets[0].toMap();
    const QVariantMap element = presets[1].toMap();
    EXPECT_EQ(node.value(UFemFolderItemNameStringPreferencesKey).toString(), "Node");
    EXPECT_EQ(node.value(UFemFolderItemOrderHintNumberPreferencesKey).toInt(), 1100);
    EXPECT_EQ(node.value(UFemFolderItemObjectPreferencesKey).toString(), "type:Node");
    EXPECT_EQ(element.value(UFemFolderItemNameStringPreferencesKey).toString(), "Element");
    EXPECT_EQ(element.value(UFemFolderItemOrderHintNumberPreferencesKey).toInt(), 1200);
    EXPECT_EQ(element.value(UFemFolderItemObjectPreferencesKey).toString(), "type:Elem");
    for (const QVariant& preset : presets) {
        UFemCardFilter filter;
        UErrorPtr error;
        EXPECT_TRUE(filter.setCardFilterString(
            preset.toMap().value(UFemFolderItemObjectPreferencesKey).toString(), &error));
        EXPECT_EQ(filter.cardFilterType(), UFemCardFilterTypeType);
    }
}

} // namespace
