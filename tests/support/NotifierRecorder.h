#pragma once

#include "appkit/Notifier.h"

#include <QStringList>

// Records the beeps (as empty names) and sounds of the notifier, instead of playing them, for as
// long as it lives.
class NotifierRecorder {
public:
    NotifierRecorder();
    ~NotifierRecorder();
    NotifierRecorder(const NotifierRecorder&) = delete;
    NotifierRecorder& operator=(const NotifierRecorder&) = delete;

    QStringList sounds;

private:
    Notifier::Hook previous_;
};
