#include "QStringPrinting.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultDataServices.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cards/Node.h"
#include "cards/UFemCardClasses.h"
#include "cards/loads/Case.h"

#include <gtest/gtest.h>

// The Node and Case cards of a model read their displacements from the results attached to it.
TEST(ResultDataNodeCards, NodeDisplacementsComeFromTheAttachedResults)
{
    UFemInstallCardClasses();
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemDataController model(services);
    ASSERT_TRUE(model.resetWithModelText(QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"
                                                        "Node , N2 ,  , 1 , 0 , 0 ,\n"
                                                        "Case , C1 , LINEAR_STATIC , R1 , F1 ,\n"
                                                        "Case , C2 , LINEAR_STATIC , R2 , F1 ,\n"),
        true, nullptr));
    const auto results
        = UFemResultDataManagerImpl::createWithDataController(model, [](const UFemCard& caseCard) {
              return dynamic_cast<const Case&>(caseCard).restraintCardName();
          });
    EXPECT_EQ(results->nodeCardNameStringArray(), (QStringList { "N1", "N2" }));
    EXPECT_EQ(results->caseRestraintCardNameStringArray(), (QStringList { "R1", "R2" }));
    // R1: only N2's translations were calculated; R2 failed.
    std::vector<_UFemNode3DOFState> states(4);
    states[2].setInteger(UFemNode3DOFStateAllValid);
    const quint64 combNodeNos[] = { 2 };
    const double values[] = { 0.5, -0.25, 0.125 };
    EXPECT_TRUE(results->addResultDataWithNodeDOFStateTable(
        states.data(), values, combNodeNos, 1, { 0 }, nullptr));
    EXPECT_TRUE(results->addResultDataWithCalculationErrorString(
        QStringLiteral("singular"), states.data(), { 1 }, nullptr));
    EXPECT_TRUE(results->finalizeAddResultData(nullptr));
    ASSERT_TRUE(model.setResultDataManager(results, true, nullptr));

    // The numbering that follows attaching the results.
    auto& n1 = dynamic_cast<Node&>(*model.cardAtCardRowIndex(0));
    auto& n2 = dynamic_cast<Node&>(*model.cardAtCardRowIndex(1));
    auto& c1 = dynamic_cast<Case&>(*model.cardAtCardRowIndex(2));
    auto& c2 = dynamic_cast<Case&>(*model.cardAtCardRowIndex(3));
    n1.setNodeNo(0);
    n2.setNodeNo(1);
    c1.setCaseNo(0);
    c2.setCaseNo(1);

    double u[6];
    quint8 s[6];
    ASSERT_TRUE(n2.getNodeDisplacement(u, s, UFemRotationIndexSetBoth, &c1, nullptr));
    EXPECT_EQ(std::vector<double>(u, u + 6), (std::vector<double> { 0.5, -0.25, 0.125, 0, 0, 0 }));
    EXPECT_EQ(std::vector<quint8>(s, s + 6), (std::vector<quint8> { 1, 1, 1, 0, 0, 0 }));
    std::optional<QString> errorText;
    ASSERT_TRUE(
        n2.getNodeDisplacement(u, s, UFemRotationIndexSetTranslation, &c2, &errorText, nullptr));
    EXPECT_EQ(errorText, QStringLiteral("singular"));
    EXPECT_EQ(std::vector<double>(u, u + 3), (std::vector<double> { 0, 0, 0 }));
    ASSERT_TRUE(n1.getNodeDisplacement(u, s, UFemRotationIndexSetTranslation, &c1, nullptr));
    EXPECT_EQ(std::vector<double>(u, u + 3), (std::vector<double> { 0, 0, 0 }));
}
