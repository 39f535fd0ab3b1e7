#include "tables/forms/RestraintEquationFormViewController.h"

#include "appkit/WholeTextField.h"
#include "cards/loads/RestraintEquation.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"
#include "tables/forms/UFemCardFormViewControllerDelegate.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr quint64 baseValueColumnIndex
    = RestraintEquation::restraintDegreeOfFreedomBaseValueColumnIndex;
constexpr quint64 degreeOfFreedomColumnIndex
    = RestraintEquation::restraintDegreeOfFreedomColumnIndex;
constexpr quint64 firstArgumentColumnIndex = RestraintEquation::firstArgumentColumnIndex;
constexpr quint64 columnsPerPair = 2;
// The columns of a card with one pair: label, name, base value, its DOF, value, DOF.
constexpr quint64 onePairColumnCount = firstArgumentColumnIndex + columnsPerPair;

enum ArgumentGridColumn { labelColumn, fieldColumn, buttonColumn };

QLineEdit* makeField(const char* objectName, QWidget* parent)
{
    auto* field = new WholeTextField(parent);
    field->setObjectName(QString::fromLatin1(objectName));
    return field;
}

QPushButton* makeButton(const QString& title, QWidget* parent)
{
    auto* button = new QPushButton(title, parent);
    button->setAutoDefault(false);
    return button;
}

// The pairs a column count holds, a half-given last pair counted whole.
quint64 pairCountOfColumnCount(quint64 columnCount)
{
    if (columnCount <= onePairColumnCount)
        return 1;
    return (columnCount - firstArgumentColumnIndex + 1) / columnsPerPair;
}

} // namespace

RestraintEquationFormViewController::RestraintEquationFormViewController()
    : formView_(std::make_unique<QGroupBox>())
{
    formView_->setObjectName(QStringLiteral("restraintEquationFormViewOutlet"));
    auto* layout = new QGridLayout(formView_.get());
    layout->setAlignment(Qt::AlignTop);
    baseValueField_ = makeField("degreeOfFreedomBaseValueFieldOutlet", formView_.get());
    degreeOfFreedomField_ = makeField("degreeOfFreedomFieldOutlet", formView_.get());
    const UFemCardClass& cardClass = RestraintEquation::cardClassObject();
    int row = 0;
    for (QLineEdit* field : { baseValueField_, degreeOfFreedomField_ }) {
        const quint64 columnIndex = baseValueColumnIndex + quint64(row);
        layout->addWidget(
            new QLabel(cardClass.columnLabelStringAtIndex(columnIndex) + u':', formView_.get()),
            row, labelColumn, Qt::AlignRight);
        layout->addWidget(field, row++, fieldColumn);
    }
    argumentColumnForm_ = new QWidget(formView_.get());
    argumentColumnForm_->setObjectName(QStringLiteral("argumentColumnFormOutlet"));
    argumentLayout_ = new QGridLayout(argumentColumnForm_);
    argumentLayout_->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(argumentColumnForm_, row++, labelColumn, 1, 3);
    addButton_ = makeButton(QStringLiteral("Add"), formView_.get());
    addButton_->setObjectName(QStringLiteral("addArgumentColumnButtonOutlet"));
    QObject::connect(
        addButton_, &QPushButton::clicked, addButton_, [this] { addArgumentColumnButtonPushed(); });
    layout->addWidget(addButton_, row, buttonColumn);
    QWidget::setTabOrder(baseValueField_, degreeOfFreedomField_);

    makeArgumentPair(0);
    argumentPairs_[0].insertButton->setObjectName(
        QStringLiteral("insertArgumentColumn_1_ButtonOutlet"));
    argumentPairs_[0].removeButton->setObjectName(
        QStringLiteral("removeArgumentColumn_1_ButtonOutlet"));
    argumentPairs_[0].removeButton->setEnabled(false);
    argumentPairColumnCount_ = 1;
    formView_->adjustSize();
    cardFormViewInitialSize_ = formView_->sizeHint();
    cardFormViewMinSize_ = cardFormViewInitialSize_;
}

RestraintEquationFormViewController::~RestraintEquationFormViewController() = default;

const UFemCardClass& RestraintEquationFormViewController::cardClass() const
{
    return RestraintEquation::cardClassObject();
}

quint64 RestraintEquationFormViewController::numberOfCurrentColumns() const
{
    return columnsPerPair * argumentPairColumnCount_ + firstArgumentColumnIndex;
}

QWidget* RestraintEquationFormViewController::cardFormView()
{
    return formView_.get();
}

