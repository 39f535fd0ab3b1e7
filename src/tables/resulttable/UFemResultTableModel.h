#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "cardmodel/expression/UFemCardValueExprList.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "tables/resulttable/UFemResultTableCardAndValueObj.h"
#include "tables/resulttable/UFemResultTableColors.h"

#include <QAbstractTableModel>
#include <QFont>

#include <functional>
#include <optional>
#include <vector>

inline const QString UFemResultTableNoExpressionMessage
    = QStringLiteral("No Card Value Expression.");
inline const QString UFemResultTableSelectCardsMessage = QStringLiteral("Select cards.");
inline const QString UFemResultTableNoMatchedCardMessage
    = QStringLiteral("No card for Value. ( No card matched with Card Filter. )");

// The rows and cells of the result table: a block of rows per target card (name, value labels,
// one row per case, "Max" and "Min" with two or more cases, a spacer) over the columns of a card
// value expression list. The shape is rebuilt only in reloadData(), inside a model reset; the
// cells of a block are evaluated the first time one of them is asked for. Main thread only.
class UFemResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CardArrayProvider = std::function<UFemCardVector()>;

    explicit UFemResultTableModel(QObject* parent = nullptr);

    // The cards and cases are read at every rebuild.
    void setTargetCardArrayProvider(CardArrayProvider provider);
    void setCaseCardArrayProvider(CardArrayProvider provider);

    const QString& cardValueExprListString() const { return cardValueExprListString_; }
    const UFemCardValueExprList& cardValueExprList() const { return cardValueExprList_; }
    // Keeps the text and reloads; a syntax error is returned with false and leaves the list
    // empty. A blank text is accepted and leaves no expression.
    [[nodiscard]] bool setCardValueExprListString(
        const QString& cardValueExprListString, UErrorPtr* error);

    bool needsUpdateTableContents() const { return needsUpdateTableContents_; }
    void setNeedsUpdateTableContents() { needsUpdateTableContents_ = true; }
    // Rebuilds the shape when it is marked for update and tells the views.
    void reloadData();
    // Every block's values are evaluated again at their next use.
    void removeAllCardTableValueArray();

    quint64 numberOfTableColumn() const { return numberOfTableColumn_; }
    quint64 numberOfTableRowTotal() const { return numberOfTableRowTotal_; }
    quint64 numberOfTableRowForCard() const { return numberOfTableRowForCard_; }
    bool doesDisplayMaxMin() const { return doesDisplayMaxMin_; }
    const std::vector<UFemResultTableCardAndValueObj>& resultCardAndValueArray() const
    {
        return resultCardAndValueArray_;
    }
    const QString& viewCenterMessageString() const { return viewCenterMessageString_; }
    const QString& errorString() const { return errorString_; }
    // How many block value arrays were evaluated so far.
    quint64 valueArrayBuildCount() const { return valueArrayBuildCount_; }

    UFemResultTableColors& colors() { return colors_; }
    const UFemResultTableColors& colors() const { return colors_; }

    // The text of one table row as copied.
    void writeResultTableRowValueToResultTextString(QString& text, quint64 row,
        UFemColumnSeparatingCharacterType type,
        const std::optional<UFemNumberFormatter>& numberFormatter) const;
    std::vector<UFemCard*> caseCardPointers() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Where a table row falls: its block and its line in the block.
    struct RowPlace {
        quint64 block = 0;
        quint64 line = 0;
    };
    RowPlace placeOfRow(quint64 row) const;
    bool isSpacerLine(quint64 line) const { return line + 1 == numberOfTableRowForCard_; }
    bool isMaxMinLine(quint64 line) const;
    void updateTableContents();
    quint64 numberOfTableColumnForCard(UFemCard& card) const;
    const UFemResultTableValueArray* valueArrayOfBlock(quint64 block) const;
    QVariant displayData(const RowPlace& place, quint64 column) const;
    QVariant valueCellDisplay(
        const UFemResultTableValueArray& array, quint64 line, quint64 column) const;
    QVariant cellRoleData(const RowPlace& place, quint64 column, int role) const;
    QVariant backgroundData(const RowPlace& place, quint64 column) const;

    CardArrayProvider targetCardArrayProvider_;
    CardArrayProvider caseCardArrayProvider_;
    QString cardValueExprListString_;
    UFemCardValueExprList cardValueExprList_;
    bool needsUpdateTableContents_ = true;
    mutable std::vector<UFemResultTableCardAndValueObj> resultCardAndValueArray_;
    UFemCardVector caseCardArray_;
    quint64 numberOfTableColumn_ = 1;
    quint64 numberOfTableRowTotal_ = 0;
    quint64 numberOfTableRowForCard_ = 0;
    bool doesDisplayMaxMin_ = false;
    QString viewCenterMessageString_;
    QString errorString_;
    mutable quint64 valueArrayBuildCount_ = 0;
    UFemResultTableColors colors_;
    QFont valueFont_;
};
