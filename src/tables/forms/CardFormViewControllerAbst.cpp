#include "tables/forms/CardFormViewControllerAbst.h"

#include "cardmodel/card/UFemCardClass.h"
#include "foundation/errors/UException.h"

#include <QWidget>

namespace {

constexpr quint64 firstFormColumnIndex = 2;

[[noreturn]] void raiseMustBeOverwritten()
{
    UFemRaiseCardClassProgramError(QStringLiteral("This method must be overwrite."));
}

} // namespace

bool UFemCardFormViewController::isColumnExpandable() const
{
    return numberOfColumns() == UFemColumnExpandableNumberOfColumns;
}

const UFemCardClass& CardFormViewControllerAbst::cardClass() const
{
    raiseMustBeOverwritten();
}

quint64 CardFormViewControllerAbst::numberOfColumns() const
{
    return cardClass().numberOfColumns();
}

void CardFormViewControllerAbst::resetColumnsAfterIndex(quint64 columnIndex)
{
    const quint64 count = numberOfCurrentColumns();
    for (quint64 index = std::max(columnIndex, firstFormColumnIndex); index < count; ++index)
        setColumnString(QString(), index);
}

QWidget* CardFormViewControllerAbst::cardFormView()
{
    raiseMustBeOverwritten();
}

QSize CardFormViewControllerAbst::cardFormViewMinSize() const
{
    raiseMustBeOverwritten();
}

QString CardFormViewControllerAbst::columnStringAtIndex(quint64) const
{
    raiseMustBeOverwritten();
}

void CardFormViewControllerAbst::setColumnString(const QString&, quint64)
{
    raiseMustBeOverwritten();
}

void CardFormViewControllerAbst::setEnabled(bool)
{
    raiseMustBeOverwritten();
}

void CardFormViewControllerAbst::setEditable(bool)
{
    raiseMustBeOverwritten();
}

QWidget* CardFormViewControllerAbst::firstKeyView()
{
    raiseMustBeOverwritten();
}

QWidget* CardFormViewControllerAbst::lastKeyView()
{
    raiseMustBeOverwritten();
}

UFemCardTextColumnsPtr CardFormViewControllerAbst::cardTextColumns(UErrorPtr* error) const
{
    auto textColumns = std::make_shared<UFemCardTextColumns>();
    const quint64 count = numberOfCurrentColumns();
    for (quint64 index = firstFormColumnIndex; index < count; ++index) {
        if (!textColumns->setColumnString(columnStringAtIndex(index), index, error))
            return nullptr;
    }
    return textColumns;
}

void CardFormViewControllerAbst::setCardTextColumns(const UFemCardTextColumns& textColumns)
{
    if (!isColumnExpandable()) {
        const quint64 count = numberOfColumns();
        for (quint64 index = firstFormColumnIndex; index < count; ++index)
            setColumnString(textColumns.columnStringAtIndex(index).value_or(QString()), index);
        return;
    }
    const quint64 count = textColumns.numberOfColumns();
    for (quint64 index = firstFormColumnIndex; index < count; ++index)
        setColumnString(textColumns.columnStringAtIndex(index).value_or(QString()), index);
    resetColumnsAfterIndex(count);
}

void CardFormViewControllerAbst::resetCardTextColumns()
{
    // A varying form stops at what it shows: its class count has no end.
    const quint64 count = numberOfCurrentColumns();
    for (quint64 index = firstFormColumnIndex; index < count; ++index)
        setColumnString(QString(), index);
}

void CardFormViewControllerAbst::setNextKeyViewOnLastView(QWidget* view)
{
    QWidget::setTabOrder(lastKeyView(), view);
}
