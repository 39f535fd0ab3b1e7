#include "platform/UUserDefaults.h"
#include "platform/UMainThread.h"
#include "platform/UNotificationCenter.h"

#include "ScopedLocale.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

namespace {

class UserDefaultsFile : public testing::Test {
protected:
    QString path() const { return dir_.filePath("settings/Vantrel.cbor"); }

    QTemporaryDir dir_;
};

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

QVariantList colour(double r, double g, double b, double a)
{
    return { r, g, b, a };
}

} // namespace

using UserDefaults = UserDefaultsFile;

TEST_F(UserDefaults, RegisteredDefaultsLieBeneathStoredValues)
{
    {
        UUserDefaults defaults(path());
        defaults.registerDefaults({ { "Threads", 4 }, { "Renderer", "software" } });
        defaults.registerDefaults({ { "Threads", 8 } });
        EXPECT_EQ(defaults.integerForKey("Threads"), 8);
        EXPECT_TRUE(defaults.setInteger(2, "Threads"));
        EXPECT_EQ(defaults.integerForKey("Threads"), 2);
        EXPECT_TRUE(defaults.removeObjectForKey("Threads"));
        EXPECT_EQ(defaults.integerForKey("Threads"), 8);
        EXPECT_TRUE(defaults.setObject("hardware", "Renderer"));
        EXPECT_EQ(defaults.dictionaryRepresentation(),
            QVariantMap({ { "Threads", 8 }, { "Renderer", "hardware" } }));
        EXPECT_FALSE(defaults.objectForKey("Missing").isValid());
    }
    // Only the user's value reached the file.
    UUserDefaults reopened(path());
    EXPECT_EQ(reopened.dictionaryRepresentation(), QVariantMap({ { "Renderer", "hardware" } }));
    EXPECT_FALSE(reopened.objectForKey("Threads").isValid());
}

TEST_F(UserDefaults, ValuesKeepTheirTypesThroughTheFile)
{
    const double third = 1.0 / 3.0;
    const double tiny = 4.9406564584124654e-324; // smallest subnormal
    const QVariantMap nested {
        { "name", QString::fromUtf8("Stahl \u00e4\u00df \u2264 1") },
        { "colour", colour(0.1, 0.2, third, 1.0) },
        { "items", QVariantList { 1, "two", QVariantMap { { "deep", true }, { "x", 2.5 } } } },
        { "empty", QVariantMap() },
    };
    {
        UUserDefaults defaults(path());
        defaults.setBool(true, "Flag");
        defaults.setInteger(9007199254740993LL, "Big"); // 2^53 + 1: not exact as a double
        defaults.setDouble(1.0, "WholeDouble");
        defaults.setDouble(-0.0, "NegativeZero");
        defaults.setObject(colour(third, 0.7, tiny, std::nextafter(1.0, 0.0)), "Colour");
        defaults.setObject(nested, "Preset");
        defaults.setObject(QByteArray("\x00\x01\xff", 3), "Data");
    }
    UUserDefaults reopened(path());
    EXPECT_EQ(reopened.objectForKey("Flag").typeId(), QMetaType::Bool);
    EXPECT_TRUE(reopened.boolForKey("Flag"));
    EXPECT_EQ(reopened.integerForKey("Big"), 9007199254740993LL);
    EXPECT_EQ(reopened.objectForKey("WholeDouble").typeId(), QMetaType::Double);
    EXPECT_TRUE(std::signbit(reopened.doubleForKey("NegativeZero")));

    const QVariantList readColour = reopened.arrayForKey("Colour");
    const QVariantList expected = colour(third, 0.7, tiny, std::nextafter(1.0, 0.0));
    ASSERT_EQ(readColour.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(readColour[i].typeId(), QMetaType::Double) << i;
        EXPECT_TRUE(sameBits(readColour[i].toDouble(), expected[i].toDouble())) << i;
    }
    EXPECT_EQ(reopened.dictionaryForKey("Preset"), nested);
    const QVariantList items = reopened.dictionaryForKey("Preset").value("items").toList();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[2].toMap().value("deep").typeId(), QMetaType::Bool);
    EXPECT_EQ(reopened.objectForKey("Data").toByteArray(), QByteArray("\x00\x01\xff", 3));
}

TEST_F(UserDefaults, TypedReadsConvertOrRefuse)
{
    ScopedLocale german("de_DE.UTF-8");
    UUserDefaults defaults(path());
    defaults.registerDefaults({
        { "Real", 3.9 },
        { "Negative", -2.5 },
        { "Text", "2.5" },
        { "Yes", "YES" },
        { "Huge", 1e300 },
        { "List", QVariantList { 1, 2 } },
        { "Map", QVariantMap { { "a", 1 } } },
    });
    EXPECT_EQ(defaults.integerForKey("Real"), 3);
    EXPECT_EQ(defaults.integerForKey("Negative"), -2);
    EXPECT_EQ(defaults.integerForKey("Huge"), 0);
    EXPECT_EQ(defaults.integerForKey("Text"), 2);
    EXPECT_DOUBLE_EQ(defaults.doubleForKey("Text"), 2.5);
    EXPECT_TRUE(defaults.boolForKey("Yes"));
    EXPECT_TRUE(defaults.boolForKey("Real"));
    EXPECT_FALSE(defaults.boolForKey("List"));
    EXPECT_EQ(defaults.stringForKey("Real"), "3.8999999999999999");
    EXPECT_TRUE(defaults.stringForKey("List").isNull());
    EXPECT_TRUE(defaults.arrayForKey("Map").isEmpty());
    EXPECT_TRUE(defaults.dictionaryForKey("List").isEmpty());
    EXPECT_EQ(defaults.arrayForKey("List"), QVariantList({ 1, 2 }));
    EXPECT_EQ(defaults.doubleForKey("Missing"), 0.0);
    EXPECT_FALSE(defaults.boolForKey("Missing"));
    EXPECT_TRUE(defaults.stringForKey("Missing").isNull());
}

