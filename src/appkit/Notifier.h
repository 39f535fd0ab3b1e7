#pragma once

#include <QString>

#include <functional>

// The system beep and named system sounds. Linux has no named sounds, so every sound falls back
// to the beep. Tests install a hook that receives each sound instead (an empty name for the beep),
// so that beeps can be counted and none is played. Main thread only.
class Notifier {
public:
    using Hook = std::function<void(const QString& soundName)>;

    static void beep();
    static void playSound(const QString& soundName);
    // Installs `hook` (none restores the real beep); returns the hook it replaces.
    static Hook setHook(Hook hook);
};