void RestraintEquationFormViewController::makeArgumentPair(quint64 pairIndex)
{
    ArgumentPair pair {
        new QLabel(UFormattedString("Value %lu:", pairIndex + 1), argumentColumnForm_),
        new WholeTextField(argumentColumnForm_),
        new QLabel(UFormattedString("DOF %lu:", pairIndex + 1), argumentColumnForm_),
        new WholeTextField(argumentColumnForm_),
        makeButton(QStringLiteral("Insert"), argumentColumnForm_),
        makeButton(QStringLiteral("Remove"), argumentColumnForm_),
    };
    QObject::connect(pair.insertButton, &QPushButton::clicked, pair.insertButton,
        [this, pairIndex] { insertArgumentColumnButtonPushed(pairIndex); });
    QObject::connect(pair.removeButton, &QPushButton::clicked, pair.removeButton,
        [this, pairIndex] { removeArgumentColumnButtonPushed(pairIndex); });
    const int row = int(pairIndex * columnsPerPair);
    argumentLayout_->addWidget(pair.valueLabel, row, labelColumn, Qt::AlignRight);
    argumentLayout_->addWidget(pair.valueField, row, fieldColumn);
    argumentLayout_->addWidget(pair.insertButton, row, buttonColumn);
    argumentLayout_->addWidget(pair.degreeOfFreedomLabel, row + 1, labelColumn, Qt::AlignRight);
    argumentLayout_->addWidget(pair.degreeOfFreedomField, row + 1, fieldColumn);
    argumentLayout_->addWidget(pair.removeButton, row + 1, buttonColumn);
    QWidget* previous = pairIndex == 0 ? degreeOfFreedomField_
                                       : argumentPairs_[pairIndex - 1].degreeOfFreedomField;
    QWidget::setTabOrder(previous, pair.valueField);
    QWidget::setTabOrder(pair.valueField, pair.degreeOfFreedomField);
    applyEditability(pair);
    argumentPairs_.push_back(pair);
}

void RestraintEquationFormViewController::applyEditability(const ArgumentPair& pair) const
{
    for (QLineEdit* field : { pair.valueField, pair.degreeOfFreedomField }) {
        field->setEnabled(isEnabled_);
        field->setReadOnly(!isEditable_);
    }
}

// Shows `count` pairs: pairs made before are shown again, pairs that go are emptied and hidden.
void RestraintEquationFormViewController::setArgumentPairColumnCount(quint64 count)
{
    if (count == argumentPairColumnCount_)
        return;
    // Showing a child of a shown widget lays its parent out at once: the pairs change while
    // their form is hidden, so that it is laid out once, not once per widget.
    const bool isShown = argumentColumnForm_->isVisible();
    if (isShown)
        argumentColumnForm_->hide();
    while (argumentPairs_.size() < count)
        makeArgumentPair(argumentPairs_.size());
    for (quint64 index = 0; index < argumentPairs_.size(); ++index) {
        const ArgumentPair& pair = argumentPairs_[index];
        const bool isVisible = index < count;
        if (!isVisible && index >= argumentPairColumnCount_)
            break;
        if (!isVisible) {
            pair.valueField->clear();
            pair.degreeOfFreedomField->clear();
        } else if (index >= argumentPairColumnCount_) {
            applyEditability(pair);
        }
        for (QWidget* widget :
            { static_cast<QWidget*>(pair.valueLabel), static_cast<QWidget*>(pair.valueField),
                static_cast<QWidget*>(pair.degreeOfFreedomLabel),
                static_cast<QWidget*>(pair.degreeOfFreedomField),
                static_cast<QWidget*>(pair.insertButton),
                static_cast<QWidget*>(pair.removeButton) })
            widget->setVisible(isVisible);
    }
    argumentPairColumnCount_ = count;
    argumentPairs_[0].removeButton->setEnabled(count > 1);
    cardFormViewMinSize_ = QSize(cardFormViewInitialSize_.width(),
        cardFormViewInitialSize_.height() + argumentPairHeight * int(count - 1));
    if (isShown)
        argumentColumnForm_->show();
    if (delegate() != nullptr)
        delegate()->reconnectCardFormViewWithCardFormViewController(*this);
}

void RestraintEquationFormViewController::addArgumentColumnAtLast()
{
    setArgumentPairColumnCount(argumentPairColumnCount_ + 1);
}

bool RestraintEquationFormViewController::removeArgumentColumnAtLast(UErrorPtr* error)
{
    if (argumentPairColumnCount_ <= 1) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("Minimum one pair of value, DOF columns.")));
        return false;
    }
    setArgumentPairColumnCount(argumentPairColumnCount_ - 1);
    return true;
}

QLineEdit* RestraintEquationFormViewController::argumentCell(quint64 cellIndex) const
{
    const ArgumentPair& pair = argumentPairs_[cellIndex / columnsPerPair];
    return cellIndex % columnsPerPair == 0 ? pair.valueField : pair.degreeOfFreedomField;
}

