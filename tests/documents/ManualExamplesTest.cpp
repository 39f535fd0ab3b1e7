// Every example of the users' manual read by the program's own readers: model text, card filters,
// card value expression lists and the value expressions it names in the text.
#include "DocumentTestSupport.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/expression/UFemCardValueExprList.h"
#include "cardmodel/expression/UFemCardValueExpression.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "cards/UFemCardClasses.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const QString Indent = QStringLiteral("    ");

struct ManualExamples {
    // The lines of each indented block, without the indent.
    std::vector<QStringList> blocks;
    // The `code` spans of the running text.
    QStringList spans;
};

ManualExamples examplesOf(const QString& markdown)
{
    ManualExamples examples;
    bool inBlock = false;
    bool previousBlank = true;
    static const QRegularExpression span(QStringLiteral("`([^`]+)`"));
    for (const QString& line : markdown.split(u'\n')) {
        if (line.startsWith(Indent) && (inBlock || previousBlank)) {
            if (!inBlock)
                examples.blocks.emplace_back();
            examples.blocks.back().append(line.mid(Indent.size()));
            inBlock = true;
        } else {
            inBlock = false;
            for (const QRegularExpressionMatch& match : span.globalMatch(line))
                examples.spans.append(match.captured(1));
        }
        previousBlank = line.trimmed().isEmpty();
    }
    return examples;
}

// The example models of the repository, read into models of their own.
std::vector<std::unique_ptr<UFemDataController>> exampleModels()
{
    std::vector<std::unique_ptr<UFemDataController>> models;
    const QDir folder(QStringLiteral(VANTREL_EXAMPLES_DIR));
    for (const QString& name : folder.entryList({ QStringLiteral("*.vtmodel") }, QDir::Files)) {
        auto model = std::make_unique<UFemDataController>();
        UErrorPtr error;
        EXPECT_TRUE(model->resetWithModelText(
            QString::fromUtf8(fileBytes(folder.filePath(name))), true, &error))
            << name.toStdString();
        models.push_back(std::move(model));
    }
    return models;
}

// Whether `expression` gives values for at least one card of the examples that `list` (when given)
// hands it to.
bool givesValuesOnAnExample(const UFemCardValueExpression& expression,
    const std::vector<std::unique_ptr<UFemDataController>>& models,
    const UFemCardValueExprList* list)
{
    for (const auto& model : models) {
        for (const UFemCardPtr& card : model->cardArray().toVector()) {
            if (list != nullptr) {
                const auto offered = list->cardValueExpressionArrayWithCard(*card);
                if (std::none_of(offered.begin(), offered.end(),
                        [&](const auto& each) { return each.get() == &expression; }))
                    continue;
            }
            _UFemCardValueArraySize size;
            UErrorPtr error;
            if (expression.getCardValueArraySize(&size, card.get(), &error)
                && size.numberOfVectorValues > 0)
                return true;
        }
    }
    return false;
}

bool isModelText(const QStringList& block)
{
    static const QRegularExpression cardLine(QStringLiteral("^[A-Za-z]+ , "));
    return cardLine.match(block.front()).hasMatch();
}

bool isCommand(const QStringList& block)
{
    return block.front().startsWith(QStringLiteral("scripts/"))
        || block.front().startsWith(QStringLiteral("build/"));
}

bool isExpressionSpan(const QString& span)
{
    static const QRegularExpression leadingName(QStringLiteral("^[A-Za-z]+"));
    const QString name = leadingName.match(span).captured();
    return !name.isEmpty()
        && UFemCardClassManager::sharedCardClassManager()
               .majorCardValueTypeWithMajorCardValueTypeString(name)
        != 0;
}

bool isFilterSpan(const QString& span)
{
    static const QRegularExpression function(
        QStringLiteral("^!?\\(?(type|class|case|caseArray|contain):|^hasError$"));
    return function.match(span).hasMatch();
}

class ManualExamplesTest : public testing::Test {
protected:
    void SetUp() override
    {
        UFemInstallCardClasses();
        examples = examplesOf(QString::fromUtf8(fileBytes(QStringLiteral(VANTREL_MANUAL_SOURCE))));
        models = exampleModels();
    }

    ManualExamples examples;
    std::vector<std::unique_ptr<UFemDataController>> models;
};

} // namespace

TEST_F(ManualExamplesTest, ModelTextAndFiltersOfTheBlocksRead)
{
    int modelTexts = 0;
    int filters = 0;
    for (const QStringList& block : examples.blocks) {
        if (isCommand(block) || block.front().startsWith(u'<') || block.front().startsWith(u'#'))
            continue;
        if (isModelText(block)) {
            UFemDataController model;
            UErrorPtr error;
            EXPECT_TRUE(model.resetWithModelText(block.join(u'\n'), true, &error));
            for (const UFemCardPtr& card : model.errorCardArray().toVector())
                ADD_FAILURE() << UFemCardString(*card).toStdString() << ": "
                              << dynamic_cast<const ErrorCard&>(*card)
                                     .cardErrorDescriptionString()
                                     .value_or(QString())
                                     .toStdString();
            ++modelTexts;
            continue;
        }
        for (const QString& line : block) {
            UFemCardFilter filter;
            UErrorPtr error;
            EXPECT_TRUE(filter.setCardFilterString(line, &error))
                << line.toStdString() << ": " << error->localizedDescription().toStdString();
            ++filters;
        }
    }
    EXPECT_GE(modelTexts, 1);
    EXPECT_GE(filters, 2);
}

TEST_F(ManualExamplesTest, ExpressionListsParseAndEachExpressionGivesValuesOnAnExample)
{
    int lists = 0;
    for (const QStringList& block : examples.blocks) {
        if (!block.front().startsWith(QStringLiteral("#(")))
            continue;
        for (const QString& line : block) {
            UFemCardValueExprList list;
            UErrorPtr error;
            ASSERT_TRUE(list.setCardValueExprListString(line, &error))
                << line.toStdString() << ": " << error->localizedDescription().toStdString();
            for (const auto& component : list.cardValueExprListComponentArray())
                for (const auto& expression : component->cardValueExpressionArray())
                    EXPECT_TRUE(givesValuesOnAnExample(*expression, models, &list))
                        << expression->cardValueExpressionString().value_or(QString()).toStdString()
                        << " in " << line.toStdString();
            ++lists;
        }
    }
    EXPECT_GE(lists, 5);
}

TEST_F(ManualExamplesTest, ValueNamesAndFiltersOfTheTextRead)
{
    int expressions = 0;
    int filters = 0;
    for (const QString& span : examples.spans) {
        if (isExpressionSpan(span)) {
            UFemCardValueExpression expression;
            UErrorPtr error;
            ASSERT_TRUE(expression.setCardValueExpressionString(span, &error))
                << span.toStdString() << ": " << error->localizedDescription().toStdString();
            EXPECT_TRUE(givesValuesOnAnExample(expression, models, nullptr)) << span.toStdString();
            ++expressions;
        } else if (isFilterSpan(span)) {
            UFemCardFilter filter;
            UErrorPtr error;
            EXPECT_TRUE(filter.setCardFilterString(span, &error)) << span.toStdString();
            ++filters;
        }
    }
    EXPECT_GE(expressions, 10);
    EXPECT_GE(filters, 6);
}