TEST_F(UserDefaults, DamagedFileGivesTheRegisteredDefaults)
{
    ASSERT_TRUE(QDir().mkpath(dir_.filePath("settings")));
    for (const QByteArray& damaged : { QByteArray("not cbor at all"), QByteArray("\x9f\x01", 2),
             QByteArray("\x01"), QByteArray("\xbf\x01\x02\xff", 4) }) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
        file.close();
        UUserDefaults defaults(path());
        defaults.registerDefaults({ { "Threads", 4 } });
        EXPECT_EQ(defaults.integerForKey("Threads"), 4) << damaged.toHex().constData();
        EXPECT_EQ(defaults.dictionaryRepresentation().size(), 1);
        // The next write replaces the damaged file with a sound one.
        EXPECT_TRUE(defaults.setInteger(5, "Threads"));
        EXPECT_EQ(UUserDefaults(path()).integerForKey("Threads"), 5);
    }
}

TEST_F(UserDefaults, AFailedWriteIsReportedAndKeptInMemory)
{
    QFile blocker(dir_.filePath("settings"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    UUserDefaults defaults(path()); // its folder cannot be made: a file is in the way
    EXPECT_FALSE(defaults.setDouble(0.5, "Scale"));
    EXPECT_EQ(defaults.doubleForKey("Scale"), 0.5);
}

TEST_F(UserDefaults, WritingPostsTheChangeNotification)
{
    UUserDefaults defaults(path());
    int posts = 0;
    bool onMainThread = false;
    QVariant seen;
    UNotificationObservation observation = UNotificationCenter::defaultCenter().observe(
        UUserDefaultsDidChangeNotification, &defaults, [&](const UNotification&) {
            ++posts;
            onMainThread = UMainThread::isMainThread();
            seen = defaults.objectForKey("Key");
        });
    defaults.registerDefaults({ { "Key", 1 } });
    EXPECT_EQ(posts, 0);
    defaults.setInteger(2, "Key");
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(seen.toInt(), 2);
    defaults.removeObjectForKey("Key");
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(seen.toInt(), 1);
}

TEST_F(UserDefaults, StandardDefaultsLiveUnderTheApplicationName)
{
    const QString file = UUserDefaults::standardUserDefaults().filePath();
    // Where QSettings itself puts the user's file, so that stored settings stay where they are.
    const QSettings conf(QSettings::IniFormat, QSettings::UserScope,
        QCoreApplication::organizationName(), QCoreApplication::applicationName());
    EXPECT_EQ(file.toStdString(),
        QFileInfo(conf.fileName())
            .dir()
            .filePath(QCoreApplication::applicationName() + ".cbor")
            .toStdString());
    EXPECT_EQ(&UUserDefaults::standardUserDefaults(), &UUserDefaults::standardUserDefaults());
}

using UserDefaultsThreads = UserDefaultsFile;

TEST_F(UserDefaultsThreads, WorkerWritesNotifyOnTheMainThread)
{
    UUserDefaults defaults(path());
    defaults.registerDefaults({ { "Count", 0 } });
    std::atomic<int> posts { 0 };
    std::atomic<bool> offMain { false };
    UNotificationObservation observation = UNotificationCenter::defaultCenter().observe(
        UUserDefaultsDidChangeNotification, &defaults, [&](const UNotification&) {
            if (!UMainThread::isMainThread())
                offMain = true;
            ++posts;
        });
    constexpr int Writes = 20;
    std::atomic<bool> readerSawBadValue { false };
    std::atomic<bool> done { false };
    std::thread reader([&] {
        while (!done) {
            const qint64 count = defaults.integerForKey("Count");
            if (count < 0 || count > Writes)
                readerSawBadValue = true;
            (void)defaults.dictionaryRepresentation();
        }
    });
    std::atomic<bool> written { false };
    std::thread writer([&] {
        for (int i = 1; i <= Writes; ++i)
            defaults.setInteger(i, "Count");
        written = true;
    });
    // The main thread handles notifications while the writer is still writing.
    while (!written || posts < Writes)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    writer.join();
    done = true;
    reader.join();
    EXPECT_EQ(posts.load(), Writes);
    EXPECT_FALSE(offMain.load());
    EXPECT_FALSE(readerSawBadValue.load());
    EXPECT_EQ(UUserDefaults(path()).integerForKey("Count"), Writes);
}
