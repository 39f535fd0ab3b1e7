#include "documents/preferences/UFemUserPreferencesCache.h"

#include "documents/preferences/UFemPreferencesMessageReporter.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "platform/UUserDefaults.h"

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

std::unique_ptr<UFemUserPreferencesCache> UFemUserPreferencesCache::standardUserPreferencesCache()
{
    // Made first, so that its reporter is reset before this cache drops on a change.
    UFemPreferencesMessageReporter& reporter
        = UFemUserPreferences::applicationPreferencesMessageReporter();
    UUserDefaults& standard = UUserDefaults::standardUserDefaults();
    auto cache = std::make_unique<UFemUserPreferencesCache>(
        [&standard] { return standard.dictionaryRepresentation(); },
        UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager(), reporter);
    cache->dropOnChangesOf(standard);
    return cache;
}

void UFemUserPreferencesCache::dropOnChangesOf(const UUserDefaults& userDefaults)
{
    changeObservation_
        = UNotificationCenter::defaultCenter().observe(UUserDefaultsDidChangeNotification,
            &userDefaults, [this](const UNotification&) { dropUserPreferences(); });
}
