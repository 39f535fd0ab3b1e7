#pragma once

#include "documents/UFemUserPreferences.h"

#include <functional>
#include <mutex>

class UFemPreferencesMessageReporter;
class UGLGraphicProcessorInfoManager;

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

    UFemUserPreferencesPtr userPreferences();
    void dropUserPreferences();

private:
    const DictionarySource dictionarySource_;
    const UGLGraphicProcessorInfoManager& rendererCatalogue_;
    UFemPreferencesMessageReporter& reporter_;
    std::mutex mutex_;
    UFemUserPreferencesPtr userPreferences_;
};
