#pragma once

#include "ResultTableTestWindow.h"

#include "tables/resulttable/UFemResultTableView.h"

#include <gtest/gtest.h>

// A steel bar along x: E = 200, A = 3, L = 2, fixed at N1, pulled at N2 by F = 6 in case C1 and
// 2F = 12 in case C2; R2 names no property, so its stress fails in every case; case C3 belongs to a
// restraint set whose solution failed. By hand: u = FL/(EA) = 0.02 and 0.04, stress = F/A = 2
// and 4.
inline const QString rodModelText = QStringLiteral("Material , Steel , 200 , 0.3 ,\n"
                                                   "RodProp , RP , Steel , 3 ,\n"
                                                   "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                                   "Node , N2 ,  , 2 , 0 , 0 ,\n"
                                                   "Rod , R1 , RP , N1 , N2 ,\n"
                                                   "Rod , R2 , RPX , N1 , N2 ,\n"
                                                   "Case , C1 , LINEAR_STATIC , RS1 , FS1 ,\n"
                                                   "Case , C2 , LINEAR_STATIC , RS1 , FS2 ,\n"
                                                   "Case , C3 , LINEAR_STATIC , RS2 , FS1 ,\n");
constexpr double rodE = 200.0;
constexpr double rodA = 3.0;
constexpr double rodL = 2.0;
constexpr double rodF = 6.0;

class ResultTableRod : public ::testing::Test {
protected:
    void SetUp() override
    {
        const double u1 = rodF * rodL / (rodE * rodA);
        window.attachTranslations(
            QStringLiteral("N2"), { { u1, 0, 0 }, { 2 * u1, 0, 0 }, { 0, 0, 0 } }, { 2 });
        view.setUFemWindowController(&window);
    }
    void TearDown() override { view.finish(); }

    UFemResultTableModel& model() { return view.resultTableModel(); }
    QString cell(int row, int column) const
    {
        return view.model()->index(row, column).data().toString();
    }
    void show(const QString& list, const QStringList& cards, const QStringList& cases)
    {
        UErrorPtr error;
        ASSERT_TRUE(view.setCardValueExprListString(list, &error));
        window.setCases(cases);
        window.select(cards);
    }
    const UFemResultTableValueArray& valueArray(quint64 block)
    {
        model().data(
            model().index(int(block * model().numberOfTableRowForCard() + 1), 0), Qt::DisplayRole);
        return *model().resultCardAndValueArray()[block].cardTableValueArray;
    }

    ResultTableTestWindow window { rodModelText };
    UFemResultTableView view;
};
