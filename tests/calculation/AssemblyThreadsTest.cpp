#include "CalculationModelSupport.h"

#include "calculation/UFemWFCalculationMemoryEstimate.h"
#include "calculation/UFemWFMatrixCalculationContext.h"
#include "calculation/solver/USparseMatrix.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// The second field of every line of the card type, in the order of the text.
QStringList cardNames(const QString& text, const QString& type)
{
    QStringList names;
    for (const QString& line : text.split(u'\n')) {
        const QStringList fields = line.split(u',');
        if (fields.size() > 1 && fields[0].trimmed() == type)
            names.append(fields[1].trimmed());
    }
    return names;
}

// Translations and rotations of every node in every case, in the order of the text.
std::vector<double> displacements(const QString& text, quint64 threads)
{
    CalculationTestModel model(text);
    UErrorPtr error;
    EXPECT_TRUE(model.calculate(&error, threads)) << descriptionOf(error).toStdString();
    std::vector<double> values;
    for (const QString& caseName : cardNames(text, u"Case"_qs))
        for (const QString& node : cardNames(text, u"Node"_qs))
            for (quint64 rotation = 0; rotation < 2; ++rotation)
                for (const double v : model.displacement(node, caseName, rotation))
                    values.push_back(v);
    return values;
}

} // namespace

// The examples' stiffness is put into the node matrices by as many threads as the calculation has
// (the Hexa's 1280 elements in slices), the calculation matrix written and the factor released on
// them: the displacements are the same bit for bit for every thread count.
TEST(AssemblyThreads, ExamplesAreBitwiseTheSameOnOneTwoThreeAndEightThreads)
{
    for (const char* example :
        { "hexa-cantilever.vtmodel", "quad-plate.vtmodel", "rod-truss.vtmodel" }) {
        const QString text = exampleModelText(QString::fromLatin1(example));
        const std::vector<double> expected = displacements(text, 1);
        ASSERT_FALSE(expected.empty()) << example;
        bool anyMoves = false;
        for (const double v : expected)
            anyMoves = anyMoves || v != 0.0;
        EXPECT_TRUE(anyMoves) << example;
        for (const quint64 threads : { 2u, 3u, 8u }) {
            const std::vector<double> values = displacements(text, threads);
            ASSERT_EQ(values.size(), expected.size()) << example << " " << threads;
            EXPECT_EQ(
                std::memcmp(values.data(), expected.data(), values.size() * sizeof(double)), 0)
                << example << " " << threads;
        }
    }
}

// Every storage of a matrix with many row arenas is handed back, whatever the thread count: the
// blocks read as zeros afterwards (fresh anonymous pages).
TEST(FactorReleaseThreads, EveryStorageIsReleasedOnEveryThreadCount)
{
    constexpr quint64 rows = 200;
    constexpr quint64 blockLength = 144;
    constexpr quint64 rowGroupShift = 4;
    for (const quint64 threads : { 1u, 2u, 3u, 8u }) {
        _USparseMatrix matrix;
        USparseMatrixInit(&matrix, rows, rows, blockLength, 16, rowGroupShift, 2.0);
        std::vector<double*> blocks;
        for (quint64 r = 0; r < rows; ++r) {
            for (quint64 c = r >= 5 ? r - 5 : 0; c <= r; ++c) {
                double* block = USparseMatrixBlockCreate(&matrix, r, c, (r + c) % 16);
                std::fill_n(block, blockLength, 1.0);
                blocks.push_back(block);
            }
        }
        const std::vector<_UCMemoryStorage> storages = USparseMatrixStorages(&matrix);
        ASSERT_GT(storages.size(), threads);
        UFemReleaseStoragePages(storages, threads);
        quint64 nonZero = 0;
        for (const double* block : blocks)
            for (quint64 v = 0; v < blockLength; ++v)
                nonZero += block[v] != 0.0;
        EXPECT_EQ(nonZero, 0u) << threads;
        USparseMatrixDestroy(&matrix);
    }
}

namespace {

// The VmFlags of the mapping that holds `address` (from /proc/self/smaps).
QString vmFlagsAt(const void* address)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return {};
    const auto at = quintptr(address);
    bool inside = false;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const qsizetype dash = line.indexOf('-');
        const qsizetype space = line.indexOf(' ');
        // A mapping's line starts "start-end perms"; its fields' lines start "Name:".
        if (dash > 0 && space > dash && !line.left(space).endsWith(':')) {
            const quintptr start = line.left(dash).toULongLong(nullptr, 16);
            const quintptr end = line.mid(dash + 1, space - dash - 1).toULongLong(nullptr, 16);
            inside = start <= at && at < end;
        } else if (inside && line.startsWith("VmFlags:")) {
            return QString::fromLatin1(line);
        }
    }
    return {};
}

} // namespace

