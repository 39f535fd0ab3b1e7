#include "CardModelExpectations.h"
#include "FakeCardClasses.h"
#include "FakeDataController.h"

#include "cardmodel/expression/UFemCardValueExprList.h"
#include "cardmodel/expression/UFemCardValueExpression.h"
#include "foundation/UFemFolderItemKeys.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

const QString listError = QStringLiteral("Card Value List Syntax Error - ");

class CardValueExprListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        installFakeCardClassesIntoSharedRegistry();
        node = model.addCard(fakeCardClass("Node"), QStringLiteral("Node , N1 ,  , 1 , 2 , 3 ,"));
        rod = model.addCard(fakeCardClass("Rod"), QStringLiteral("Rod , R1 , P1 , N1 , N2 ,"));
        ASSERT_TRUE(node && rod);
    }

    // The expression texts the list gives the card.
    QStringList expressionsFor(const UFemCardValueExprList& list, UFemCard& card)
    {
        QStringList texts;
        for (const auto& expression : list.cardValueExpressionArrayWithCard(card))
            texts.append(expression->cardValueExpressionString().value_or(QString()));
        return texts;
    }

    UErrorPtr failure(const QString& text)
    {
        UFemCardValueExprList list;
        UErrorPtr error;
        EXPECT_FALSE(list.setCardValueExprListString(text, &error)) << text.toStdString();
        EXPECT_FALSE(list.isValid());
        EXPECT_TRUE(error) << text.toStdString();
        return error;
    }

    FakeDataController model;
    std::shared_ptr<UFemCard> node;
    std::shared_ptr<UFemCard> rod;
};

} // namespace

TEST_F(CardValueExprListFixture, ComponentsPairFiltersWithExpressions)
{
    UFemCardValueExprList list;
    UErrorPtr error;
    ASSERT_TRUE(list.setCardValueExprListString(
        QStringLiteral("Volume , Thickness;\n#( type:Node ) : Displacement, \t-Location "
                       ";#(type:Elem):VonMisesStress;"
                       "#( type:Node ):Volume;"),
        &error));
    EXPECT_TRUE(list.isValid());
    ASSERT_EQ(list.cardValueExprListComponentArray().size(), 4u);
    EXPECT_FALSE(list.cardValueExprListComponentArray()[0]->cardFilter());
    EXPECT_EQ(expressionsFor(list, *node),
        (QStringList { "Volume", "Thickness", "Displacement", "-Location", "Volume" }));
    EXPECT_EQ(
        expressionsFor(list, *rod), (QStringList { "Volume", "Thickness", "VonMisesStress" }));

    ASSERT_TRUE(
        list.setCardValueExprListString(QStringLiteral("#( type:Node ) : Displacement;"), &error));
    EXPECT_EQ(expressionsFor(list, *node), QStringList { "Displacement" });
    EXPECT_TRUE(expressionsFor(list, *rod).isEmpty());
    // Spaces belong to an expression; brackets after its first character are taken whole.
    ASSERT_TRUE(list.setCardValueExprListString(
        QStringLiteral("Volume * (Thickness + Volume) ,YoungsModulus;"), &error));
    EXPECT_EQ(expressionsFor(list, *rod),
        (QStringList { "Volume * (Thickness + Volume)", "YoungsModulus" }));
}

TEST_F(CardValueExprListFixture, EmptyTextsAndComponentsWithoutExpressions)
{
    UFemCardValueExprList list;
    for (const char* text : { "", "  \n\t ", " ; ;", "#( type:Node ) : , ;" }) {
        UErrorPtr error;
        EXPECT_FALSE(list.setCardValueExprListString(QString::fromUtf8(text), &error)) << text;
        EXPECT_FALSE(error) << text;
        EXPECT_FALSE(list.isValid());
        EXPECT_TRUE(list.cardValueExprListComponentArray().empty());
    }
    UErrorPtr error;
    ASSERT_TRUE(
        list.setCardValueExprListString(QStringLiteral("#(type:Node): ,,; Volume;"), &error));
    EXPECT_EQ(list.cardValueExprListComponentArray().size(), 1u);
    EXPECT_EQ(expressionsFor(list, *node), QStringList { "Volume" });

    // A failed parse keeps the text and leaves no component.
    EXPECT_FALSE(list.setCardValueExprListString(QStringLiteral("Volume"), &error));
    EXPECT_EQ(list.cardValueExprListString(), "Volume");
    EXPECT_TRUE(list.cardValueExprListComponentArray().empty());
    EXPECT_TRUE(expressionsFor(list, *node).isEmpty());
    expectProgramError(
        [&] {
            static_cast<void>(list.setCardValueExprListString(QStringLiteral("Volume"), nullptr));
        },
        QStringLiteral("Error Responder Error"));
}

