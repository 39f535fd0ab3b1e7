#include "documents/UFemUserPreferencesCache.h"

#include "documents/UFemPreferencesMessageReporter.h"

UFemUserPreferencesCache::UFemUserPreferencesCache(DictionarySource dictionarySource,
    const UGLGraphicProcessorInfoManager& rendererCatalogue,
    UFemPreferencesMessageReporter& reporter)
    : dictionarySource_(std::move(dictionarySource))
    , rendererCatalogue_(rendererCatalogue)
    , reporter_(reporter)
{
}

UFemUserPreferencesPtr UFemUserPreferencesCache::userPreferences()
{
    std::lock_guard lock(mutex_);
    if (!userPreferences_) {
        QStringList messages;
        userPreferences_ = UFemUserPreferences::userPreferencesWithPreferencesDictionary(
            dictionarySource_(), rendererCatalogue_, &messages);
        reporter_.reportMessages(messages);
    }
    return userPreferences_;
}

void UFemUserPreferencesCache::dropUserPreferences()
{
    std::lock_guard lock(mutex_);
    userPreferences_.reset();
}
