#include "platform/UFileWriting.h"
#include "platform/UUserDefaults.h"

#include "FileSizeLimitedChild.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr rlim_t SizeLimit = 1000;

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

// Past the limit a file fails whether it fits the device's buffer (the failure then shows only
// when the buffer is flushed) or not (a write stops part-way); the old file stays byte for byte.
TEST(SafeWrite, AFilePastTheSizeLimitLeavesTheOldFileAndGivesTheSystemsReason)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("a.bin"));
    const QByteArray old(600, 'o');
    for (const qsizetype size : { qsizetype(1700), qsizetype(70000) }) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(writeFile(path, old));
        const std::string outcome = runWithFileSizeLimit(SizeLimit, [&] {
            const auto failure = UWriteFileWhole(path, QByteArray(size, 'n'));
            return failure ? std::to_string(failure->code) + " " + failure->reason.toStdString()
                           : std::string("written");
        });
        EXPECT_EQ(outcome, std::to_string(QFileDevice::WriteError) + " File too large");
        EXPECT_EQ(contentsOf(path), old);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList { "a.bin" });
    }
    // Within the limit the file is replaced.
    const std::string outcome = runWithFileSizeLimit(SizeLimit,
        [&] { return UWriteFileWhole(path, "new") ? std::string("failed") : "written"; });
    EXPECT_EQ(outcome, "written");
    EXPECT_EQ(contentsOf(path), "new");

    const auto denied = UWriteFileWhole(folder.filePath(QStringLiteral("none/a.bin")), "x");
    ASSERT_TRUE(denied);
    EXPECT_EQ(denied->reason, QStringLiteral("No such file or directory"));
}

TEST(SafeWrite, APreferenceThatCannotBeWrittenKeepsTheSettingsFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Vantrel.cbor"));
    {
        UUserDefaults defaults(path);
        ASSERT_TRUE(defaults.setObject(QStringLiteral("kept"), QStringLiteral("Key")));
    }
    const QByteArray old = contentsOf(path);
    const std::string outcome = runWithFileSizeLimit(SizeLimit, [&] {
        UUserDefaults defaults(path);
        return defaults.setObject(QString(4000, u'v'), QStringLiteral("Big")) ? "written"
                                                                              : "failed";
    });
    EXPECT_EQ(outcome, "failed");
    EXPECT_EQ(contentsOf(path), old);
}