QString RestraintEquationFormViewController::columnStringAtIndex(quint64 columnIndex) const
{
    if (columnIndex == baseValueColumnIndex)
        return baseValueField_->text();
    if (columnIndex == degreeOfFreedomColumnIndex)
        return degreeOfFreedomField_->text();
    if (columnIndex >= firstArgumentColumnIndex && columnIndex < numberOfCurrentColumns())
        return argumentCell(columnIndex - firstArgumentColumnIndex)->text();
    return CardFormViewControllerAbst::columnStringAtIndex(columnIndex);
}

void RestraintEquationFormViewController::setColumnString(
    const QString& string, quint64 columnIndex)
{
    if (columnIndex < baseValueColumnIndex) {
        CardFormViewControllerAbst::setColumnString(string, columnIndex);
        return;
    }
    const QString text = string.isNull() ? QStringLiteral("") : string;
    if (columnIndex == baseValueColumnIndex) {
        baseValueField_->setText(text);
    } else if (columnIndex == degreeOfFreedomColumnIndex) {
        degreeOfFreedomField_->setText(text);
    } else {
        if (columnIndex >= numberOfCurrentColumns())
            setArgumentPairColumnCount(pairCountOfColumnCount(columnIndex + 1));
        argumentCell(columnIndex - firstArgumentColumnIndex)->setText(text);
    }
}

void RestraintEquationFormViewController::setCardTextColumns(const UFemCardTextColumns& textColumns)
{
    setArgumentPairColumnCount(pairCountOfColumnCount(textColumns.numberOfColumns()));
    CardFormViewControllerAbst::setCardTextColumns(textColumns);
}

void RestraintEquationFormViewController::resetColumnsAfterIndex(quint64 columnIndex)
{
    const quint64 index = std::max(columnIndex, baseValueColumnIndex);
    if (index < onePairColumnCount) {
        for (quint64 column = index; column < onePairColumnCount; ++column)
            setColumnString(QString(), column);
        setArgumentPairColumnCount(1);
        return;
    }
    // An odd index is the DOF of a last pair given only its value.
    if ((index - firstArgumentColumnIndex) % columnsPerPair == 1)
        setColumnString(QString(), index);
    const quint64 pairCount = pairCountOfColumnCount(index);
    if (argumentPairColumnCount_ > pairCount)
        setArgumentPairColumnCount(pairCount);
}

void RestraintEquationFormViewController::setEnabled(bool enabled)
{
    isEnabled_ = enabled;
    baseValueField_->setEnabled(enabled);
    degreeOfFreedomField_->setEnabled(enabled);
    for (quint64 index = 0; index < argumentPairColumnCount_; ++index)
        applyEditability(argumentPairs_[index]);
}

void RestraintEquationFormViewController::setEditable(bool editable)
{
    isEditable_ = editable;
    baseValueField_->setReadOnly(!editable);
    degreeOfFreedomField_->setReadOnly(!editable);
    for (quint64 index = 0; index < argumentPairColumnCount_; ++index)
        applyEditability(argumentPairs_[index]);
}

QWidget* RestraintEquationFormViewController::firstKeyView()
{
    return baseValueField_;
}

QWidget* RestraintEquationFormViewController::lastKeyView()
{
    return argumentPairs_[argumentPairColumnCount_ - 1].degreeOfFreedomField;
}

void RestraintEquationFormViewController::copyPair(quint64 from, quint64 to)
{
    argumentPairs_[to].valueField->setText(argumentPairs_[from].valueField->text());
    argumentPairs_[to].degreeOfFreedomField->setText(
        argumentPairs_[from].degreeOfFreedomField->text());
}

void RestraintEquationFormViewController::addArgumentColumnButtonPushed()
{
    addArgumentColumnAtLast();
}

void RestraintEquationFormViewController::insertArgumentColumnButtonPushed(quint64 tag)
{
    if (tag >= argumentPairColumnCount_)
        return;
    addArgumentColumnAtLast();
    for (quint64 index = argumentPairColumnCount_ - 1; index > tag; --index)
        copyPair(index - 1, index);
    argumentPairs_[tag].valueField->clear();
    argumentPairs_[tag].degreeOfFreedomField->clear();
}

void RestraintEquationFormViewController::removeArgumentColumnButtonPushed(quint64 tag)
{
    if (argumentPairColumnCount_ <= 1 || tag >= argumentPairColumnCount_)
        return;
    for (quint64 index = tag; index + 1 < argumentPairColumnCount_; ++index)
        copyPair(index + 1, index);
    setArgumentPairColumnCount(argumentPairColumnCount_ - 1);
}

std::vector<QPushButton*>
RestraintEquationFormViewController::insertRemoveArgumentColumnButtonArray() const
{
    std::vector<QPushButton*> buttons;
    buttons.reserve(argumentPairColumnCount_ * columnsPerPair);
    for (quint64 index = 0; index < argumentPairColumnCount_; ++index) {
        buttons.push_back(argumentPairs_[index].insertButton);
        buttons.push_back(argumentPairs_[index].removeButton);
    }
    return buttons;
}
