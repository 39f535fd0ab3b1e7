#include "tables/forms/FixedCardFormViewController.h"

#include "appkit/WholeTextField.h"
#include "cardmodel/card/UFemCardClass.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// Marks the popup item that keeps a text naming none of the popup's own items.
constexpr int keptTextItemRole = Qt::UserRole + 1;

} // namespace

FixedCardFormViewController::FixedCardFormViewController(const CardFormDescription& description)
    : description_(description)
    , formView_(std::make_unique<QGroupBox>())
    , formLayout_(new QGridLayout(formView_.get()))
{
    formView_->setObjectName(QString::fromLatin1(description.formViewObjectName));
    for (std::size_t i = 0; i < description.columns.size(); ++i)
        addColumnRow(description.columns[i], firstColumnIndex + i);
    formLayout_->setAlignment(Qt::AlignTop);
    for (std::size_t i = 1; i < controls_.size(); ++i)
        QWidget::setTabOrder(controls_[i - 1], controls_[i]);
    recordCardFormViewMinSize();
}

FixedCardFormViewController::~FixedCardFormViewController() = default;

const UFemCardClass& FixedCardFormViewController::cardClass() const
{
    return description_.cardClass();
}

QWidget* FixedCardFormViewController::cardFormView()
{
    return formView_.get();
}

void FixedCardFormViewController::addColumnRow(
    const CardFormColumnDescription& column, quint64 columnIndex)
{
    const int row = formLayout_->rowCount();
    auto* label
        = new QLabel(cardClass().columnLabelStringAtIndex(columnIndex) + u':', formView_.get());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    formLayout_->addWidget(label, row, 0);
    QWidget* control = nullptr;
    if (column.popupItemTitles.isEmpty()) {
        control = new WholeTextField(formView_.get());
    } else {
        auto* popup = new QComboBox(formView_.get());
        popup->addItems(column.popupItemTitles);
        control = popup;
    }
    control->setObjectName(QString::fromLatin1(column.objectName));
    label->setBuddy(control);
    formLayout_->addWidget(control, row, 1);
    controls_.push_back(control);
}

void FixedCardFormViewController::recordCardFormViewMinSize()
{
    formView_->adjustSize();
    cardFormViewMinSize_ = formView_->sizeHint();
}

QWidget* FixedCardFormViewController::controlAtColumn(quint64 columnIndex) const
{
    if (columnIndex < firstColumnIndex || columnIndex - firstColumnIndex >= controls_.size())
        return nullptr;
    return controls_[columnIndex - firstColumnIndex];
}

QLineEdit* FixedCardFormViewController::lineEditAtColumn(quint64 columnIndex) const
{
    return qobject_cast<QLineEdit*>(controlAtColumn(columnIndex));
}

QString FixedCardFormViewController::columnStringAtIndex(quint64 columnIndex) const
{
    QWidget* control = controlAtColumn(columnIndex);
    if (control == nullptr)
        return CardFormViewControllerAbst::columnStringAtIndex(columnIndex);
    if (auto* popup = qobject_cast<QComboBox*>(control))
        return popup->currentText();
    return static_cast<QLineEdit*>(control)->text();
}

void FixedCardFormViewController::setColumnString(const QString& string, quint64 columnIndex)
{
    QWidget* control = controlAtColumn(columnIndex);
    if (control == nullptr) {
        CardFormViewControllerAbst::setColumnString(string, columnIndex);
        return;
    }
    const QString text = string.isNull() ? QStringLiteral("") : string;
    if (auto* popup = qobject_cast<QComboBox*>(control))
        selectPopupItemTitled(*popup, text);
    else
        static_cast<QLineEdit*>(control)->setText(text);
}

// A text that names none of the popup's items is kept as one extra item, so that showing a card
// and applying it unchanged never changes the card.
void FixedCardFormViewController::selectPopupItemTitled(QComboBox& popup, const QString& title)
{
    const int keptIndex = popup.findData(true, keptTextItemRole);
    const int index = popup.findText(title, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0 && index != keptIndex) {
        popup.setCurrentIndex(index);
        if (keptIndex >= 0)
            popup.removeItem(keptIndex);
        return;
    }
    if (keptIndex >= 0) {
        popup.setItemText(keptIndex, title);
        popup.setCurrentIndex(keptIndex);
        return;
    }
    popup.addItem(title);
    popup.setItemData(popup.count() - 1, true, keptTextItemRole);
    popup.setCurrentIndex(popup.count() - 1);
}

void FixedCardFormViewController::setEnabled(bool enabled)
{
    for (QWidget* control : controls_)
        control->setEnabled(enabled);
}

void FixedCardFormViewController::setEditable(bool editable)
{
    for (QWidget* control : controls_) {
        if (auto* field = qobject_cast<QLineEdit*>(control))
            field->setReadOnly(!editable);
        else
            control->setEnabled(editable);
    }
}

QWidget* FixedCardFormViewController::firstKeyView()
{
    return controlAtColumn(description_.firstKeyColumnIndex);
}

QWidget* FixedCardFormViewController::lastKeyView()
{
    return controlAtColumn(description_.lastKeyColumnIndex);
}
