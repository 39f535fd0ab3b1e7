#include "ResultTableRodModel.h"

#include <cmath>

namespace {

double number(const UFemResultTableCell& cell)
{
    const double* value = std::get_if<double>(&cell);
    return value ? *value : std::nan("");
}

QString text(const UFemResultTableCell& cell)
{
    const QString* value = std::get_if<QString>(&cell);
    return value ? *value : QStringLiteral("<not text>");
}

} // namespace

TEST_F(ResultTableRod, TwoCasesGiveHandValuesAndStrictMaxMin)
{
    show(QStringLiteral("#(type:Node): Displacement;\n#(type:Elem): VonMisesStress;\n"),
        { "N2", "R1" }, { "C1", "C2" });
    EXPECT_EQ(model().numberOfTableRowForCard(), 7u);
    EXPECT_TRUE(model().doesDisplayMaxMin());
    ASSERT_EQ(model().resultCardAndValueArray().size(), 2u);
    EXPECT_EQ(model().numberOfTableRowTotal(), 14u);

    const UFemResultTableValueArray& node = valueArray(0);
    ASSERT_GE(node.numberOfColumns(), 4u);
    EXPECT_EQ(text(node.row(2)[0]), "C1");
    EXPECT_EQ(text(node.row(3)[0]), "C2");
    EXPECT_EQ(text(node.row(4)[0]), "Max");
    EXPECT_EQ(text(node.row(5)[0]), "Min");
    const double u1 = rodF * rodL / (rodE * rodA);
    EXPECT_DOUBLE_EQ(number(node.row(2)[1]), u1);
    EXPECT_DOUBLE_EQ(number(node.row(3)[1]), 2 * u1);
    EXPECT_DOUBLE_EQ(number(node.row(4)[1]), 2 * u1);
    EXPECT_DOUBLE_EQ(number(node.row(5)[1]), u1);
    // Equal values in both cases: Max and Min keep them.
    EXPECT_EQ(number(node.row(4)[2]), 0.0);
    EXPECT_EQ(number(node.row(5)[2]), 0.0);

    // The bar's stress is given at its two nodes.
    const UFemResultTableValueArray& rod = valueArray(1);
    ASSERT_EQ(rod.numberOfColumns(), 3u);
    EXPECT_EQ(text(rod.row(1)[1]), "VonMisesStress (1)");
    EXPECT_EQ(text(rod.row(1)[2]), "VonMisesStress (2)");
    for (quint64 point = 1; point <= 2; ++point) {
        EXPECT_NEAR(number(rod.row(2)[point]), rodF / rodA, 1e-12);
        EXPECT_NEAR(number(rod.row(3)[point]), 2 * rodF / rodA, 1e-12);
        EXPECT_NEAR(number(rod.row(4)[point]), 2 * rodF / rodA, 1e-12);
        EXPECT_NEAR(number(rod.row(5)[point]), rodF / rodA, 1e-12);
    }

    // The cells the table shows.
    EXPECT_EQ(cell(0, 0), "N2 (Row:4)");
    EXPECT_EQ(cell(0, 1), "");
    EXPECT_EQ(cell(2, 0), "C1");
    EXPECT_EQ(cell(2, 1), node.numberFormatter(1).stringWithValue(u1));
    EXPECT_EQ(cell(7, 0), "R1 (Row:5)");
    EXPECT_EQ(cell(6, 0), "");
    EXPECT_EQ(model().columnCount(), int(node.numberOfColumns()));
    // The rod block has fewer columns: cells past them are empty.
    EXPECT_EQ(cell(9, 3), "");
}

TEST_F(ResultTableRod, NoCaseGivesFourRowsAndOneNoCaseRow)
{
    show(QStringLiteral("#(type:Elem): Length, YoungsModulus;"), { "R1" }, {});
    EXPECT_EQ(model().numberOfTableRowForCard(), 4u);
    EXPECT_FALSE(model().doesDisplayMaxMin());
    const UFemResultTableValueArray& rod = valueArray(0);
    ASSERT_EQ(rod.numberOfRows(), 3u);
    EXPECT_EQ(text(rod.row(2)[0]), "<NO CASE>");
    EXPECT_EQ(text(rod.row(1)[1]), "Length");
    EXPECT_DOUBLE_EQ(number(rod.row(2)[1]), rodL);
    EXPECT_DOUBLE_EQ(number(rod.row(2)[2]), rodE);
    // One case is no different.
    window.setCases({ "C1" });
    EXPECT_EQ(model().numberOfTableRowForCard(), 4u);
    EXPECT_EQ(text(valueArray(0).row(2)[0]), "C1");
}

