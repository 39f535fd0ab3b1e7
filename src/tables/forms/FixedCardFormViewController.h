#pragma once

#include "tables/forms/CardFormDescription.h"
#include "tables/forms/CardFormViewControllerAbst.h"

#include <QSize>

#include <memory>
#include <vector>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;

// A form of a class with a fixed column count, built from its description: a box with one
// labelled control per column from column 2 on.
class FixedCardFormViewController : public CardFormViewControllerAbst {
public:
    explicit FixedCardFormViewController(const CardFormDescription& description);
    ~FixedCardFormViewController() override;

    const UFemCardClass& cardClass() const override;
    QWidget* cardFormView() override;
    QSize cardFormViewMinSize() const override { return cardFormViewMinSize_; }

    QString columnStringAtIndex(quint64 columnIndex) const override;
    void setColumnString(const QString& string, quint64 columnIndex) override;
    void setEnabled(bool enabled) override;
    void setEditable(bool editable) override;
    QWidget* firstKeyView() override;
    QWidget* lastKeyView() override;

protected:
    QGridLayout& formLayout() const { return *formLayout_; }
    // The text field of a column; nullptr for a popup or a column the form does not have.
    QLineEdit* lineEditAtColumn(quint64 columnIndex) const;
    // The view's size as laid out now becomes the form's minimum size.
    void recordCardFormViewMinSize();

private:
    static constexpr quint64 firstColumnIndex = 2;

    QWidget* controlAtColumn(quint64 columnIndex) const;
    void addColumnRow(const CardFormColumnDescription& column, quint64 columnIndex);
    static void selectPopupItemTitled(QComboBox& popup, const QString& title);

    const CardFormDescription& description_;
    std::unique_ptr<QGroupBox> formView_;
    QGridLayout* formLayout_ = nullptr;
    // Children of the form view, column 2 first.
    std::vector<QWidget*> controls_;
    QSize cardFormViewMinSize_;
};
