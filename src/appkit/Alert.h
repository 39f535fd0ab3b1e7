#pragma once

#include "foundation/errors/UError.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

// The contents of an alert: message, informative text, style and button titles (the first is the
// default button). Answers are button indexes in the order of `buttons`.
struct Alert {
    QString messageText;
    QString informativeText;
    quint64 style = UFemAlertStyleWarning;
    // Empty means one "OK" button.
    QStringList buttons;

    // Text from the error's description, informative text from its recovery suggestion, style
    // from its alert style.
    static Alert fromError(const UError& error);

    QStringList buttonTitles() const;
    QMessageBox::Icon icon() const;
    // A message box for this alert, not yet shown. A button titled "Cancel" answers Escape.
    QMessageBox* makeMessageBox(QWidget* parent) const;
    // The index of the button that ended `box` (made by makeMessageBox); -1 when none was clicked.
    static int answerOf(const QMessageBox& box);
};
