#pragma once

#include "cardmodel/text/UAttributedString.h"

#include <QAbstractTableModel>
#include <QHash>

class UFemCard;
class UFemWindowCardTable;

Q_DECLARE_METATYPE(UAttributedString)

// The rows of a card table: one per card of the window card table and a closing "<end>" row,
// over four fixed columns (row index, name, card string, error string). Only the rows the view
// asks for are composed; the composed cells stay until the next reload. The row count is taken
// at reload, so the view never sees the window card table change under it.
class UFemCardTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        CardRowIndexColumn = 0,
        CardNameStringColumn,
        CardStringColumn,
        ErrorStringColumn
    };
    static constexpr int columnCountOfTable = 4;
    // The cell's UAttributedString (style keys are the card string attribute keys).
    static constexpr int AttributedStringRole = Qt::UserRole + 1;

    static const QString endRowString;
    static QString columnIdentifier(int column);

    explicit UFemCardTableModel(UFemWindowCardTable& windowCardTable, QObject* parent = nullptr);

    // Takes the window card table afresh: a reset when the row count changed, else one change
    // of every cell (a reset would lose the view's selection anchor and open editor).
    void reload();
    quint64 cardCount() const { return cardCount_; }
    quint64 endRow() const { return cardCount_; }
    // The card of a row below cardCount().
    UFemCard& cardAtRow(quint64 row) const;

    // The first shown column holds "<end>"; the card string drops its error tail while the
    // error column is shown.
    void setFirstShownColumn(int column);
    void setErrorStringColumnShown(bool shown);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // What a cell shows: at most 1024 characters of its text, cut with "…".
    UAttributedString attributedStringOfCell(quint64 row, int column) const;
    // The whole line of a row below cardCount() that its card string cell shows: without the
    // error tail while the error column is shown.
    QString cardStringOfRow(quint64 row) const;

private:
    // Bounds the composed cells kept between reloads; far above any visible row count.
    static constexpr qsizetype cachedCellLimit = 16384;

    UAttributedString composeCell(UFemCard& card, int column) const;

    UFemWindowCardTable& windowCardTable_;
    quint64 cardCount_ = 0;
    int firstShownColumn_ = CardRowIndexColumn;
    bool isErrorStringColumnShown_ = false;
    mutable QHash<quint64, UAttributedString> cellCache_;
};