// Huge pages made resident while they come fast enough: an unreachable rate leaves the huge pages
// not yet begun to 4 KiB pages (advised "nh"), none at all makes every one resident; on every
// thread count the storages read as zeros and take writes.
TEST(FactorPopulateThreads, SlowHugePagesLeaveTheRestToSmallPages)
{
    for (const quint64 threads : { 1u, 3u, 8u }) {
        for (const double minimumRate : { 0.0, std::numeric_limits<double>::max() }) {
            std::vector<_UCMemoryStorage> storages;
            for (int s = 0; s < 12; ++s)
                storages.push_back(UCMemoryStorageAllocate(
                    3 * UMemoryAllocatorHugePageSize, UMemorySystemHugePageAdvice));
            if (!storages[0].isMapped)
                GTEST_SKIP() << "no huge pages on this system";
            const bool fellBack = UFemPopulateStorageHugePages(storages, threads, minimumRate);
            EXPECT_EQ(fellBack, minimumRate > 0.0) << threads;
            const _UCMemoryStorage& last = storages.back();
            const char* lastPage = static_cast<const char*>(last.storage) + last.size - 1;
            EXPECT_EQ(vmFlagsAt(lastPage).contains(QStringLiteral(" nh")), fellBack) << threads;
            // Pages are zeroed whole: one byte of each tells.
            quint64 nonZero = 0;
            for (const _UCMemoryStorage& storage : storages) {
                auto* bytes = static_cast<unsigned char*>(storage.storage);
                for (quint64 at = 0; at < storage.size; at += UMemoryAllocatorPageSize) {
                    nonZero += bytes[at + at / UMemoryAllocatorPageSize % 64] != 0;
                    bytes[at] = 0x5A;
                }
                UCMemoryStorageFree(storage);
            }
            EXPECT_EQ(nonZero, 0u) << threads;
        }
    }
}

// Each policy gives its own advice to the storages it does not make resident ahead: huge pages
// only where huge pages are the policy. Of the solver's factor, only the adaptive policy leaves the
// huge pages to 4 KiB pages once they come slowly (here: at any rate at all).
TEST(PagePolicyAdviceThreads, EachPolicyAdvisesItsOwnPagesAndOnlyTheAdaptiveOneFallsBack)
{
    struct Expected {
        UMemoryPagePolicy policy;
        const char* flag;
        bool fallsBack;
    };
    // A dense envelope of 48 page rows: its row groups are storages of several huge pages.
    constexpr quint64 pageCount = 48;
    for (const Expected& expected :
        { Expected { UMemoryPagePolicy::residentHugePages, " hg", false },
            Expected { UMemoryPagePolicy::faultedHugePages, " hg", false },
            Expected { UMemoryPagePolicy::smallPages, " nh", false },
            Expected { UMemoryPagePolicy::adaptivePages, " nh", true } }) {
        SCOPED_TRACE(int(expected.policy));
        const _UCMemoryStorage storage = UCMemoryStorageAllocate(
            2 * UMemoryAllocatorHugePageSize, UMemoryPageAdviceOfPolicy(expected.policy));
        const bool isMapped = storage.isMapped;
        const QString flags = vmFlagsAt(storage.storage);
        UCMemoryStorageFree(storage);
        if (!isMapped)
            GTEST_SKIP() << "no huge pages on this system";
        EXPECT_TRUE(flags.contains(QString::fromLatin1(expected.flag))) << qPrintable(flags);

        _UFemWFMatrixCalculationContext context;
        context.nodePageCount = pageCount;
        context.caseCount = 1;
        context.caseBlockCount = 1;
        context.pagePolicy = expected.policy;
        context.slowHugePageBytesPerSecond = std::numeric_limits<double>::max();
        UFemWFAllocateCalculationMatrices(&context, std::vector<quint64>(pageCount, 0));
        UFemWFPopulateFactorStorage(&context, 2);
        EXPECT_EQ(context.factorPagesFellBack, expected.fallsBack);
    }
}
