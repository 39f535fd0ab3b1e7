#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;

// The sheet in which the user switches the result table on or off and types its card value
// expression list. Its buttons report their tags (OK 1, Cancel 0) and leave ending the sheet to
// the owner, which keeps it open after a list that does not parse.
class UFemResultTableSettingPanel : public QDialog {
    Q_OBJECT
public:
    static constexpr int okButtonTag = 1;
    static constexpr int cancelButtonTag = 0;

    explicit UFemResultTableSettingPanel(QWidget* parent = nullptr);

    qint64 resultTableViewActiveState_settingPanel() const;
    void setResultTableViewActiveState_settingPanel(qint64 state);
    QString resultTableViewCardValueExprListString_settingPanel() const;
    void setResultTableViewCardValueExprListString_settingPanel(const QString& string);

signals:
    void buttonPushed(int tag);

private:
    QCheckBox* activeStateCheckBox_;
    QPlainTextEdit* listTextEdit_;
};
