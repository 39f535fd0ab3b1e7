#include "tables/UFemTableViewPreferencesViewController.h"

#include "tables/UFemTableViewController.h"
#include "tables/UFemTableViewPreferences.h"

#include <QCheckBox>
#include <QDebug>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

QCheckBox* addCheckBox(QVBoxLayout* layout, const QString& title, const QString& name)
{
    auto* box = new QCheckBox(title);
    box->setObjectName(name);
    layout->addWidget(box);
    return box;
}

qint64 stateOf(const QVariantMap& preferences, const QString& key)
{
    return preferences.value(key).toBool() ? 1 : 0;
}

QString nonNull(const QString& string)
{
    return string.isNull() ? QStringLiteral("") : string;
}

} // namespace

UFemTableViewPreferencesViewController::UFemTableViewPreferencesViewController()
{
    awakeFromNib();
}

UFemTableViewPreferencesViewController::~UFemTableViewPreferencesViewController() = default;

// Builds the view the layout "UFemTableViewPreferencesView" describes.
void UFemTableViewPreferencesViewController::awakeFromNib()
{
    tableViewPreferencesViewBoxOutlet_ = std::make_unique<QWidget>();
    QWidget* box = tableViewPreferencesViewBoxOutlet_.get();
    box->setObjectName(QStringLiteral("tableViewPreferencesViewBoxOutlet"));
    auto* layout = new QVBoxLayout(box);
    rowIndexBox_ = addCheckBox(layout, tr("Row Index"), QStringLiteral("cardRowIndexColumnActive"));
    nameBox_ = addCheckBox(layout, tr("Card Name"), QStringLiteral("cardNameStringColumnActive"));
    cardStringBox_
        = addCheckBox(layout, tr("Card String"), QStringLiteral("cardStringColumnActive"));
    errorStringBox_
        = addCheckBox(layout, tr("Error String"), QStringLiteral("errorStringColumnActive"));
    otherValueBox_
        = addCheckBox(layout, tr("Other Value"), QStringLiteral("cardTableViewOtherValueActive"));
    otherValueField_ = new QLineEdit;
    otherValueField_->setObjectName(QStringLiteral("cardTableViewOtherValueListString"));
    layout->addWidget(otherValueField_);
    resultTableBox_
        = addCheckBox(layout, tr("Result Table"), QStringLiteral("resultTableViewActive"));
    resultTableField_ = new QPlainTextEdit;
    resultTableField_->setObjectName(QStringLiteral("resultTableViewCardValueExprListString"));
    layout->addWidget(resultTableField_);
    connect(otherValueBox_, &QCheckBox::toggled, otherValueField_, &QWidget::setEnabled);
    connect(resultTableBox_, &QCheckBox::toggled, resultTableField_, &QWidget::setEnabled);
    tableViewPreferencesViewBoxSize_ = box->sizeHint();
    showStatesInControls();
}

std::shared_ptr<const UFemUserPreferences>
UFemTableViewPreferencesViewController::documentUserPreferences() const
{
    return delegate_ ? delegate_->documentUserPreferences() : nullptr;
}

void UFemTableViewPreferencesViewController::takeStatesFromControls()
{
    cardRowIndexColumnActiveState_ = rowIndexBox_->isChecked() ? 1 : 0;
    cardNameStringColumnActiveState_ = nameBox_->isChecked() ? 1 : 0;
    cardStringColumnActiveState_ = cardStringBox_->isChecked() ? 1 : 0;
    errorStringColumnActiveState_ = errorStringBox_->isChecked() ? 1 : 0;
    cardTableViewOtherValueActiveState_ = otherValueBox_->isChecked() ? 1 : 0;
    cardTableViewOtherValueListString_ = otherValueField_->text();
    resultTableViewActiveState_ = resultTableBox_->isChecked() ? 1 : 0;
    resultTableViewCardValueExprListString_ = resultTableField_->toPlainText();
}

void UFemTableViewPreferencesViewController::showStatesInControls()
{
    rowIndexBox_->setChecked(cardRowIndexColumnActiveState_ == 1);
    nameBox_->setChecked(cardNameStringColumnActiveState_ == 1);
    cardStringBox_->setChecked(cardStringColumnActiveState_ == 1);
    errorStringBox_->setChecked(errorStringColumnActiveState_ == 1);
    otherValueBox_->setChecked(isCardTableViewOtherValueActive());
    otherValueField_->setText(cardTableViewOtherValueListString_);
    otherValueField_->setEnabled(isCardTableViewOtherValueActive());
    resultTableBox_->setChecked(isResultTableViewActive());
    resultTableField_->setPlainText(resultTableViewCardValueExprListString_);
    resultTableField_->setEnabled(isResultTableViewActive());
}

QVariantMap UFemTableViewPreferencesViewController::viewPreferences(UErrorPtr*) const
{
    auto* self = const_cast<UFemTableViewPreferencesViewController*>(this);
    self->takeStatesFromControls();
    return { { IsCardRowIndexColumnActiveTableViewPreferenceKey,
                 cardRowIndexColumnActiveState_ == 1 },
        { IsCardNameStringColumnActiveTableViewPreferenceKey,
            cardNameStringColumnActiveState_ == 1 },
        { IsCardStringColumnActiveTableViewPreferenceKey, cardStringColumnActiveState_ == 1 },
        { IsErrorStringColumnActiveTableViewPreferenceKey, errorStringColumnActiveState_ == 1 },
        { IsCardTableViewOtherValueActiveTableViewPreferenceKey,
            isCardTableViewOtherValueActive() },
        { CardTableViewOtherValueListStringTableViewPreferenceKey,
            nonNull(cardTableViewOtherValueListString_) },
        { IsResultTableViewActiveTableViewPreferenceKey, isResultTableViewActive() },
        { ResultTableViewCardValueExprListStringTableViewPreferenceKey,
            nonNull(resultTableViewCardValueExprListString_) } };
}

bool UFemTableViewPreferencesViewController::setViewPreferences(
    const QVariantMap& preferences, UErrorPtr*)
{
    cardRowIndexColumnActiveState_
        = stateOf(preferences, IsCardRowIndexColumnActiveTableViewPreferenceKey);
    cardNameStringColumnActiveState_
        = stateOf(preferences, IsCardNameStringColumnActiveTableViewPreferenceKey);
    cardStringColumnActiveState_
        = stateOf(preferences, IsCardStringColumnActiveTableViewPreferenceKey);
    errorStringColumnActiveState_
        = stateOf(preferences, IsErrorStringColumnActiveTableViewPreferenceKey);
    cardTableViewOtherValueActiveState_
        = stateOf(preferences, IsCardTableViewOtherValueActiveTableViewPreferenceKey);
    cardTableViewOtherValueListString_
        = preferences.value(CardTableViewOtherValueListStringTableViewPreferenceKey).toString();
    resultTableViewActiveState_
        = stateOf(preferences, IsResultTableViewActiveTableViewPreferenceKey);
    resultTableViewCardValueExprListString_
        = preferences.value(ResultTableViewCardValueExprListStringTableViewPreferenceKey)
              .toString();
    showStatesInControls();
    return true;
}

void UFemTableViewPreferencesViewController::setErrorMessageString(const QString& message) const
{
    qWarning().noquote() << "UFemTableViewPreferencesViewController-setErrorMessageString:";
    qWarning().noquote() << "- This method is not implemented yet.";
    qWarning().noquote() << "- ErrorMessage : " << message;
}
