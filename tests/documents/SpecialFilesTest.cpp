#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

#include <sys/stat.h>

TEST(SpecialFiles, FifosDevicesAndFilesTooLargeForMemoryAreRefusedBeforeAnyRead)
{
    DocumentHarness harness;
    ASSERT_EQ(
        mkfifo(harness.path(QStringLiteral("fifo.vtmodel")).toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(
        QFile::link(QStringLiteral("/dev/zero"), harness.path(QStringLiteral("zero.vtmodel"))));
    for (const char* name : { "fifo.vtmodel", "zero.vtmodel" }) {
        const UErrorPtr error = harness.openingError(QString::fromLatin1(name));
        ASSERT_NE(error, nullptr) << name;
        EXPECT_EQ(error->code(), 11017) << name;
        EXPECT_EQ(error->localizedDescription(),
            QStringLiteral("'%1' is not a regular file.")
                .arg(harness.path(QString::fromLatin1(name))));
    }

    // A terabyte without a byte on the disk.
    QFile huge(harness.path(QStringLiteral("huge.vtmodel")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 40));
    huge.close();
    const UErrorPtr error = harness.openingError(QStringLiteral("huge.vtmodel"));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 81001);
}
