#pragma once

#include "tables/forms/UFemCardFormViewController.h"

// The base of the card forms: moves whole cards' text columns in and out through the forms'
// per-column operations. What only a concrete form can answer raises the card class program
// error here, and a form passes the columns it does not have on to this base.
class CardFormViewControllerAbst : public UFemCardFormViewController {
public:
    CardFormViewControllerAbst() = default;
    CardFormViewControllerAbst(const CardFormViewControllerAbst&) = delete;
    CardFormViewControllerAbst& operator=(const CardFormViewControllerAbst&) = delete;

    // The one form of a form class, made on first use and kept until the application goes;
    // nullptr for a name no form answers to.
    static UFemCardFormViewController* sharedCardFormViewController(const QString& formClassName);
    // The form the class names; nullptr for a class without one.
    static UFemCardFormViewController* sharedCardFormViewController(const UFemCardClass& cardClass);

    const UFemCardClass& cardClass() const override;
    quint64 numberOfColumns() const override;
    quint64 numberOfCurrentColumns() const override { return numberOfColumns(); }
    void resetColumnsAfterIndex(quint64 columnIndex) override;

    void setDelegate(UFemCardFormViewControllerDelegate* delegate) override
    {
        delegate_ = delegate;
    }
    UFemCardFormViewControllerDelegate* delegate() const { return delegate_; }
    QWidget* cardFormView() override;
    QSize cardFormViewMinSize() const override;

    QString columnStringAtIndex(quint64 columnIndex) const override;
    void setColumnString(const QString& string, quint64 columnIndex) override;
    void setEnabled(bool enabled) override;
    void setEditable(bool editable) override;
    QWidget* firstKeyView() override;
    QWidget* lastKeyView() override;

    [[nodiscard]] UFemCardTextColumnsPtr cardTextColumns(UErrorPtr* error) const override;
    void setCardTextColumns(const UFemCardTextColumns& textColumns) override;
    void resetCardTextColumns() override;
    void setNextKeyViewOnLastView(QWidget* view) override;

private:
    UFemCardFormViewControllerDelegate* delegate_ = nullptr;
};
