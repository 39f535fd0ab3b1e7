#include "NotifierRecorder.h"

NotifierRecorder::NotifierRecorder()
    : previous_(Notifier::setHook([this](const QString& sound) { sounds.append(sound); }))
{
}

NotifierRecorder::~NotifierRecorder()
{
    Notifier::setHook(std::move(previous_));
}
