#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "platform/UNotificationCenter.h"

#include <QAbstractTableModel>

#include <vector>

// The rows of the model edit window's card lists (the card view's table and the choose-card
// sheet): one card per row, in model order, each shown as its model-text line. The cards are a
// card set of the data controller, so a card that leaves the model leaves the list; the list
// reloads after every change of the model.
class ModelEditWindowCardViewCardTableViewDataSource : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModelEditWindowCardViewCardTableViewDataSource(QObject* parent = nullptr);
    ~ModelEditWindowCardViewCardTableViewDataSource() override;

    // Not owned; empties the list.
    void setDataController(UFemDataController* dataController);
    const UFemCardVector& cardArray() { return cards_.cardArray(); }
    void setCardArray(const UFemCardVector& cards);
    void clearCardArray() { setCardArray({}); }
    // The card of a row; nullptr outside the list.
    UFemCardPtr cardAtRow(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void reload();

    UFemCardSetManager cards_;
    // The rows as last reloaded: the set drops cards lazily, the view must not see it shrink
    // between a reload and the next.
    UFemCardVector rows_;
    UNotificationObservation modelDidChange_;
};
