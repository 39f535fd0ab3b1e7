#include "documents/application/UFemNotifier.h"

#include "appkit/Notifier.h"

void UFemNotifier::notifyCalculationCompletedWithDocumentNameString(const QString&)
{
    Notifier::playSound(UFemCalculationCompletedSoundName);
}

void UFemNotifier::notifyThisFunctionIsNotImplementedYetWithFunctionNameString(const QString&)
{
    Notifier::playSound(UFemNotImplementedSoundName);
}
