#pragma once

#include "../cardmodel/DataControllerStandIns.h"
#include "CardsTestModel.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemMatrixCalculator.h"

#include <array>
#include <map>
#include <vector>

// Stand-ins the element card tests share: a matrix calculator that records the stiffness blocks
// put into it, and results that give each node number a displacement of its own.
namespace elementcardtest {

using cardstest::CardsTestModel;

struct StiffnessBlock {
    std::array<double, 9> matrix;
    QString nodeName1;
    quint64 rotation1;
    QString nodeName2;
    quint64 rotation2;
};

class RecordingMatrixCalculator : public UFemMatrixCalculator {
public:
    void addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1, quint64 rotation1,
        const UFemCardName& nodeName2, quint64 rotation2) override
    {
        StiffnessBlock block;
        std::copy(matrix, matrix + 9, block.matrix.begin());
        block.nodeName1 = nodeName1.cardNameString();
        block.rotation1 = rotation1;
        block.nodeName2 = nodeName2.cardNameString();
        block.rotation2 = rotation2;
        blocks.push_back(block);
    }
    void addForceMatrix(const double*, const UFemCardName&, quint64, const UFemCardName&) override
    {
        ++otherCalls;
    }
    void addFixDisplacementRestraintWithNodeName(const UFemCardName&, quint64, quint64) override
    {
        ++otherCalls;
    }
    void addForceDisplacementRestraintWithDisplacementValue(
        double, const UFemCardName&, quint64, quint64) override
    {
        ++otherCalls;
    }
    void addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(quint64,
        const _UFemRestraintEquationTableComponent*, const UFemCardName&, quint64, quint64) override
    {
        ++otherCalls;
    }

    std::vector<StiffnessBlock> blocks;
    int otherCalls = 0;
};

// Results in which node number n has the translations `translations[n]` in every case.
class NodeTranslationResults : public fakecards::FakeResultDataManager {
public:
    bool getNodeDisplacement(double* values, quint8* states, quint64 nodeNo,
        quint64 rotationIndexSet, quint64, std::optional<QString>*, UErrorPtr*) const override
    {
        const auto found = translations.find(nodeNo);
        int at = 0;
        for (quint64 kind = 0; kind < 2; ++kind) {
            if ((rotationIndexSet & (kind + 1)) == 0)
                continue;
            for (int d = 0; d < 3; ++d, ++at) {
                values[at] = kind == 0 && found != translations.end() ? found->second[d] : 0.0;
                if (states != nullptr)
                    states[at] = 1;
            }
        }
        return true;
    }

    std::map<quint64, std::array<double, 3>> translations;
};

// Reads the model and installs `results` as its result data.
inline void readWithResults(CardsTestModel& model, const QString& modelText,
    const std::shared_ptr<NodeTranslationResults>& results)
{
    model.read(modelText);
    results->text = model.controller.modelTextOfAllCards();
    UErrorPtr error;
    ASSERT_TRUE(model.controller.setResultDataManager(results, false, &error));
}

// `count` values of the card for the case; a failed request is a test failure.
inline std::vector<double> cardValues(const UFemCard& card, const UFemCard& caseCard,
    const char* type, quint64 count, const char* minor = nullptr)
{
    std::vector<double> out(count, -99.0);
    UErrorPtr error;
    EXPECT_TRUE(card.getCardValue(out.data(), cardstest::valueType(type, minor), &caseCard, &error))
        << type;
    return out;
}

} // namespace elementcardtest