TEST_F(ResultTableRod, FailedCasesShowTheirErrorAndNoMaxMin)
{
    show(QStringLiteral("#(type:Elem): VonMisesStress, Length;"), { "R2" }, { "C1", "C2" });
    const UFemResultTableValueArray& rod = valueArray(0);
    ASSERT_EQ(rod.numberOfColumns(), 4u);
    const UErrorPtr* error = std::get_if<UErrorPtr>(&rod.row(3)[1]);
    ASSERT_TRUE(error && *error);
    EXPECT_TRUE(std::holds_alternative<UErrorPtr>(rod.row(2)[2]));
    EXPECT_EQ(text(rod.row(4)[1]), "---");
    EXPECT_EQ(text(rod.row(5)[1]), "---");
    // Length needs no result: its expression keeps Max and Min.
    EXPECT_EQ(text(rod.row(4)[2]), "---");
    EXPECT_DOUBLE_EQ(number(rod.row(4)[3]), rodL);
    EXPECT_DOUBLE_EQ(number(rod.row(5)[3]), rodL);
    EXPECT_EQ(cell(3, 1), (*error)->localizedShortDescription());
    EXPECT_EQ(view.model()->index(3, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
}

TEST_F(ResultTableRod, PointsAndSizeFailuresMakeTheirColumns)
{
    show(QStringLiteral("#(type:Elem): ElementNodeForce, Length@node;"), { "R1" }, { "C1", "C2" });
    const UFemResultTableValueArray& rod = valueArray(0);
    // Two points of six components: point outside, component inside.
    ASSERT_EQ(rod.numberOfColumns(), 14u);
    for (quint64 k = 0; k < 6; ++k) {
        EXPECT_TRUE(text(rod.row(1)[1 + k]).endsWith(" (1)")) << k;
        EXPECT_TRUE(text(rod.row(1)[7 + k]).endsWith(" (2)")) << k;
        EXPECT_EQ(text(rod.row(1)[1 + k]).chopped(4), text(rod.row(1)[7 + k]).chopped(4));
    }
    // Axial end forces of the bar, equal and opposite: F in case C1, 2F in case C2.
    EXPECT_NEAR(number(rod.row(2)[1]) + number(rod.row(2)[7]), 0.0, 1e-9);
    EXPECT_NEAR(std::fabs(number(rod.row(2)[1])), rodF, 1e-9);
    EXPECT_NEAR(std::fabs(number(rod.row(3)[7])), 2 * rodF, 1e-9);
    // Length has no node form: one column labelled with the expression, errors, "---".
    EXPECT_EQ(text(rod.row(1)[13]), "Length@node");
    EXPECT_TRUE(std::holds_alternative<UErrorPtr>(rod.row(2)[13]));
    EXPECT_TRUE(std::holds_alternative<UErrorPtr>(rod.row(3)[13]));
    EXPECT_EQ(text(rod.row(4)[13]), "---");
    EXPECT_EQ(model().resultCardAndValueArray()[0].numberOfTableColumnForCard, 14u);
}

TEST_F(ResultTableRod, WindowFilterAndResultChangesReshapeTheTable)
{
    show(QStringLiteral("#(type:Node): Displacement;\n#(type:Elem): Length;"), { "N2", "R1" },
        { "C1", "C2" });
    ASSERT_EQ(model().resultCardAndValueArray().size(), 2u);
    EXPECT_DOUBLE_EQ(number(valueArray(0).row(3)[1]), 2 * rodF * rodL / (rodE * rodA));

    // A target the window's filter hides leaves the table.
    UErrorPtr error;
    window.table->setCardFilterString(QStringLiteral("type:Elem"), &error);
    ASSERT_FALSE(error);
    ASSERT_EQ(model().resultCardAndValueArray().size(), 1u);
    EXPECT_EQ(model().resultCardAndValueArray()[0].card->cardNameString(), "R1");
    window.table->setCardFilterString(std::nullopt, &error);

    // Detached results: the displacements are evaluated again and have no value.
    window.select({ "N2" });
    EXPECT_NE(number(valueArray(0).row(3)[1]), 0.0);
    ASSERT_TRUE(window.model.setResultDataManager(nullptr, false, &error));
    const UErrorPtr* noResult = std::get_if<UErrorPtr>(&valueArray(0).row(3)[1]);
    ASSERT_TRUE(noResult && *noResult);
    EXPECT_EQ(cell(3, 1), (*noResult)->localizedShortDescription());
    EXPECT_EQ(cell(4, 1), "---");
}
