#include "tables/UFemCardTableCellDelegate.h"

#include "cardmodel/text/UAttributedString.h"
#include "tables/UFemCardTableModel.h"

#include <QApplication>
#include <QPainter>

namespace {

const QChar ellipsis(0x2026);
constexpr int cellTextMargin = 3;

} // namespace

UFemCardTableCellDelegate::UFemCardTableCellDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , attributes_(UFemCardTableStyle::defaultCardStringAttributesDictionary())
{
}

qsizetype UFemCardTableCellDelegate::visibleLengthOfElidedText(
    const QFontMetrics& metrics, const QString& text, int width)
{
    const QString elided = metrics.elidedText(text, Qt::ElideRight, width);
    if (elided == text)
        return text.size();
    return elided.endsWith(ellipsis) ? elided.size() - 1 : elided.size();
}

QColor UFemCardTableCellDelegate::colorOfStyle(
    const QString& styleKey, const QColor& fallback) const
{
    const auto found = attributes_.constFind(styleKey);
    if (found == attributes_.constEnd() || !found->hasProperty(QTextFormat::ForegroundBrush))
        return fallback;
    return found->foreground().color();
}

void UFemCardTableCellDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QVariant attributed = index.data(UFemCardTableModel::AttributedStringRole);
    // Cells without runs (row index, "<end>") keep the stock look.
    if (!attributed.isValid() || index.column() == UFemCardTableModel::CardRowIndexColumn) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
    const QRect textRect = option.rect.adjusted(cellTextMargin, 0, -cellTextMargin, 0);
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    drawRuns(*painter, option, textRect, attributed.value<UAttributedString>());
    painter->restore();
}

void UFemCardTableCellDelegate::drawRuns(QPainter& painter, const QStyleOptionViewItem& option,
    const QRect& rect, const UAttributedString& text) const
{
    const QFontMetrics metrics(option.font);
    const qsizetype visible = visibleLengthOfElidedText(metrics, text.string, rect.width());
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor plain
        = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const int baseline = rect.top() + (rect.height() + metrics.ascent() - metrics.descent()) / 2;
    int x = rect.left();
    QColor lastColor = plain;
    for (const UAttributedString::Run& run : text.runs) {
        if (run.location >= visible)
            break;
        const QString piece
            = text.string.mid(run.location, qMin(run.length, visible - run.location));
        lastColor = colorOfStyle(run.styleKey, plain);
        painter.setPen(lastColor);
        painter.drawText(x, baseline, piece);
        x += metrics.horizontalAdvance(piece);
    }
    if (visible < text.string.size()) {
        painter.setPen(lastColor);
        painter.drawText(x, baseline, QString(ellipsis));
    }
}
