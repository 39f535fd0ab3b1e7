#pragma once

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/Node.h"
#include "cards/loads/Case.h"

#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

// Attaches results in which every node moves a little in each of `caseCount` cases, as after a
// calculation, and numbers the Node and Case cards after them; with `doesMoveRotations` the nodes
// turn a little as well.
inline void attachRandomResults(
    UFemDataController& model, quint64 caseCount, bool doesMoveRotations)
{
    const auto results
        = UFemResultDataManagerImpl::createWithDataController(model, [](const UFemCard& caseCard) {
              return dynamic_cast<const Case&>(caseCard).restraintCardName();
          });
    const quint64 nodes = quint64(results->nodeCardNameStringArray().size());
    const quint64 kinds = doesMoveRotations ? 2 : 1;
    std::vector<_UFemNode3DOFState> states(2 * nodes);
    std::vector<quint64> combNodeNos(nodes);
    std::vector<double> values(nodes * caseCount * 3 * kinds);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> displacement(-1e-3, 1e-3);
    for (quint64 n = 0; n < nodes; ++n) {
        for (quint64 kind = 0; kind < kinds; ++kind)
            states[2 * n + kind].setInteger(UFemNode3DOFStateAllValid);
        combNodeNos[n] = 2 * n;
    }
    for (double& value : values)
        value = displacement(random);
    std::vector<quint64> cases(caseCount);
    std::iota(cases.begin(), cases.end(), 0);
    UFemRaisesOnFailure(results->addResultDataWithNodeDOFStateTable(
        states.data(), values.data(), combNodeNos.data(), nodes, cases, nullptr));
    UFemRaisesOnFailure(results->finalizeAddResultData(nullptr));
    UErrorPtr error;
    if (!model.setResultDataManager(results, false, &error))
        throw std::runtime_error(error->localizedDescription().toStdString());
    const UFemCardVector nodeCards = model.nodeCardArray().toVector();
    for (quint64 n = 0; n < nodeCards.size(); ++n)
        dynamic_cast<Node&>(*nodeCards[n]).setNodeNo(n);
    const UFemCardVector caseCards = model.caseCardArray().toVector();
    for (quint64 c = 0; c < caseCards.size(); ++c)
        dynamic_cast<Case&>(*caseCards[c]).setCaseNo(c);
}
