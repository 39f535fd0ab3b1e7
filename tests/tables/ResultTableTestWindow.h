#pragma once

// A document window as the result table sees it: a real data controller and window card table on
// a centre of their own, a selection and current cases set by the test, a recording presenter.

#include "QStringPrinting.h"
#include "RecordingSheetPresenter.h"
#include "calculation/results/UFemResultDataManagerImpl.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "cards/Node.h"
#include "cards/UFemCardClasses.h"
#include "cards/loads/Case.h"
#include "platform/UNotificationCenter.h"
#include "tables/resulttable/UFemResultTableWindowLink.h"

#include <QWidget>

#include <memory>
#include <stdexcept>

class ResultTableTestWindow : public UFemResultTableWindowLink {
public:
    inline static const QString selectedDidChange = QStringLiteral("TestSelectedCardDidChange");
    inline static const QString caseDidChange = QStringLiteral("TestCurrentCaseDidChange");

    explicit ResultTableTestWindow(const QString& modelText,
        const UFemDataControllerServices& services = UFemDataControllerServices::shared())
        : model(services)
    {
        UFemInstallCardClasses();
        model.setNotificationCenter(&center);
        if (!model.resetWithModelText(modelText, false, nullptr))
            throw std::runtime_error("test model does not read");
        table = std::make_unique<UFemWindowCardTable>(model);
    }

    UFemDataController& dataController() override { return model; }
    UFemWindowCardTable& windowCardTable() override { return *table; }
    std::optional<UFemCardVector> selectedCardArray() override { return selected; }
    UFemCardVector currentCaseCardArray() override { return cases; }
    UFemNumberFormatter writingFileNumberFormatter() override
    {
        return UFemNumberFormatter::defaultWritingFileNumberFormatter();
    }
    UNotificationObservation observeSelectedCardDidChange(std::function<void()> handler) override
    {
        return center.observe(
            selectedDidChange, this, [handler](const UNotification&) { handler(); });
    }
    UNotificationObservation observeCurrentCaseDidChange(std::function<void()> handler) override
    {
        return center.observe(caseDidChange, this, [handler](const UNotification&) { handler(); });
    }
    QWidget* documentWindow() override { return &window; }
    SheetPresenter* sheetPresenter() override { return &presenter; }

    UFemCardPtr card(const QString& name)
    {
        for (const UFemCardPtr& card : model.cardArray().toVector())
            if (card->cardNameString() == name)
                return card;
        throw std::runtime_error("no such card");
    }
    void select(const QStringList& names)
    {
        selected.clear();
        for (const QString& name : names)
            selected.push_back(card(name));
        center.post(selectedDidChange, this);
    }
    void setCases(const QStringList& names)
    {
        cases.clear();
        for (const QString& name : names)
            cases.push_back(card(name));
        center.post(caseDidChange, this);
    }
    // Attaches results in which node `nodeName` moved by `displacements[c]` (x, y, z) in case c;
    // the cases in `failedCases` belong to a restraint set whose solution failed.
    void attachTranslations(const QString& nodeName,
        const std::vector<std::array<double, 3>>& displacements,
        const std::vector<quint64>& failedCases = {})
    {
        const auto results = UFemResultDataManagerImpl::createWithDataController(
            model, [](const UFemCard& caseCard) {
                return dynamic_cast<const Case&>(caseCard).restraintCardName();
            });
        const QStringList nodes = results->nodeCardNameStringArray();
        std::vector<_UFemNode3DOFState> states(2 * quint64(nodes.size()));
        const quint64 node = quint64(nodes.indexOf(nodeName));
        states[2 * node].setInteger(UFemNode3DOFStateAllValid);
        const quint64 combNodeNos[] = { 2 * node };
        std::vector<double> values;
        std::vector<quint64> solvedCases;
        for (quint64 c = 0; c < displacements.size(); ++c)
            if (std::find(failedCases.begin(), failedCases.end(), c) == failedCases.end()) {
                solvedCases.push_back(c);
                values.insert(values.end(), displacements[c].begin(), displacements[c].end());
            }
        UErrorPtr error;
        if (!results->addResultDataWithNodeDOFStateTable(
                states.data(), values.data(), combNodeNos, 1, solvedCases, &error))
            throw std::runtime_error(error->localizedDescription().toStdString());
        if (!failedCases.empty())
            UFemRaisesOnFailure(results->addResultDataWithCalculationErrorString(
                QStringLiteral("Matrix is singular."), states.data(), failedCases, nullptr));
        UFemRaisesOnFailure(results->finalizeAddResultData(nullptr));
        if (!model.setResultDataManager(results, true, &error))
            throw std::runtime_error(error->localizedDescription().toStdString());
        numberNodesAndCases(nodes, results->caseCardNameStringArray());
    }

    UNotificationCenter center;
    UFemDataController model;
    std::unique_ptr<UFemWindowCardTable> table;
    UFemCardVector selected;
    UFemCardVector cases;
    QWidget window;
    RecordingSheetPresenter presenter;

private:
    // What the calculation does when its results are attached.
    void numberNodesAndCases(const QStringList& nodes, const QStringList& caseNames)
    {
        for (qsizetype n = 0; n < nodes.size(); ++n)
            dynamic_cast<Node&>(*card(nodes[n])).setNodeNo(quint64(n));
        for (qsizetype c = 0; c < caseNames.size(); ++c)
            dynamic_cast<Case&>(*card(caseNames[c])).setCaseNo(quint64(c));
    }
};
