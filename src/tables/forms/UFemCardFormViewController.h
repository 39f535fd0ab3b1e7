#pragma once

#include "cardmodel/card/UFemCardTextColumns.h"
#include "foundation/errors/UError.h"

#include <QSize>
#include <QString>

class QWidget;
class UFemCardClass;
class UFemCardFormViewControllerDelegate;

// The form that shows or takes one card of a class in the model edit window: one control per
// card column from column 2 on (the label, the name and the comment are shown around it).
class UFemCardFormViewController {
public:
    virtual ~UFemCardFormViewController() = default;

    virtual const UFemCardClass& cardClass() const = 0;
    // The class's count, counting columns 0 and 1; UFemColumnExpandableNumberOfColumns for a form
    // whose count varies, which then answers the count it shows.
    virtual quint64 numberOfColumns() const = 0;
    virtual quint64 numberOfCurrentColumns() const = 0;
    bool isColumnExpandable() const;
    // Empties the columns from `columnIndex` on; a form with a varying count also drops what it
    // shows beyond them.
    virtual void resetColumnsAfterIndex(quint64 columnIndex) = 0;

    // Not owned; set by the view each time it puts the form on screen.
    virtual void setDelegate(UFemCardFormViewControllerDelegate* delegate) = 0;
    // The form's view, kept by the form for the whole run. A view that shows it borrows it and
    // gives it back (parent unset) before it goes.
    virtual QWidget* cardFormView() = 0;
    virtual QSize cardFormViewMinSize() const = 0;

    // Column 0, 1 or one beyond the form raises the card class program error.
    virtual QString columnStringAtIndex(quint64 columnIndex) const = 0;
    // A null text shows as "".
    virtual void setColumnString(const QString& string, quint64 columnIndex) = 0;
    virtual void setEnabled(bool enabled) = 0;
    // Text fields become read-only; popups and buttons are disabled.
    virtual void setEditable(bool editable) = 0;
    virtual QWidget* firstKeyView() = 0;
    virtual QWidget* lastKeyView() = 0;

    // The form's columns 2 on (0 and 1 stay unset); nullptr with the error when a control holds
    // a text that is not one column.
    [[nodiscard]] virtual UFemCardTextColumnsPtr cardTextColumns(UErrorPtr* error) const = 0;
    // Columns the text columns lack show empty.
    virtual void setCardTextColumns(const UFemCardTextColumns& textColumns) = 0;
    virtual void resetCardTextColumns() = 0;
    virtual void setNextKeyViewOnLastView(QWidget* view) = 0;
};
