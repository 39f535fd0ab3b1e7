#pragma once

#include "documents/preferences/UFemPreferencesViewController.h"
#include "foundation/errors/UError.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QVariantMap>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class UFemTableViewController;
class UFemUserPreferences;

// The small view in which the user edits a card table's view preferences; the window's view
// settings sheet fills it and reads it back. Its fields mirror the controls: a state of 1 is on.
class UFemTableViewPreferencesViewController : public QObject,
                                               public UFemPreferencesViewController {
    Q_OBJECT
public:
    UFemTableViewPreferencesViewController();
    ~UFemTableViewPreferencesViewController() override;

    void setDelegate(UFemTableViewController* delegate) { delegate_ = delegate; }
    std::shared_ptr<const UFemUserPreferences> documentUserPreferences() const;

    QWidget* preferencesViewBox() const override
    {
        return tableViewPreferencesViewBoxOutlet_.get();
    }
    QSize preferencesViewBoxSize() const override { return tableViewPreferencesViewBoxSize_; }

    bool isCardTableViewOtherValueActive() const
    {
        return cardTableViewOtherValueActiveState_ == 1;
    }
    bool isResultTableViewActive() const { return resultTableViewActiveState_ == 1; }

    // Never fails.
    QVariantMap viewPreferences(UErrorPtr* error) const override;
    [[nodiscard]] bool setViewPreferences(
        const QVariantMap& viewPreferences, UErrorPtr* error) override;

    QString resultTableViewCardValueListString() const { return QString(); }
    void setResultTableViewCardValueListString(const QString&) { }
    void setErrorMessageString(const QString& message) const;

private:
    void awakeFromNib();
    void takeStatesFromControls();
    void showStatesInControls();

    // Lent to the view settings sheet while it is up, which hands it back when it ends.
    std::unique_ptr<QWidget> tableViewPreferencesViewBoxOutlet_;
    QSize tableViewPreferencesViewBoxSize_;
    qint64 cardRowIndexColumnActiveState_ = 1;
    qint64 cardNameStringColumnActiveState_ = 0;
    qint64 cardStringColumnActiveState_ = 1;
    qint64 errorStringColumnActiveState_ = 0;
    qint64 cardTableViewOtherValueActiveState_ = 0;
    QString cardTableViewOtherValueListString_;
    qint64 resultTableViewActiveState_ = 0;
    QString resultTableViewCardValueExprListString_;
    UFemTableViewController* delegate_ = nullptr;

    QCheckBox* rowIndexBox_ = nullptr;
    QCheckBox* nameBox_ = nullptr;
    QCheckBox* cardStringBox_ = nullptr;
    QCheckBox* errorStringBox_ = nullptr;
    QCheckBox* otherValueBox_ = nullptr;
    QLineEdit* otherValueField_ = nullptr;
    QCheckBox* resultTableBox_ = nullptr;
    QPlainTextEdit* resultTableField_ = nullptr;
};
