#include "ResultTableTestWindow.h"

#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/results/UFemResultDataServices.h"
#include "tables/resulttable/UFemResultTableView.h"

#include <gtest/gtest.h>

namespace {

// The bar of E = 200, A = 3, L = 2 fixed at N1, pulled along x at N2 by 6 (C1) and 12 (C2).
const QString calculatedRodText = QStringLiteral("Material , M , 200 , 0.3 ,\n"
                                                 "RodProp , RP , M , 3 ,\n"
                                                 "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                                 "Node , N2 ,  , 2 , 0 , 0 ,\n"
                                                 "Rod , R1 , RP , N1 , N2 ,\n"
                                                 "FixNode , S , N1 , YES , YES , YES ,\n"
                                                 "Force , F1 , N2 ,  , 6 , 0 , 0 , 0 , 0 , 0 ,\n"
                                                 "Force , F2 , N2 ,  , 12 , 0 , 0 , 0 , 0 , 0 ,\n"
                                                 "Case , C1 , LINEAR_STATIC , S , F1 ,\n"
                                                 "Case , C2 , LINEAR_STATIC , S , F2 ,\n");

UFemDataControllerServices calculationServices()
{
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemInstallCalculationServices(services);
    return services;
}

double valueAt(const UFemResultTableValueArray& array, quint64 row, quint64 column)
{
    const double* value = std::get_if<double>(&array.row(row)[column]);
    return value ? *value : std::nan("");
}

} // namespace

// The calculation's own results in the table: u = PL/(EA) and the stress P/A per case, the
// larger case as Max and the smaller as Min.
TEST(ResultTableCalculated, RodValuesMatchTheHandValues)
{
    ResultTableTestWindow window(calculatedRodText, calculationServices());
    UFemSetupForRunCalculation(window.model, 1);
    UErrorPtr error;
    ASSERT_TRUE(UFemRunCalculation(window.model, &error))
        << (error ? error->localizedDescription().toStdString() : std::string());
    ASSERT_TRUE(window.model.hasResultData());

    UFemResultTableView view;
    view.setUFemWindowController(&window);
    ASSERT_TRUE(view.setCardValueExprListString(
        QStringLiteral("#(type:Node): Displacement;\n#(type:Elem): VonMisesStress;"), nullptr));
    window.setCases({ "C1", "C2" });
    window.select({ "N2", "R1" });
    UFemResultTableModel& model = view.resultTableModel();
    ASSERT_EQ(model.resultCardAndValueArray().size(), 2u);
    model.index(1, 0).data();
    model.index(8, 0).data();
    const UFemResultTableValueArray& node = *model.resultCardAndValueArray()[0].cardTableValueArray;
    const UFemResultTableValueArray& rod = *model.resultCardAndValueArray()[1].cardTableValueArray;

    const double P = 6.0, L = 2.0, E = 200.0, A = 3.0;
    const double tolerance = 1e-12;
    EXPECT_NEAR(valueAt(node, 2, 1), P * L / (E * A), tolerance);
    EXPECT_NEAR(valueAt(node, 3, 1), 2 * P * L / (E * A), tolerance);
    EXPECT_NEAR(valueAt(node, 4, 1), 2 * P * L / (E * A), tolerance);
    EXPECT_NEAR(valueAt(node, 5, 1), P * L / (E * A), tolerance);
    EXPECT_NEAR(valueAt(node, 2, 2), 0.0, tolerance);
    for (quint64 point = 1; point <= 2; ++point) {
        EXPECT_NEAR(valueAt(rod, 2, point), P / A, 1e-9);
        EXPECT_NEAR(valueAt(rod, 3, point), 2 * P / A, 1e-9);
        EXPECT_NEAR(valueAt(rod, 4, point), 2 * P / A, 1e-9);
        EXPECT_NEAR(valueAt(rod, 5, point), P / A, 1e-9);
    }
    view.finish();
}
