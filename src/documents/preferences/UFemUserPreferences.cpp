#include "documents/preferences/UFemUserPreferences.h"

#include "documents/preferences/UFemPreferencesMessageReporter.h"
#include "documents/preferences/UFemUserPreferencesCache.h"
#include "foundation/UFemFolderItemKeys.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUserDefaults.h"

#include <mutex>

namespace {

struct ViewPreferencesDefaults {
    std::mutex mutex;
    QVariantList tableViewPreferencesFolderArray;
    QVariantList graphicViewPreferencesFolderArray;
};

ViewPreferencesDefaults& viewPreferencesDefaults()
{
    static ViewPreferencesDefaults defaults;
    return defaults;
}

// The application's snapshot over the standard user defaults, dropped on each of their changes.
struct ApplicationUserPreferences {
    UFemPreferencesMessageReporter reporter;
    UFemUserPreferencesCache cache;

    ApplicationUserPreferences()
        : cache([] { return UUserDefaults::standardUserDefaults().dictionaryRepresentation(); },
            UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager(), reporter)
    {
        UUserDefaults& standard = UUserDefaults::standardUserDefaults();
        UFemUserPreferences::registerDefaults(standard);
        // Lasts as long as the process. Added before the cache's own observation, so that the
        // reporter is reset before the drop and a snapshot built afterwards reports again.
        UNotificationCenter::defaultCenter().addObserver(nullptr,
            UUserDefaultsDidChangeNotification, &standard,
            [this](const UNotification&) { reporter.userDefaultsDidChange(); });
        cache.dropOnChangesOf(standard);
    }

    static ApplicationUserPreferences& instance()
    {
        static ApplicationUserPreferences application;
        return application;
    }
};

const UFemFolderArray emptyFolderArray;

} // namespace

QVariantMap UFemUserPreferences::registeredDefaults()
{
    return {
        { UFemDoesUseEasyLockPreferencesKey, false },
        { UFemReferenceThreadCountPreferencesKey, 0 },
        { UFemOpenGLRendererNameStringPreferencesKey, QString() },
        { UFemRenderingOpenGLVersionPreferencesKey, 0 },
        { UFemDoesUseOpenGLFrameBufferObjectPreferencesKey, true },
        { UFemWritingFileNumberFormatterPreferencesKey,
            UFemNumberFormatter::defaultWritingFileNumberFormatter().preferenceNumberFormatter() },
    };
}

void UFemUserPreferences::registerDefaults(UUserDefaults& userDefaults)
{
    userDefaults.registerDefaults(registeredDefaults());
}

quint64 UFemUserPreferences::defaultReferenceThreadCount()
{
    return UThreadCountPreference::activeProcessorCount();
}

UFemUserPreferencesPtr UFemUserPreferences::applicationUserPreferences()
{
    return applicationUserPreferencesCache().userPreferences();
}

UFemUserPreferencesCache& UFemUserPreferences::applicationUserPreferencesCache()
{
    return ApplicationUserPreferences::instance().cache;
}

UFemPreferencesMessageReporter& UFemUserPreferences::applicationPreferencesMessageReporter()
{
    return ApplicationUserPreferences::instance().reporter;
}

void UFemUserPreferences::setDefaultViewPreferencesFolderArrays(
    const QVariantList& tableViewPreferencesFolderArray,
    const QVariantList& graphicViewPreferencesFolderArray)
{
    ViewPreferencesDefaults& defaults = viewPreferencesDefaults();
    std::lock_guard lock(defaults.mutex);
    defaults.tableViewPreferencesFolderArray = tableViewPreferencesFolderArray;
    defaults.graphicViewPreferencesFolderArray = graphicViewPreferencesFolderArray;
}

void UFemUserPreferences::defaultViewPreferencesFolderArrays(
    QVariantList* tableViewPreferencesFolderArray, QVariantList* graphicViewPreferencesFolderArray)
{
    ViewPreferencesDefaults& defaults = viewPreferencesDefaults();
    std::lock_guard lock(defaults.mutex);
    *tableViewPreferencesFolderArray = defaults.tableViewPreferencesFolderArray;
    *graphicViewPreferencesFolderArray = defaults.graphicViewPreferencesFolderArray;
}

QVariantMap UFemUserPreferences::defaultTableViewPreferencesOfFolder(quint64 index)
{
    QVariantList table;
    QVariantList graphic;
    defaultViewPreferencesFolderArrays(&table, &graphic);
    if (index >= quint64(table.size()))
        return {};
    return table.at(qsizetype(index)).toMap().value(UFemFolderItemObjectPreferencesKey).toMap();
}

QVariantMap UFemUserPreferences::baseViewPreferencesForViewType(UFemViewType viewType) const
{
    return viewType < UFemUserPreferencesViewTypeCount ? baseViewPreferencesForViewType_[viewType]
                                                       : QVariantMap();
}

const UFemFolderArray& UFemUserPreferences::viewPreferencesFolderArrayForViewType(
    UFemViewType viewType) const
{
    return viewType < UFemUserPreferencesViewTypeCount
        ? viewPreferencesFolderArrayForViewType_[viewType]
        : emptyFolderArray;
}
