#include "tables/modeledit/ModelEditWindowChooseCardTableViewController.h"

#include "tables/modeledit/ModelEditWindowCardViewCardTableViewDataSource.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>
#include <unordered_map>

ModelEditWindowChooseCardTableViewController::ModelEditWindowChooseCardTableViewController()
    : dataSource_(std::make_unique<ModelEditWindowCardViewCardTableViewDataSource>())
{
    // The choice is taken apart before the table resets: a reset empties the table's selection.
    connect(dataSource_.get(), &QAbstractItemModel::modelAboutToBeReset, this,
        [this] { isReloading_ = true; });
    connect(
        dataSource_.get(), &QAbstractItemModel::modelReset, this, [this] { selectChosenRows(); });
}

ModelEditWindowChooseCardTableViewController::~ModelEditWindowChooseCardTableViewController()
    = default;

void ModelEditWindowChooseCardTableViewController::setTableView(QTableView* tableView)
{
    tableView_ = tableView;
    if (tableView == nullptr)
        return;
    tableView->setModel(dataSource_.get());
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->horizontalHeader()->setStretchLastSection(true);
    connect(tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this] { tableViewSelectionDidChange(); });
    // After the table's own handling of the reset, which empties its selection.
    connect(dataSource_.get(), &QAbstractItemModel::modelReset, tableView,
        [this] { selectChosenRows(); });
    selectChosenRows();
}

void ModelEditWindowChooseCardTableViewController::setDataController(
    UFemDataController* dataController)
{
    dataSource_->setDataController(dataController);
    selectedCards_.setDataController(dataController);
}

const UFemCardVector& ModelEditWindowChooseCardTableViewController::tableCardArray()
{
    return dataSource_->cardArray();
}

void ModelEditWindowChooseCardTableViewController::setTableCardArray(const UFemCardVector& cards)
{
    dataSource_->setCardArray(cards);
}

void ModelEditWindowChooseCardTableViewController::setSelectedCardArray(const UFemCardVector& cards)
{
    selectedCards_.setCardArray(cards);
    isReloading_ = true;
    selectChosenRows();
}

void ModelEditWindowChooseCardTableViewController::clearCardArray()
{
    selectedCards_.removeAllCards();
    dataSource_->clearCardArray();
}

void ModelEditWindowChooseCardTableViewController::tableViewSelectionDidChange()
{
    if (isReloading_ || tableView_ == nullptr)
        return;
    // Row by row through the ranges: asking the selection for its rows tests every row against
    // every range.
    std::vector<int> rows;
    for (const QItemSelectionRange& range : tableView_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    UFemCardVector chosen;
    chosen.reserve(rows.size());
    for (int row : rows) {
        if (UFemCardPtr card = dataSource_->cardAtRow(row))
            chosen.push_back(std::move(card));
    }
    selectedCards_.setCardArray(chosen);
}

// Rows are chosen again in runs, so that a large choice is one selection change.
void ModelEditWindowChooseCardTableViewController::selectChosenRows()
{
    isReloading_ = true;
    if (tableView_ != nullptr) {
        std::unordered_map<const UFemCard*, int> rowOfCard;
        const int rowCount = dataSource_->rowCount();
        rowOfCard.reserve(size_t(rowCount));
        for (int row = 0; row < rowCount; ++row)
            rowOfCard.emplace(dataSource_->cardAtRow(row).get(), row);
        std::vector<int> rows;
        for (const UFemCardPtr& card : selectedCards_.cardArray()) {
            if (auto found = rowOfCard.find(card.get()); found != rowOfCard.end())
                rows.push_back(found->second);
        }
        std::sort(rows.begin(), rows.end());
        QItemSelection selection;
        const int lastColumn = dataSource_->columnCount() - 1;
        for (size_t begin = 0; begin < rows.size();) {
            size_t end = begin + 1;
            while (end < rows.size() && rows[end] == rows[end - 1] + 1)
                ++end;
            selection.select(
                dataSource_->index(rows[begin], 0), dataSource_->index(rows[end - 1], lastColumn));
            begin = end;
        }
        tableView_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    isReloading_ = false;
}
