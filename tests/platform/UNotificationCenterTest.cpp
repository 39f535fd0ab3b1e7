#include "platform/UNotificationCenter.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

const QString First = QStringLiteral("First");
const QString Second = QStringLiteral("Second");

} // namespace

TEST(NotificationCenter, DeliversInOrderAddedFilteredByNameAndSender)
{
    UNotificationCenter center;
    int senderOne = 0;
    int senderTwo = 0;
    QStringList calls;
    auto record = [&calls](const char* who) {
        return [&calls, who](const UNotification& n) {
            calls << QStringLiteral("%1:%2:%3").arg(who, n.name, n.userInfo.value("k").toString());
        };
    };
    center.post(First, &senderOne, { { "k", "nobody" } }); // no observers: nothing happens
    center.addObserver(nullptr, First, nullptr, record("a"));
    center.addObserver(nullptr, QString(), &senderOne, record("b"));
    center.addObserver(nullptr, First, &senderTwo, record("c"));
    center.addObserver(nullptr, Second, nullptr, record("d"));

    center.post(First, &senderOne, { { "k", "1" } });
    center.post(First, &senderTwo, { { "k", "2" } });
    center.post(Second, &senderOne, { { "k", "3" } });
    center.post(QStringLiteral("Other"), nullptr);

    EXPECT_EQ(calls,
        QStringList(
            { "a:First:1", "b:First:1", "a:First:2", "c:First:2", "b:Second:3", "d:Second:3" }));
}

TEST(NotificationCenter, ChangesDuringAPostTakeEffectSafely)
{
    UNotificationCenter center;
    QStringList calls;
    UNotificationCenter::ObserverId later = 0;
    UNotificationCenter::ObserverId self = 0;
    center.addObserver(nullptr, First, nullptr, [&](const UNotification&) {
        calls << "remover";
        center.removeObserver(later);
        center.addObserver(
            nullptr, First, nullptr, [&](const UNotification&) { calls << "added"; });
    });
    // Removes itself while running: its handler must stay alive until it returns.
    auto captured = std::make_shared<QString>("self");
    self = center.addObserver(nullptr, First, nullptr, [&, captured](const UNotification&) {
        center.removeObserver(self);
        calls << *captured;
    });
    captured.reset();
    later = center.addObserver(
        nullptr, First, nullptr, [&](const UNotification&) { calls << "later"; });
    center.addObserver(nullptr, First, nullptr, [&](const UNotification& n) {
        calls << "nested";
        if (n.userInfo.isEmpty())
            center.post(Second, nullptr);
    });
    center.addObserver(nullptr, Second, nullptr, [&](const UNotification&) { calls << "second"; });

    center.post(First, nullptr);
    EXPECT_EQ(calls, QStringList({ "remover", "self", "nested", "second" }));

    calls.clear();
    center.post(First, nullptr, { { "k", 1 } });
    // The observer added by this post is first called by the next one.
    EXPECT_EQ(calls, QStringList({ "remover", "nested", "added" }));
}

TEST(NotificationCenter, RemovalByObserverAndByObservation)
{
    int observer = 0;
    int other = 0;
    int sender = 0;
    int calls = 0;
    auto count = [&calls](const UNotification&) { ++calls; };
    UNotificationCenter center;
    center.addObserver(&observer, First, nullptr, count);
    center.addObserver(&observer, Second, &sender, count);
    center.addObserver(&other, First, nullptr, count);

    center.removeObserver(&observer, Second, nullptr);
    center.post(Second, &sender);
    EXPECT_EQ(calls, 0);
    center.post(First, nullptr);
    EXPECT_EQ(calls, 2);
    center.removeObserver(&observer);
    center.post(First, nullptr);
    EXPECT_EQ(calls, 3);

    {
        UNotificationObservation observation = center.observe(Second, nullptr, count);
        UNotificationObservation moved = std::move(observation);
        EXPECT_FALSE(observation.isActive());
        center.post(Second, nullptr);
        EXPECT_EQ(calls, 4);
    }
    center.post(Second, nullptr);
    EXPECT_EQ(calls, 4);

    // An observation may outlive its centre.
    auto shortLived = std::make_unique<UNotificationCenter>();
    UNotificationObservation orphan = shortLived->observe(First, nullptr, count);
    shortLived.reset();
    orphan.reset();
    EXPECT_FALSE(orphan.isActive());
}

TEST(NotificationCenterThreads, ConcurrentRegistrationAndPosting)
{
    UNotificationCenter center;
    std::atomic<int> stableCalls { 0 };
    std::atomic<bool> wrongThread { false };
    constexpr int Posters = 3;
    constexpr int PostsEach = 300;
    center.addObserver(nullptr, First, nullptr, [&](const UNotification& n) {
        if (n.userInfo.value("thread").toULongLong()
            != std::hash<std::thread::id>()(std::this_thread::get_id()))
            wrongThread = true;
        ++stableCalls;
    });
    std::atomic<bool> stop { false };
    std::thread churn([&] {
        while (!stop) {
            auto id = center.addObserver(nullptr, First, nullptr, [](const UNotification&) {});
            UNotificationObservation scoped
                = center.observe(QString(), nullptr, [](const UNotification&) {});
            center.removeObserver(id);
        }
    });
    std::vector<std::thread> posters;
    for (int i = 0; i < Posters; ++i) {
        posters.emplace_back([&] {
            const QVariantMap info { { "thread",
                quint64(std::hash<std::thread::id>()(std::this_thread::get_id())) } };
            for (int post = 0; post < PostsEach; ++post)
                center.post(First, nullptr, info);
        });
    }
    for (auto& poster : posters)
        poster.join();
    stop = true;
    churn.join();
    EXPECT_EQ(stableCalls.load(), Posters * PostsEach);
    EXPECT_FALSE(wrongThread.load());
}
