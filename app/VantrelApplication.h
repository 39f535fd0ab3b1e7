#pragma once

#include <QApplication>

// The application object. Exceptions that escape an event handler are shown as a critical alert
// and the program keeps running, as a program error must never end a user's session.
class VantrelApplication : public QApplication {
public:
    VantrelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void showException(const QString& name, const QString& reason);
};
