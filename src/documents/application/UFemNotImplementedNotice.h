#pragma once

#include "appkit/Notifier.h"

#include <QString>

// The sound of a button whose function is not available yet; the name only documents the caller.
inline void UFemNotifyThisFunctionIsNotImplementedYet(const QString& functionName)
{
    Q_UNUSED(functionName);
    Notifier::playSound(QStringLiteral("Morse"));
}
