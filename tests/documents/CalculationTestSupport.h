#pragma once

// Documents calculated through a calculation manager of their own, whose calculation threads the
// test may hold back until it has pressed the panel's buttons.

#include "DocumentTestSupport.h"

#include "documents/calculation/UFemCalculationManager.h"
#include "platform/UNotificationCenter.h"

#include <functional>
#include <vector>

// A model that passes every check but its Hexa, whose faces are inverted: the card stops a run.
inline const QString InvertedHexaModel = QStringLiteral(
    "Material, M, 1000, 0.3,\nSolidProp, SP, M,\n"
    "Node, N1, , 0, 0, 0,\nNode, N2, , 1, 0, 0,\nNode, N3, , 1, 1, 0,\nNode, N4, , 0, 1, 0,\n"
    "Node, N5, , 0, 0, 1,\nNode, N6, , 1, 0, 1,\nNode, N7, , 1, 1, 1,\nNode, N8, , 0, 1, 1,\n"
    "Hexa, H1, SP, N5, N6, N7, N8, N1, N2, N3, N4,\n"
    "FixNode, S, N1, YES, YES, YES,\nForce, F, N7, , 1, 0, 0, 0, 0, 0,\n"
    "Case, C1, LINEAR_STATIC, S, F,\n");

// A tripod of three rods on three feet, the apex loaded; `loadZ` is the apex force down.
QString tripodModelText(int loadZ = 2000);
// Data controllers that read result files and number cards after results.
UFemDataControllerServices calculationServices();
// Runs the event loop until `done` answers true; false after `timeoutMs`.
bool runEventsUntil(const std::function<bool()>& done, int timeoutMs = 30000);

// The done notifications posted, with whether each came on the main thread.
struct DoneNotificationRecorder {
    DoneNotificationRecorder();

    std::vector<QVariantMap> userInfos;
    bool allOnMainThread = true;

private:
    UNotificationObservation observation_;
};

struct CalculationHarness : DocumentHarness {
    CalculationHarness();
    ~CalculationHarness();

    // An untitled model document of `modelText` calculated by this harness's manager.
    UFemDocument* modelDocument(const QString& modelText);
    // The project "Beam.vtproj" (title "Beam", version "1.0") of the tripod model "Beam.vtmodel"
    // with the result path "Beam.vtresult", loaded by hand, calculated by this harness's manager.
    UFemDocument* tripodProject();
    // Starts the calculation threads held back so far.
    void releaseThreads();
    bool waitForCalculations();

    UFemCalculationManager manager;
    DoneNotificationRecorder done;
    bool holdsThreads = false;
    std::vector<std::function<void()>> heldThreads;
};
