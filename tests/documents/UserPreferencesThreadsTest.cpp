#include "PreferencesTestSupport.h"

#include "documents/preferences/UFemPreferencesMessageReporter.h"
#include "documents/preferences/UFemUserPreferencesCache.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUserDefaults.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

namespace {

constexpr int readerCount = 8;
constexpr int changeCount = 60;

// Checks what any reader may rely on: the three counts agree and are one the main thread wrote,
// and the arrays are complete and sorted.
bool isConsistent(const UFemUserPreferences& preferences)
{
    const quint64 count = preferences.foregroundTaskThreadCount();
    if ((count != 2 && count != 5) || preferences.backgroundTaskThreadCount() != count
        || preferences.calculationTaskThreadCount() != count)
        return false;
    const UFemFolderArray& scales = preferences.colorScaleFolderArray();
    return scales.size() == 4
        && std::is_sorted(
            scales.begin(), scales.end(), [](const UFemFolderItem& a, const UFemFolderItem& b) {
                return a.orderHintNumber() < b.orderHintNumber();
            });
}

TEST(UserPreferencesThreadsTest, SnapshotsReadByEightThreadsWhileTheMainThreadChangesDefaults)
{
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    UUserDefaults defaults(directory.filePath("prefs.cbor"));
    UFemUserPreferences::registerDefaults(defaults);
    defaults.setInteger(2, UFemReferenceThreadCountPreferencesKey);
    const auto catalogue = rendererCatalogueOf(threeTestRenderers());
    UFemPreferencesMessageReporter reporter;
    std::atomic<int> shownCount { 0 };
    reporter.setPresenter([&shownCount](const UErrorPtr&) { ++shownCount; });
    UFemUserPreferencesCache cache(
        [&defaults] { return defaults.dictionaryRepresentation(); }, *catalogue, reporter);
    const UNotificationObservation observation
        = UNotificationCenter::defaultCenter().observe(UUserDefaultsDidChangeNotification,
            &defaults, [&](const UNotification&) { reporter.userDefaultsDidChange(); });
    cache.dropOnChangesOf(defaults);

    std::atomic<bool> stop { false };
    std::atomic<int> inconsistent { 0 };
    std::atomic<long> reads { 0 };
    std::vector<std::thread> readers;
    for (int reader = 0; reader < readerCount; ++reader) {
        readers.emplace_back([&] {
            UFemUserPreferencesPtr held = cache.userPreferences();
            while (!stop.load()) {
                const UFemUserPreferencesPtr current = cache.userPreferences();
                // A snapshot held across drops stays whole.
                if (!isConsistent(*current) || !isConsistent(*held))
                    ++inconsistent;
                held = current;
                ++reads;
            }
        });
    }
    for (int change = 0; change < changeCount; ++change) {
        defaults.setInteger(change % 2 == 0 ? 5 : 2, UFemReferenceThreadCountPreferencesKey);
        // Every other change stores a wrongly typed value, reported from whichever thread builds.
        defaults.setObject(
            change % 2 == 0 ? QVariant(7) : QVariant(), UFemOpenGLRendererNameStringPreferencesKey);
        QCoreApplication::processEvents();
    }
    stop = true;
    for (std::thread& reader : readers)
        reader.join();
    QCoreApplication::processEvents();

    EXPECT_EQ(inconsistent.load(), 0);
    EXPECT_GT(reads.load(), readerCount);
    EXPECT_GE(shownCount.load(), 1);
    EXPECT_LE(shownCount.load(), 2 * changeCount);
}

} // namespace
