#include "VantrelApplication.h"

#include "foundation/errors/UException.h"
#include "foundation/strings/UFemNumberFormatter.h"

#include <QMessageBox>

#include <clocale>
#include <exception>

VantrelApplication::VantrelApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setOrganizationName("Vantrel");
    setApplicationName("Vantrel");
    // Model text, files and shown numbers never depend on the user's locale.
    std::setlocale(LC_NUMERIC, "C");
}

bool VantrelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const UException& exception) {
        showException(exception.name(), exception.reason());
    } catch (const std::exception& exception) {
        showException(QStringLiteral("Program Error."), QString::fromLocal8Bit(exception.what()));
    } catch (...) {
        showException(QStringLiteral("Program Error."), QStringLiteral("Unknown exception"));
    }
    return false;
}

void VantrelApplication::showException(const QString& name, const QString& reason)
{
    QMessageBox box(QMessageBox::Critical, name, name, QMessageBox::Ok);
    box.setInformativeText(reason);
    box.exec();
}
