#pragma once

#include "tables/UFemCardTableStyle.h"

#include <QStyledItemDelegate>

struct UAttributedString;

// Paints a card table cell's styled runs in their colours (the stock delegate has one colour per
// cell), cut at the tail with an ellipsis when the cell is too narrow.
class UFemCardTableCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit UFemCardTableCellDelegate(QObject* parent = nullptr);

    void setCardStringAttributesDictionary(const UFemCardStringAttributesDictionary& attributes)
    {
        attributes_ = attributes;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

    // The characters of `text` that fit `width` when cut at the tail (an ellipsis follows).
    static qsizetype visibleLengthOfElidedText(
        const QFontMetrics& metrics, const QString& text, int width);

private:
    void drawRuns(QPainter& painter, const QStyleOptionViewItem& option, const QRect& rect,
        const UAttributedString& text) const;
    QColor colorOfStyle(const QString& styleKey, const QColor& fallback) const;

    UFemCardStringAttributesDictionary attributes_;
};
