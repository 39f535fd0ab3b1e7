#include "CardModelExpectations.h"
#include "FakeCardClasses.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/errors/UErrorRangeHighlightedString.h"
#include "foundation/strings/UUnicharString.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString samePriority
    = QStringLiteral("'&'(AND) and '|'(OR) are same priority. You need to use parenthesis "
                     "'(•••)' to express which expression is high priority.");
const QString needQuotes = QStringLiteral(
    "If the argument contains special character, you might need to put it in \"•••\".");
const QString needColon = QStringLiteral("Check Card Filter Function. Card Filter Function with "
                                         "arguments contains character ':' before arguments.");

// A syntax error of the filter language: its text, the recovery suggestion (if any) and where in
// which level it points.
struct SyntaxCase {
    QString text;
    QString description;
    std::optional<QString> suggestion;
    URange errorRange;
    URange level = { 0, ~quint64(0) };
};

UErrorPtr parseError(const QString& text)
{
    UFemCardFilter filter;
    UErrorPtr error;
    EXPECT_FALSE(filter.setCardFilterString(text, &error)) << text.toStdString();
    EXPECT_FALSE(filter.isCardFilterValid());
    return error;
}

void expectSyntaxError(const SyntaxCase& c)
{
    SCOPED_TRACE(c.text.toStdString());
    const UErrorPtr error = parseError(c.text);
    ASSERT_TRUE(error);
    const URange level
        = c.level.length == ~quint64(0) ? URange { 0, quint64(c.text.size()) } : c.level;
    const QString excerpt = UMakeErrorRangeHighlightedString(
        c.text, level.location, level.length, c.errorRange.location, c.errorRange.length);
    EXPECT_EQ(error->code(), c.suggestion ? 41002 : 41003);
    EXPECT_EQ(error->localizedDescription(), "Card Filter Syntax Error - " + c.description);
    EXPECT_EQ(error->userInfo().oneLineDescription,
        "Card Filter Syntax Error - " + c.description + " - Error on: " + excerpt);
    const QString excerptLine = "Error on: " + excerpt;
    EXPECT_EQ(error->userInfo().recoverySuggestion,
        c.suggestion ? *c.suggestion + "\n" + excerptLine : excerptLine);
}

TEST(CardFilterErrors, OperatorsNegationAndGroups)
{
    const std::vector<SyntaxCase> cases {
        { "type:Node & type:Case | hasError", "'|'(OR) exists in '&'(AND) block.", samePriority,
            { 22, 1 } },
        { "type:Node | type:Case & hasError", "'&'(AND) exists in '|'(OR) block.", samePriority,
            { 22, 1 } },
        { "type:Node &", "Card Filter Expression ends with '&'(AND) or '|'(OR).", std::nullopt,
            { 10, 1 } },
        { "type:Node & hasError &", "Card Filter Expression ends with '&'(AND) or '|'(OR).",
            std::nullopt, { 21, 1 } },
        { "!", "Card Filter Expression ends with '!'(NEGATION).", std::nullopt, { 0, 1 } },
        { "type:Node & !", "Card Filter Expression ends with '!'(NEGATION).", std::nullopt,
            { 12, 1 } },
        { "! !type:Node", "'!'(NEGATION) exists just after '!'.", std::nullopt, { 2, 1 } },
        { "type:Node !hasError", "'!'(NEGATION) exists just after a Card Filter block.",
            "'!'(NEGATION) is used like '! CardFilter1'. You might need '&'(AND) or '|'(OR) before "
            "'!'.",
            { 10, 1 } },
        { "& type:Node", "'&'(AND) exists without a Card Filter block before.",
            "'&'(AND) is used like 'CardFilter1 & CardFilter2'.", { 0, 1 } },
        { "| type:Node", "'|'(OR) exists without a Card Filter block before.",
            "'|'(OR) is used like 'CardFilter1 | CardFilter2'.", { 0, 1 } },
        { "! & type:Node", "'&'(AND) exists just after '!'(NEGATION).", std::nullopt, { 2, 1 } },
        { "!| type:Node", "'|'(OR) exists just after '!'(NEGATION).", std::nullopt, { 1, 1 } },
        { "type:Node & & hasError", "'&'(AND) exists just after '&'(AND) or '|'(OR).", std::nullopt,
            { 12, 1 } },
        { "type:Node | & hasError", "'&'(AND) exists just after '&'(AND) or '|'(OR).", std::nullopt,
            { 12, 1 } },
        { "type:Node || hasError", "'|'(OR) exists just after '&'(AND) or '|'(OR).", std::nullopt,
            { 11, 1 } },
        { "type:Node & ( )", "Empty in '()'.", std::nullopt, { 12, 3 } },
        { "()", "Empty in '()'.", std::nullopt, { 0, 2 } },
        { "type:Node (hasError)", "Character '(' exists just after a Card Filter block.",
            std::nullopt, { 10, 1 } },
        // Inside a group the excerpt shows the group's inner text.
        { "hasError | (type:Node & )", "Card Filter Expression ends with '&'(AND) or '|'(OR).",
            std::nullopt, { 22, 1 }, { 12, 11 } },
        { "((type:Node | hasError & type:Case))", "'&'(AND) exists in '|'(OR) block.", samePriority,
            { 23, 1 }, { 2, 32 } },
    };
    for (const SyntaxCase& c : cases)
        expectSyntaxError(c);
}

