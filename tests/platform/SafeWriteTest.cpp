#include "platform/UFileWriting.h"
#include "platform/UUserDefaults.h"

#include "FileSizeLimitedChild.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

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

namespace {

// What is at `path` itself, a link not followed.
mode_t fileTypeAt(const QString& path)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT
                                                                      : mode_t(0);
}

bool makeSocketAt(const QString& path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound
        = socket >= 0 && ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (socket >= 0)
        ::close(socket);
    return bound;
}

} // namespace

// Only a regular file (or one a link names) is replaced: a device, FIFO, socket or folder, and a
// link to one, stays as it was, and the failure says why. Everything is made in a temporary folder;
// the character device (a twin of the null device, made only when running as root) too.
TEST(SpecialFileTarget, OnlyARegularFileIsReplaced)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto at = [&](const char* name) { return folder.filePath(QString::fromLatin1(name)); };
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(makeSocketAt(at("socket")));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(writeFile(at("regular"), "old"));
    for (const char* target : { "fifo", "folder", "regular" })
        ASSERT_TRUE(QFile::link(at(target), at(target) + QStringLiteral(".link")));
    std::vector<const char*> refused { "fifo", "socket", "folder", "fifo.link", "folder.link" };
    if (::geteuid() == 0) {
        ASSERT_EQ(
            ::mknod(QFile::encodeName(at("device")).constData(), S_IFCHR | 0600, makedev(1, 3)), 0);
        refused.push_back("device");
    }

    for (const char* name : refused) {
        SCOPED_TRACE(name);
        const mode_t type = fileTypeAt(at(name));
        const auto failure = UWriteFileWhole(at(name), "new");
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->code, QFileDevice::OpenError);
        EXPECT_EQ(failure->reason, QStringLiteral("Not a regular file"));
        EXPECT_EQ(fileTypeAt(at(name)), type);
    }
    EXPECT_EQ(fileTypeAt(at("fifo")), S_IFIFO);
    EXPECT_EQ(QDir(at("folder")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());

    // A regular file is replaced; through a link, the file it names, the link kept.
    EXPECT_FALSE(UWriteFileWhole(at("regular.link"), "linked"));
    EXPECT_EQ(fileTypeAt(at("regular.link")), S_IFLNK);
    EXPECT_EQ(contentsOf(at("regular")), "linked");
    EXPECT_FALSE(UWriteFileWhole(at("regular"), "new"));
    EXPECT_EQ(contentsOf(at("regular")), "new");
}
