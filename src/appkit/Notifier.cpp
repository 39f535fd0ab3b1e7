#include "appkit/Notifier.h"

#include <QApplication>

#include <utility>

namespace {

Notifier::Hook& currentHook()
{
    static Notifier::Hook hook;
    return hook;
}

} // namespace

void Notifier::beep()
{
    playSound(QString());
}

void Notifier::playSound(const QString& soundName)
{
    if (const Hook& hook = currentHook()) {
        hook(soundName);
        return;
    }
    QApplication::beep();
}

Notifier::Hook Notifier::setHook(Hook hook)
{
    return std::exchange(currentHook(), std::move(hook));
}
