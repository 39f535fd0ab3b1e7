#pragma once

#include "cardmodel/data/UFemCardSetManager.h"

#include <QObject>
#include <QPointer>
#include <QTableView>

#include <memory>

class ModelEditWindowCardViewCardTableViewDataSource;
class QItemSelection;

// The table of the choose-card sheet: the cards listed, and the cards chosen, kept in step with
// the table's selection and through changes of the model (the chosen cards that stay in the
// model are chosen again after every reload).
class ModelEditWindowChooseCardTableViewController : public QObject {
    Q_OBJECT
public:
    ModelEditWindowChooseCardTableViewController();
    ~ModelEditWindowChooseCardTableViewController() override;

    // The sheet's table; not owned, it goes with its sheet.
    void setTableView(QTableView* tableView);
    QTableView* tableView() const { return tableView_; }
    void setDataController(UFemDataController* dataController);
    ModelEditWindowCardViewCardTableViewDataSource& dataSource() const { return *dataSource_; }

    const UFemCardVector& tableCardArray();
    void setTableCardArray(const UFemCardVector& cards);
    const UFemCardVector& selectedCardArray() { return selectedCards_.cardArray(); }
    void setSelectedCardArray(const UFemCardVector& cards);
    void clearCardArray();

private:
    void tableViewSelectionDidChange();
    void selectChosenRows();

    std::unique_ptr<ModelEditWindowCardViewCardTableViewDataSource> dataSource_;
    UFemCardSetManager selectedCards_;
    QPointer<QTableView> tableView_;
    // Set while the table reloads or the rows are chosen again, when the table's selection
    // says nothing about the choice.
    bool isReloading_ = false;
};
