#include "appkit/Alert.h"

#include <QAbstractButton>
#include <QPushButton>

namespace {

const char* const AlertButtonIndexProperty = "alertButtonIndex";
const QString CancelButtonTitle = QStringLiteral("Cancel");

} // namespace

Alert Alert::fromError(const UError& error)
{
    Alert alert;
    alert.messageText = error.localizedDescription();
    alert.informativeText = error.localizedRecoverySuggestion();
    alert.style = error.alertStyle();
    return alert;
}

QStringList Alert::buttonTitles() const
{
    return buttons.isEmpty() ? QStringList { QStringLiteral("OK") } : buttons;
}

QMessageBox::Icon Alert::icon() const
{
    switch (style) {
    case UFemAlertStyleInformational:
        return QMessageBox::Information;
    case UFemAlertStyleCritical:
        return QMessageBox::Critical;
    default:
        return QMessageBox::Warning;
    }
}

QMessageBox* Alert::makeMessageBox(QWidget* parent) const
{
    auto* box = new QMessageBox(icon(), QString(), messageText, QMessageBox::NoButton, parent);
    box->setInformativeText(informativeText);
    const QStringList titles = buttonTitles();
    for (int i = 0; i < titles.size(); ++i) {
        const bool cancel = titles[i] == CancelButtonTitle;
        const auto role = i == 0 ? QMessageBox::AcceptRole
            : cancel             ? QMessageBox::RejectRole
                                 : QMessageBox::DestructiveRole;
        QPushButton* button = box->addButton(titles[i], role);
        button->setProperty(AlertButtonIndexProperty, i);
        if (i == 0) {
            box->setDefaultButton(button);
        }
        if (cancel || titles.size() == 1) {
            box->setEscapeButton(button);
        }
    }
    return box;
}

int Alert::answerOf(const QMessageBox& box)
{
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) {
        return -1;
    }
    return clicked->property(AlertButtonIndexProperty).toInt();
}
