#pragma once

#include <QString>
#include <QVariant>

// The user default that asks for a number of task threads; 0 or anything outside 1..16 means
// the number of processors.
inline const QString UFemReferenceThreadCountPreferencesKey
    = QStringLiteral("UFemReferenceThreadCountPreferencesKey");

// The thread counts that the task contexts and the solver read from the user defaults. The
// preference is read once into a snapshot, safe to read from any thread, and read again after
// invalidate(), which every change notification of the standard user defaults calls.
class UThreadCountPreference {
public:
    // The rule: the preference's unsigned value when it lies in 1..16, otherwise the processor
    // count (at least 1). Never 0.
    static quint64 threadCountWithReferenceThreadCount(
        const QVariant& preference, quint64 processorCount);

    static quint64 activeProcessorCount();

    static quint64 foregroundTaskThreadCount();
    static quint64 calculationTaskThreadCount();

    static void invalidate();
};
