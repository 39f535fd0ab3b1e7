#pragma once

#include <QString>

// The program's notices by sound: a calculation completed, and a function not available yet. The
// names are for the caller's record; the sounds fall back to the system beep on Linux.
class UFemNotifier {
public:
    static void notifyCalculationCompletedWithDocumentNameString(const QString& documentName);
    static void notifyThisFunctionIsNotImplementedYetWithFunctionNameString(
        const QString& functionName);
};

inline const QString UFemCalculationCompletedSoundName = QStringLiteral("Hero");
inline const QString UFemNotImplementedSoundName = QStringLiteral("Morse");
