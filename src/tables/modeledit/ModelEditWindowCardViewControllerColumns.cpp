// Moving the card on screen in and out of the card view as text.
#include "tables/modeledit/ModelEditWindowCardViewController.h"

#include "cardmodel/card/UFemCardClass.h"
#include "tables/forms/UFemCardFormViewController.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

constexpr quint64 firstFormColumnIndex = 2;
constexpr char notOneCardView[] = "_cardViewType is NOT 'ONE_CARD_VIEW_1 or 2'.";
constexpr char notOneCardViewType[] = "_cardViewType is NOT 'ONE_CARD_VIEW_TYPE_1 or 2'.";

QString trimmedOfSpacesAndTabs(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QString ModelEditWindowCardViewController::commentString() const
{
    requireOneCardViewShown(notOneCardViewType);
    return shownOneCardView().commentField->text();
}

void ModelEditWindowCardViewController::setCommentString(const QString& comment)
{
    requireOneCardViewShown(notOneCardViewType);
    shownOneCardView().commentField->setText(comment);
}

QStringList ModelEditWindowCardViewController::columnStringArray() const
{
    requireOneCardViewShown(notOneCardView);
    const OneCardView& view = shownOneCardView();
    QStringList columns;
    columns << (view.kindField != nullptr
            ? view.kindField->text()
            : (kindOfCardClass_ != nullptr ? kindOfCardClass_->cardLabelString() : QString()));
    columns << view.nameField->text();
    if (activeForm_ != nullptr) {
        for (quint64 index = firstFormColumnIndex; index < activeForm_->numberOfCurrentColumns();
             ++index)
            columns << activeForm_->columnStringAtIndex(index);
    } else {
        for (const QLineEdit* cell : generalCells_)
            columns << cell->text();
    }
    return columns;
}

void ModelEditWindowCardViewController::setGeneralCells(
    const std::function<QString(quint64 columnIndex)>& columnString, quint64 count)
{
    const quint64 shown
        = std::min<quint64>(count, generalCardFormColumnCount + firstFormColumnIndex);
    for (quint64 cell = 0; cell < generalCells_.size(); ++cell) {
        const quint64 index = cell + firstFormColumnIndex;
        generalCells_[cell]->setText(index < shown ? columnString(index) : QString());
    }
}

void ModelEditWindowCardViewController::setColumnStringArray(const QStringList& columns)
{
    requireOneCardViewShown(notOneCardView);
    if (columns.isEmpty()) {
        clearView();
        return;
    }
    const OneCardView& view = shownOneCardView();
    view.nameField->setText(columns.value(1));
    if (view.kindField != nullptr)
        view.kindField->setText(columns.value(0));
    const quint64 count = quint64(columns.size());
    if (activeForm_ == nullptr) {
        setGeneralCells(
            [&columns](quint64 index) { return columns.value(qsizetype(index)); }, count);
        return;
    }
    // The last column first, so that a form with a varying count grows once.
    const quint64 last = activeForm_->isColumnExpandable()
        ? count
        : std::min(activeForm_->numberOfColumns(), count);
    if (last > firstFormColumnIndex)
        activeForm_->setColumnString(columns.value(qsizetype(last - 1)), last - 1);
    for (quint64 index = firstFormColumnIndex; index + 1 < last; ++index)
        activeForm_->setColumnString(columns.value(qsizetype(index)), index);
    // Columns the kept text does not reach must not keep another card's text.
    activeForm_->resetColumnsAfterIndex(std::max(last, firstFormColumnIndex));
}

void ModelEditWindowCardViewController::setCardTextColumnsShown(
    const UFemCardTextColumns* textColumns)
{
    requireOneCardViewShown(notOneCardView);
    // A line that failed to read whole has no columns to show.
    if (textColumns == nullptr || textColumns->errorCardString().has_value()
        || textColumns->numberOfColumns() == 0) {
        clearView();
        if (textColumns != nullptr)
            setCommentString(textColumns->commentString().value_or(QString()));
        return;
    }
    const OneCardView& view = shownOneCardView();
    const bool hasName = textColumns->numberOfColumns() >= 2;
    view.nameField->setText(
        hasName ? textColumns->cardNameString().value_or(QString()) : QString());
    if (view.kindField != nullptr)
        view.kindField->setText(
            hasName ? textColumns->cardLabelString().value_or(QString()) : QString());
    view.commentField->setText(textColumns->commentString().value_or(QString()));
    if (activeForm_ != nullptr) {
        activeForm_->setCardTextColumns(*textColumns);
        return;
    }
    setGeneralCells(
        [textColumns](
            quint64 index) { return textColumns->columnStringAtIndex(index).value_or(QString()); },
        textColumns->numberOfColumns());
}

UFemCardTextColumnsPtr ModelEditWindowCardViewController::cardTextColumns(UErrorPtr* error) const
{
    requireOneCardViewShown(notOneCardViewType);
    const OneCardView& view = shownOneCardView();
    auto textColumns = std::make_shared<UFemCardTextColumns>();
    const QString label = view.kindField != nullptr
        ? view.kindField->text()
        : (kindOfCardClass_ != nullptr ? kindOfCardClass_->cardLabelString() : QString());
    if (!textColumns->setColumnString(label, 0, error)
        || !textColumns->setColumnString(view.nameField->text(), 1, error))
        return nullptr;
    const QString comment = trimmedOfSpacesAndTabs(view.commentField->text());
    if (!comment.isEmpty() && !textColumns->setCommentString(comment, error))
        return nullptr;
    if (activeForm_ != nullptr) {
        for (quint64 index = firstFormColumnIndex; index < activeForm_->numberOfCurrentColumns();
             ++index) {
            if (!textColumns->setColumnString(
                    activeForm_->columnStringAtIndex(index), index, error))
                return nullptr;
        }
        return textColumns;
    }
    for (quint64 cell = 0; cell < generalCells_.size(); ++cell) {
        const QString text = generalCells_[cell]->text().trimmed();
        if (!text.isEmpty()
            && !textColumns->setColumnString(text, cell + firstFormColumnIndex, error))
            return nullptr;
    }
    return textColumns;
}
