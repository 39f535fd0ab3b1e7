#include "ElementDividerTestSupport.h"

#include "tools/divider/UFemToolElementDivider.h"
#include "tools/divider/UFemToolElementDividerMemoryEstimate.h"

#include <gtest/gtest.h>

namespace {

const QString HexaModel
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\nSolidProp , Solid , Steel ,\n"
                     "Node , N1 ,  , 0 , 0 , 0 ,\nNode , N22 ,  , 12 , 0 , 0 ,\n"
                     "Node , N333 ,  , 12 , 12 , 0 ,\nNode , N4 ,  , 0 , 12 , 0 ,\n"
                     "Node , N5 ,  , 0 , 0 , 12 ,\nNode , Node6 ,  , 12 , 0 , 12 ,\n"
                     "Node , N7 ,  , 12 , 12 , 12 ,\nNode , N8 ,  , 0 , 12 , 12 ,\n"
                     "Hexa , Brick , Solid , N1 , N22 , N333 , N4 , N5 , Node6 , N7 , N8 ,\n");

// A Hexa and Quads with names of three UTF-8 bytes a character, at the nodes or at the element.
const QString WideNodeNameModel = QStringLiteral(
    "Material , Steel , 210000 , 0.3 ,\nSolidProp , 固体 , Steel ,\n"
    "Node , 節一 ,  , 0 , 0 , 0 ,\nNode , 節二 ,  , 1 , 0 , 0 ,\n"
    "Node , 節三 ,  , 1 , 1 , 0 ,\nNode , 節四 ,  , 0 , 1 , 0 ,\n"
    "Node , 節五 ,  , 0 , 0 , 1 ,\nNode , 節六 ,  , 1 , 0 , 1 ,\n"
    "Node , 節七 ,  , 1 , 1 , 1 ,\nNode , 節八 ,  , 0 , 1 , 1 ,\n"
    "Hexa , 煉瓦 , 固体 , 節一 , 節二 , 節三 , 節四 , 節五 , 節六 , 節七 , 節八 ,\n");
const QString WideElementNameModel = QString(TwoQuadModel)
                                         .replace(QStringLiteral("Q1"), QStringLiteral("床板一"))
                                         .replace(QStringLiteral("S1"), QStringLiteral("鋼板"));

// The characters of the element lines in a divider text, each with its line feed.
qsizetype elementLineCharacters(const QString& text, const QString& label)
{
    qsizetype characters = 0;
    for (const QString& line : linesStartingWith(text, label + QStringLiteral(" , ")))
        characters += line.size() + 1;
    return characters;
}

} // namespace

TEST(DividerEstimate, CountsTheElementLinesExactlyAndTheTextWithItsClipboardCopy)
{
    struct Case {
        const QString& model;
        QStringList cards;
        QString label;
        quint64 numberOfDivide;
    };
    // Nine and ten divisions differ in the digits of every name.
    const std::vector<Case> cases {
        { HexaModel, { "Brick" }, "Hexa", 3 },
        { HexaModel, { "Brick" }, "Hexa", 10 },
        { TwoQuadModel, { "Q1" }, "Quad", 9 },
        { TwoQuadModel, { "Q1", "Q2", "R1" }, "Quad", 12 },
        { WideNodeNameModel, { "煉瓦" }, "Hexa", 5 },
        { WideElementNameModel, { "床板一" }, "Quad", 20 },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.numberOfDivide);
        DividerModel model(test.model);
        const UFemCardVector cards = model.cards(test.cards);
        const auto estimate
            = UFemToolElementDividerMemoryEstimate::forDivision(cards, test.numberOfDivide);
        UErrorPtr error;
        bool warning = true;
        const std::optional<QString> text = UFemToolElementDivider::modelTextToAddByDividingElement(
            cards, test.numberOfDivide, 0, nullptr, &warning, &error);
        ASSERT_TRUE(text);
        EXPECT_EQ(
            qsizetype(estimate.dividedElementCharacters), elementLineCharacters(*text, test.label));
        // The text in UTF-16 beside its UTF-8 copy on the clipboard.
        EXPECT_GE(estimate.peakBytes, quint64(2 * text->size() + text->toUtf8().size()));
    }
}

TEST(DividerEstimate, ADivisionPastTheAvailableMemoryIsRefusedBeforeAnyWork)
{
    DividerModel model(HexaModel);
    UErrorPtr error;
    bool warning = false;
    // 10^9 elements: were any of them made, the test would not end.
    const std::optional<QString> text
        = UFemToolElementDivider::modelTextToAddByDividingElement(model.cards({ "Brick" }),
            UFemToolElementDivider::maximumNumberOfDivide, 0, nullptr, &warning, &error);
    EXPECT_FALSE(text);
    EXPECT_TRUE(warning);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81001);
    EXPECT_TRUE(error->localizedDescription().startsWith(
        "Memory allocation failed. Dividing the elements needs "));
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        "Set a smaller 'Number of dividing', or divide fewer elements at once.");
}
