#include "tables/resulttable/UFemResultTableSettingPanel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

UFemResultTableSettingPanel::UFemResultTableSettingPanel(QWidget* parent)
    : QDialog(parent)
    , activeStateCheckBox_(new QCheckBox(tr("Show Result Table"), this))
    , listTextEdit_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("resultTableViewSettingPanelOutlet"));
    activeStateCheckBox_->setObjectName(QStringLiteral("resultTableViewActiveState_settingPanel"));
    listTextEdit_->setObjectName(
        QStringLiteral("resultTableViewCardValueExprListString_settingPanel"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { emit buttonPushed(okButtonTag); });
    connect(cancel, &QPushButton::clicked, this, [this] { emit buttonPushed(cancelButtonTag); });
    connect(activeStateCheckBox_, &QCheckBox::toggled, listTextEdit_, &QWidget::setEnabled);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(activeStateCheckBox_);
    layout->addWidget(new QLabel(tr("Card Value Expression List:"), this));
    layout->addWidget(listTextEdit_);
    layout->addWidget(buttons);
    listTextEdit_->setEnabled(false);
}

qint64 UFemResultTableSettingPanel::resultTableViewActiveState_settingPanel() const
{
    return activeStateCheckBox_->isChecked() ? 1 : 0;
}

void UFemResultTableSettingPanel::setResultTableViewActiveState_settingPanel(qint64 state)
{
    activeStateCheckBox_->setChecked(state != 0);
    listTextEdit_->setEnabled(state != 0);
}

QString UFemResultTableSettingPanel::resultTableViewCardValueExprListString_settingPanel() const
{
    return listTextEdit_->toPlainText();
}

void UFemResultTableSettingPanel::setResultTableViewCardValueExprListString_settingPanel(
    const QString& string)
{
    listTextEdit_->setPlainText(string);
}