TEST_F(CardValueExprListFixture, EverySyntaxErrorText)
{
    const QString form
        = QStringLiteral("Card Value Expression List with Card Filter is like "
                         "'#(<CardFilter>):<CardValueExpression-1>,<CardValueExpression-2>;'.");
    struct Case {
        const char* text;
        QString description;
        QString recoverySuggestion;
    };
    const std::vector<Case> cases {
        { "Volume", "Card Value Expression List ends without character ';'.",
            "Character ';' required on the end of Card Value Expression List." },
        { "Volume, Thickness", "Card Value Expression List ends without character ';'.",
            "Character ';' required on the end of Card Value Expression List." },
        { "#( type:Node ) : Displacement", "Card Value Expression List ends without character ';'.",
            "Character ';' required on the end of Card Value Expression List." },
        { "#( type:Node ) : Displacement\n#( type:Elem ) : VonMisesStress;",
            "Character '#' exist while reading Card Value Expression.",
            "Check if character ';' is not forgotten." },
        { "Volume #", "Character '#' exist while reading Card Value Expression.",
            "Check if character ';' is not forgotten." },
        { "Volume;  # ", "Card Value Expression List ends with character '#'.", form },
        { "# type:Node", "No '(' after '#'.",
            "Card Filter should be in parenthesis '(...)' after '#'. ( " + form + " )" },
        { "#( ) : Volume;", "No Card Filter String in '#(...)'", form },
        { "#( type:Node )  ",
            "Card Value Expression List ends with '#(...)'. Character ':' and Card Value "
            "Expressions don't exist after '#(...)'.",
            form },
        { "#( type:Node ) Volume;", "Unexpected character 'V' exist after '#(...)'.",
            "Character ':' and Card Value Expressions should exist after '#(...)'. ( " + form
                + " )" },
        { "Volume\n Thickness;",
            "Unexpected character 'T' exist after the end of Card Value Expression.",
            "Card Value Expressions are separated by ',' and end with ';'. Check if character ',' "
            "or ';' is not "
            "forgotten." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const UErrorPtr error = failure(QString::fromUtf8(c.text));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 42012);
        EXPECT_EQ(error->localizedDescription(), listError + c.description);
        EXPECT_EQ(error->localizedRecoverySuggestion(), c.recoverySuggestion);
    }
}

TEST_F(CardValueExprListFixture, ErrorsOfFiltersExpressionsAndBracketsPassThrough)
{
    // The expression reads the whole bracket, so "," and ";" inside it do not split.
    UErrorPtr error = failure(QStringLiteral("Volume * (Volume , Thickness);"));
    EXPECT_EQ(error->code(), 42001);
    EXPECT_TRUE(error->localizedDescription().endsWith("Unexpected character ',' exist."));
    error = failure(QStringLiteral("Displacement.max(1;2);"));
    EXPECT_EQ(error->localizedDescription(),
        "Card Value Expression Syntax Error - Card Value Function is not supported, yet.");
    error = failure(QStringLiteral("Displacement Location;"));
    EXPECT_EQ(error->code(), 42001);
    EXPECT_TRUE(error->localizedDescription().endsWith("Unexpected character 'L' exist."));
    error = failure(QStringLiteral("#( type:Nodes ) : Volume;"));
    EXPECT_NE(error->code(), 42012);
    EXPECT_TRUE(error->localizedDescription().contains("Unknown Card Type 'Nodes'."))
        << error->localizedDescription().toStdString();
    error = failure(QStringLiteral("#( type:Node : Volume;"));
    EXPECT_TRUE(error->localizedDescription().startsWith("Parenthesis doesn't close correctly."));
    error = failure(QStringLiteral("Volume * (Thickness;"));
    EXPECT_TRUE(error->localizedDescription().startsWith("Parenthesis doesn't close correctly."));
}

TEST_F(CardValueExprListFixture, DefaultPresetsParse)
{
    const QVariantList table
        = UFemCardValueExprList::defaultResultTableViewCardValueExprListStringFolderArray();
    const QVariantList color
        = UFemCardValueExprList::defaultGraphicViewColorByValueCardValueExprListStringFolderArray();
    ASSERT_EQ(table.size(), 3);
    ASSERT_EQ(color.size(), 1);
    const QStringList names { "Displacement", "VonMisesStress", "Displacement & VonMisesStress" };
    const QList<int> hints { 2100, 2200, 2300 };
    const std::vector<std::pair<QStringList, QStringList>> expected {
        { { "Displacement" }, {} },
        { {}, { "VonMisesStress" } },
        { { "Displacement" }, { "VonMisesStress" } },
    };
    for (qsizetype i = 0; i < table.size(); ++i) {
        const QVariantMap item = table[i].toMap();
        EXPECT_EQ(item.value(UFemFolderItemNameStringPreferencesKey).toString(), names[i]);
        EXPECT_EQ(item.value(UFemFolderItemOrderHintNumberPreferencesKey).toInt(), hints[i]);
        UFemCardValueExprList list;
        UErrorPtr error;
        ASSERT_TRUE(list.setCardValueExprListString(
            item.value(UFemFolderItemObjectPreferencesKey).toString(), &error))
            << names[i].toStdString();
        EXPECT_EQ(expressionsFor(list, *node), expected[i].first);
        EXPECT_EQ(expressionsFor(list, *rod), expected[i].second);
    }
    const QVariantMap item = color[0].toMap();
    EXPECT_EQ(item.value(UFemFolderItemNameStringPreferencesKey).toString(), "VonMisesStress");
    EXPECT_EQ(item.value(UFemFolderItemOrderHintNumberPreferencesKey).toInt(), 2100);
    UFemCardValueExprList list;
    UErrorPtr error;
    EXPECT_TRUE(list.setCardValueExprListString(
        item.value(UFemFolderItemObjectPreferencesKey).toString(), &error));
}
