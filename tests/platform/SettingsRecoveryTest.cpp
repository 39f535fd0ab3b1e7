#include "platform/UUserDefaults.h"

#include <gtest/gtest.h>

#include <QCborMap>
#include <QCborValue>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
}

} // namespace

TEST(SettingsRecovery, OneBadEntryOrATruncatedFileKeepsTheOtherSettingsAndTheFileAside)
{
    QCborMap withBadKey;
    withBadKey.insert(QStringLiteral("Colour"), QStringLiteral("blue"));
    withBadKey.insert(QCborValue(42), QStringLiteral("a number as key"));
    withBadKey.insert(QStringLiteral("Threads"), 4);
    QCborMap good;
    good.insert(QStringLiteral("Colour"), QStringLiteral("blue"));
    good.insert(QStringLiteral("Threads"), 4);
    const QByteArray whole = QCborValue(good).toCbor();
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList kept;
    } cases[] = {
        { "a key that is no text", QCborValue(withBadKey).toCbor(), { "Colour", "Threads" } },
        { "a truncated file", whole.left(whole.size() - 2), { "Colour" } },
        { "no settings at all", QByteArray("\xFF\x00garbage", 9), {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("Vantrel.cbor"));
        writeFile(path, c.bytes);
        UUserDefaults defaults(path);
        EXPECT_EQ(defaults.objectForKey(QStringLiteral("Colour")).isValid(),
            c.kept.contains(QStringLiteral("Colour")));
        EXPECT_EQ(defaults.objectForKey(QStringLiteral("Threads")).isValid(),
            c.kept.contains(QStringLiteral("Threads")));
        EXPECT_EQ(contentsOf(path + QStringLiteral(".damaged")), c.bytes);
        const std::optional<QString> notice = defaults.takeRecoveryNotice();
        ASSERT_TRUE(notice);
        EXPECT_TRUE(notice->contains(QStringLiteral("%1 settings were read").arg(c.kept.size())))
            << notice->toStdString();
        EXPECT_FALSE(defaults.takeRecoveryNotice()) << "said once";

        // The next write keeps what was read.
        ASSERT_TRUE(defaults.setObject(true, QStringLiteral("New")));
        UUserDefaults reread(path);
        EXPECT_FALSE(reread.takeRecoveryNotice());
        for (const QString& key : c.kept)
            EXPECT_TRUE(reread.objectForKey(key).isValid()) << key.toStdString();
        EXPECT_TRUE(reread.boolForKey(QStringLiteral("New")));
    }
}