TEST(CardFilterErrors, FunctionBlocks)
{
    const std::vector<SyntaxCase> cases {
        { "typo:Node", "Unknown Card Filter Function 'typo:'.", std::nullopt, { 0, 9 } },
        { "hasErrors", "Unknown Card Filter Function 'hasErrors'.", std::nullopt, { 0, 9 } },
        { "type:Node contain:x", "Unknown Card Filter Function 'type:contain:'.", std::nullopt,
            { 0, 19 } },
        { "hasError & contain:x column:2", "Unknown Card Filter Function 'contain:column:'.",
            std::nullopt, { 11, 18 } },
        { "type:", "No 1th argument for Card Filter Function 'type:'.", needQuotes, { 0, 5 } },
        { "contain: ,x", "No 1th argument for Card Filter Function 'contain:'.", needQuotes,
            { 0, 9 } },
        { "column:2 contain:", "No 2th argument for Card Filter Function 'column:contain:'.",
            needQuotes, { 0, 17 } },
        { "column:2 contain", "Card Filter Expression ends without ':'.", needColon, { 16, 0 } },
        { "column:2 contain x", "Character ' ' exists without ':'.", needColon, { 16, 0 } },
        { "a:1 b:2 c:3 d:4 e:5 f:6 g:7 h:8",
            "Too many Card Filter Function block. ( Card Filter Function: 'a:b:c:d:e:f:g:...' )",
            "Check if not forget '&' or '|'.", { 0, 28 } },
        // Not a token anywhere in an expression.
        { "type:Node, hasError", "Character ',' can not be used in Card Filter Expression here.",
            "Put an argument with special characters in \"•••\".", { 9, 1 } },
        { "type:Node\thasError", "Character '\t' can not be used in Card Filter Expression here.",
            "Put an argument with special characters in \"•••\".", { 9, 1 } },
        { "(hasError) type:Node", "Card Filter Function exists just after a Card Filter block.",
            "You might need '&'(AND) or '|'(OR) between Card Filter blocks.", { 11, 1 } },
    };
    for (const SyntaxCase& c : cases)
        expectSyntaxError(c);
}

