#include "platform/UUserDefaults.h"

#include <gtest/gtest.h>

#include <QCborMap>
#include <QCborValue>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

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

// A FIFO would block the start, /dev/zero would be read without end: neither is read nor written.
TEST(SettingsSpecialFile, PathsThatAreNoRegularFileGiveTheDefaultsAndAreLeftAlone)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString fifo = folder.filePath(QStringLiteral("fifo.cbor"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = folder.filePath(QStringLiteral("zero.cbor"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString directory = folder.filePath(QStringLiteral("directory.cbor"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("directory.cbor")));
    for (const QString& path : { fifo, zero, directory }) {
        SCOPED_TRACE(path.toStdString());
        const QFileInfo before(path);
        UUserDefaults defaults(path);
        defaults.registerDefaults({ { QStringLiteral("Threads"), 4 } });
        EXPECT_EQ(defaults.integerForKey(QStringLiteral("Threads")), 4);
        const std::optional<QString> notice = defaults.takeRecoveryNotice();
        ASSERT_TRUE(notice);
        EXPECT_TRUE(notice->contains(path)) << notice->toStdString();
        EXPECT_FALSE(defaults.takeRecoveryNotice()) << "said once";

        // Kept for the run, never written over the path.
        EXPECT_FALSE(defaults.setInteger(8, QStringLiteral("Threads")));
        EXPECT_EQ(defaults.integerForKey(QStringLiteral("Threads")), 8);
        const QFileInfo after(path);
        EXPECT_EQ(after.isSymLink(), before.isSymLink());
        EXPECT_EQ(after.symLinkTarget(), before.symLinkTarget());
        EXPECT_EQ(after.isDir(), before.isDir());
        EXPECT_FALSE(after.isFile());
        EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".damaged")));
    }
    EXPECT_TRUE(QDir(directory).isEmpty());
}
