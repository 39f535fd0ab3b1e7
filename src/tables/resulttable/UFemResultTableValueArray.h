#pragma once

#include "foundation/errors/UError.h"
#include "foundation/strings/UFemNumberFormatter.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

class UFemCard;
class UFemCardValueExprList;

// One cell of a block's value array: empty, a value, the error of a failed evaluation, or text
// (case names, labels, "Max", "---").
using UFemResultTableCell = std::variant<std::monostate, double, UErrorPtr, QString>;
using UFemResultTableRow = std::vector<UFemResultTableCell>;

inline const QString UFemResultTableNoCaseString = QStringLiteral("<NO CASE>");
inline const QString UFemResultTableMaxString = QStringLiteral("Max");
inline const QString UFemResultTableMinString = QStringLiteral("Min");
inline const QString UFemResultTableNoValueString = QStringLiteral("---");

// The values of one card block: row 0 holds a formatter per value column, row 1 the labels, then
// one row per case and, with two or more cases, "Max" and "Min". Column 0 of every row is the
// row's label; columns 1.. are values.
class UFemResultTableValueArray {
public:
    // Rows 1.. (row 0 is the formatter row, held apart).
    const UFemResultTableRow& row(quint64 rowIndex) const { return rows_[rowIndex - 1]; }
    quint64 numberOfRows() const { return rows_.size() + 1; }
    quint64 numberOfColumns() const { return numberFormatters_.size() + 1; }
    // The formatter of value column `column` (1..).
    const UFemNumberFormatter& numberFormatter(quint64 column) const
    {
        return numberFormatters_[column - 1];
    }

    // The block of `card` under `list` for the cases (none: one "<NO CASE>" row evaluated
    // without a case). nullopt when the list has no expression for the card.
    static std::optional<UFemResultTableValueArray> cardTableValueArrayWithCardValueExprList(
        const UFemCardValueExprList& list, UFemCard& card,
        const std::vector<UFemCard*>& caseCardArray);

private:
    void appendColumn(const UFemNumberFormatter& formatter, const QString& label);
    void appendFailedSizeColumn(const UFemNumberFormatter& formatter, const QString& label,
        const UErrorPtr& error, bool hasMaxMin);

    std::vector<UFemNumberFormatter> numberFormatters_;
    std::vector<UFemResultTableRow> rows_;
};