TEST(CardFilterErrors, ArgumentsOfTypeAndCaseArray)
{
    UErrorPtr error = parseError(QStringLiteral("type:node"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 41003);
    EXPECT_EQ(
        error->localizedDescription(), "Card Filter Syntax Error - Unknown Card Type 'node'.");
    EXPECT_EQ(error->userInfo().recoverySuggestion, "Error on: type:node");
    for (const char* word :
        { "Generic", "UnexpectedCardType", "**UnexpectedCardType**", "NotSet" }) {
        error = parseError(QStringLiteral("type:\"%1\"").arg(QString::fromUtf8(word)));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->localizedDescription(),
            QStringLiteral("Card Filter Syntax Error - Unknown Card Type '%1'.")
                .arg(QString::fromUtf8(word)));
    }

    for (const char* argument : { "Dead", "\"\"", "(Dead)" }) {
        error = parseError(QStringLiteral("caseArray:%1").arg(QString::fromUtf8(argument)));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 41002);
        EXPECT_EQ(error->localizedDescription(),
            "Card Filter Syntax Error - Argument format error for Card Filter Function "
            "'caseArray:'.");
        const QString written
            = QString::fromUtf8(argument) == "\"\"" ? QString() : QString::fromUtf8(argument);
        EXPECT_EQ(error->userInfo().recoverySuggestion,
            "Format is like 'caseArray:{ case_01, case_02, case_03 }'.\nError on: caseArray:"
                + written);
    }
}

// Errors of the readers a function uses pass through; only the bracket reader's errors inside an
// argument are wrapped.
TEST(CardFilterErrors, ReaderErrorsPassThroughOrAreWrapped)
{
    fakecards::installFakeCardClassesIntoSharedRegistry();
    const auto readerError = [](const QString& text) {
        const UUnicharString source(text);
        quint64 index = 0;
        URange inner;
        UErrorPtr error;
        UFemReadParenthesisBlock(source, index, source.length(), inner, &error);
        return error;
    };

    UErrorPtr error = parseError(QStringLiteral("contain:\"abc"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 41001);
    const UErrorPtr unclosedQuote = readerError(QStringLiteral("\"abc"));
    ASSERT_TRUE(unclosedQuote && error->userInfo().underlyingError);
    EXPECT_EQ(error->userInfo().underlyingError->code(), unclosedQuote->code());
    EXPECT_EQ(error->localizedDescription(),
        "Card Filter Syntax Error - " + unclosedQuote->localizedDescription());

    error = parseError(QStringLiteral("(type:Node & hasError"));
    const UErrorPtr unclosedGroup = readerError(QStringLiteral("(type:Node & hasError"));
    ASSERT_TRUE(error && unclosedGroup);
    EXPECT_EQ(error->code(), unclosedGroup->code());
    EXPECT_EQ(error->localizedDescription(), unclosedGroup->localizedDescription());

    UErrorPtr expected;
    EXPECT_EQ(UFemCardClassManager::sharedCardClassManager().kindOfCardClassWithCardLabelString(
                  "Nope", &expected),
        nullptr);
    error = parseError(QStringLiteral("class:Nope"));
    ASSERT_TRUE(error && expected);
    EXPECT_EQ(error->code(), expected->code());
    EXPECT_EQ(error->localizedDescription(), expected->localizedDescription());

    URange range;
    expected = nullptr;
    UFemParseCardNameColumnString(QStringLiteral("a b"), range, &expected);
    error = parseError(QStringLiteral("case:\"a b\""));
    ASSERT_TRUE(error && expected);
    EXPECT_EQ(error->code(), expected->code());
    EXPECT_EQ(error->localizedDescription(), expected->localizedDescription());
    error = parseError(QStringLiteral("caseArray:{ Dead, a b }"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(), expected->localizedDescription());

    qint64 value = 0;
    expected = nullptr;
    EXPECT_FALSE(UFemParseIntegerColumnString(QStringLiteral("x"), range, value, &expected));
    error = parseError(QStringLiteral("column:x contain:y"));
    ASSERT_TRUE(error && expected);
    EXPECT_EQ(error->code(), expected->code());
    EXPECT_EQ(error->localizedDescription(), expected->localizedDescription());
}

} // namespace
