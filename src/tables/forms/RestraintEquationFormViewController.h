#pragma once

#include "tables/forms/CardFormViewControllerAbst.h"

#include <QSize>

#include <memory>
#include <vector>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The RestraintEquation form: the base value and its degree of freedom, then value/DOF pairs as
// rows that grow and shrink with the card, each with an insert and a remove button, and an add
// button below. Column n from 4 on is cell n - 4 of the pairs (cell 2k the value of pair k,
// 2k + 1 its degree of freedom).
class RestraintEquationFormViewController : public CardFormViewControllerAbst {
public:
    // Every pair beyond the first adds this much to the form's minimum height.
    static constexpr int argumentPairHeight = 60;

    RestraintEquationFormViewController();
    ~RestraintEquationFormViewController() override;

    const UFemCardClass& cardClass() const override;
    quint64 numberOfCurrentColumns() const override;
    // Columns below 2 are never emptied: they are not the form's.
    void resetColumnsAfterIndex(quint64 columnIndex) override;

    QWidget* cardFormView() override;
    QSize cardFormViewMinSize() const override { return cardFormViewMinSize_; }
    QSize cardFormViewInitialSize() const { return cardFormViewInitialSize_; }

    QString columnStringAtIndex(quint64 columnIndex) const override;
    void setColumnString(const QString& string, quint64 columnIndex) override;
    void setEnabled(bool enabled) override;
    void setEditable(bool editable) override;
    QWidget* firstKeyView() override;
    QWidget* lastKeyView() override;
    // Grows to the card's pairs in one step, so the view places the form once.
    void setCardTextColumns(const UFemCardTextColumns& textColumns) override;

    quint64 argumentPairColumnCount() const { return argumentPairColumnCount_; }
    void addArgumentColumnAtLast();
    // The only pair stays: 81004 "Minimum one pair of value, DOF columns.", nothing changes.
    [[nodiscard]] bool removeArgumentColumnAtLast(UErrorPtr* error);

    void addArgumentColumnButtonPushed();
    // A blank pair before pair `tag`.
    void insertArgumentColumnButtonPushed(quint64 tag);
    // Pair `tag` goes, the later ones move up; nothing with one pair.
    void removeArgumentColumnButtonPushed(quint64 tag);

    // The buttons of the pairs shown: insert of pair k at 2k, its remove button at 2k + 1.
    std::vector<QPushButton*> insertRemoveArgumentColumnButtonArray() const;

private:
    // Children of the argument form.
    struct ArgumentPair {
        QLabel* valueLabel;
        QLineEdit* valueField;
        QLabel* degreeOfFreedomLabel;
        QLineEdit* degreeOfFreedomField;
        QPushButton* insertButton;
        QPushButton* removeButton;
    };

    void makeArgumentPair(quint64 pairIndex);
    void setArgumentPairColumnCount(quint64 count);
    QLineEdit* argumentCell(quint64 cellIndex) const;
    void copyPair(quint64 from, quint64 to);
    void applyEditability(const ArgumentPair& pair) const;

    std::unique_ptr<QGroupBox> formView_;
    QLineEdit* baseValueField_ = nullptr;
    QLineEdit* degreeOfFreedomField_ = nullptr;
    QWidget* argumentColumnForm_ = nullptr;
    QGridLayout* argumentLayout_ = nullptr;
    QPushButton* addButton_ = nullptr;
    // Pairs made so far; those beyond the count shown are hidden, empty, for the next growth.
    std::vector<ArgumentPair> argumentPairs_;
    quint64 argumentPairColumnCount_ = 0;
    QSize cardFormViewInitialSize_;
    QSize cardFormViewMinSize_;
    bool isEnabled_ = true;
    bool isEditable_ = true;
};
