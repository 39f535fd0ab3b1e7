#include "tables/modeledit/ModelEditWindowCardViewCardTableViewDataSource.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"

ModelEditWindowCardViewCardTableViewDataSource::ModelEditWindowCardViewCardTableViewDataSource(
    QObject* parent)
    : QAbstractTableModel(parent)
{
}

ModelEditWindowCardViewCardTableViewDataSource::~ModelEditWindowCardViewCardTableViewDataSource()
    = default;

void ModelEditWindowCardViewCardTableViewDataSource::setDataController(
    UFemDataController* dataController)
{
    modelDidChange_.reset();
    beginResetModel();
    cards_.setDataController(dataController);
    rows_.clear();
    endResetModel();
    if (dataController == nullptr)
        return;
    UNotificationCenter* center = dataController->notificationCenter();
    if (center == nullptr)
        center = &UNotificationCenter::defaultCenter();
    modelDidChange_ = center->observe(UFemModelDataDidChangeNotification, dataController,
        [this](const UNotification&) { reload(); });
}

void ModelEditWindowCardViewCardTableViewDataSource::setCardArray(const UFemCardVector& cards)
{
    if (cards.empty())
        cards_.removeAllCards();
    else
        cards_.setCardArray(cards);
    reload();
}

void ModelEditWindowCardViewCardTableViewDataSource::reload()
{
    beginResetModel();
    rows_ = cards_.cardArray();
    endResetModel();
}

UFemCardPtr ModelEditWindowCardViewCardTableViewDataSource::cardAtRow(int row) const
{
    return row >= 0 && size_t(row) < rows_.size() ? rows_[size_t(row)] : nullptr;
}

int ModelEditWindowCardViewCardTableViewDataSource::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int ModelEditWindowCardViewCardTableViewDataSource::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant ModelEditWindowCardViewCardTableViewDataSource::data(
    const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const UFemCardPtr card = cardAtRow(index.row());
    return card != nullptr ? QVariant(UFemComposeCardStringExcerpt(*card,
               UFemColumnSeparatingCharacterTypeComma, false, false, UFemShownCardStringLength))
                           : QVariant();
}

QVariant ModelEditWindowCardViewCardTableViewDataSource::headerData(
    int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return tr("Card");
}
