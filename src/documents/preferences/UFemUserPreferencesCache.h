#pragma once

#include "documents/preferences/UFemUserPreferences.h"
#include "platform/UNotificationCenter.h"

#include <functional>
#include <mutex>

class UFemPreferencesMessageReporter;
class UGLGraphicProcessorInfoManager;
class UUserDefaults;

// Holds one snapshot of the user preferences (the application's, or a document's): built on the
// first request from the current defaults dictionary, dropped when the defaults change. Requests
// come from any thread; a snapshot handed out stays valid for as long as its holder keeps it.
class UFemUserPreferencesCache {
public:
    using DictionarySource = std::function<QVariantMap()>;

    UFemUserPreferencesCache(DictionarySource dictionarySource,
        const UGLGraphicProcessorInfoManager& rendererCatalogue,
        UFemPreferencesMessageReporter& reporter);
    UFemUserPreferencesCache(const UFemUserPreferencesCache&) = delete;
    UFemUserPreferencesCache& operator=(const UFemUserPreferencesCache&) = delete;

    // A cache over the standard user defaults and the process's renderer catalogue that reports
    // through the application's reporter and drops its snapshot on every change of the defaults:
    // what a document keeps.
    static std::unique_ptr<UFemUserPreferencesCache> standardUserPreferencesCache();

    UFemUserPreferencesPtr userPreferences();
    void dropUserPreferences();
    // Drops the snapshot on every change of `userDefaults`, for as long as this cache lives.
    void dropOnChangesOf(const UUserDefaults& userDefaults);

private:
    const DictionarySource dictionarySource_;
    const UGLGraphicProcessorInfoManager& rendererCatalogue_;
    UFemPreferencesMessageReporter& reporter_;
    std::mutex mutex_;
    UFemUserPreferencesPtr userPreferences_;
    UNotificationObservation changeObservation_;
};
