// Writing and reading the result file of a million nodes and three cases (every node's six
// displacements calculated), beside a plain copy of the same number of bytes as baseline. The
// program ends with the ratios (ours / baseline).

#include "BenchmarkRatioReporter.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultFileWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr quint64 nodeCount = 1000000;
constexpr quint64 caseCount = 3;

std::shared_ptr<UFemResultDataManagerImpl> makeResultData()
{
    UFemResultDataModelNames names;
    names.modelText = QStringLiteral("\\ a million nodes\n");
    for (quint64 n = 0; n < nodeCount; ++n)
        names.nodeCardNameStringArray.append(QStringLiteral("node_%1").arg(n));
    for (quint64 q = 0; q < caseCount; ++q) {
        names.caseCardNameStringArray.append(QStringLiteral("case_%1").arg(q));
        names.caseRestraintCardNameStringArrayOfCases.append(QStringLiteral("fixed"));
    }
    auto resultData = std::make_shared<UFemResultDataManagerImpl>(names);
    std::vector<_UFemNode3DOFState> states(2 * nodeCount);
    std::vector<quint64> combNodeNos(2 * nodeCount);
    std::vector<double> values(2 * nodeCount * caseCount * 3);
    for (quint64 t = 0; t < 2 * nodeCount; ++t) {
        states[t].setInteger(UFemNode3DOFStateAllValid);
        combNodeNos[t] = t;
    }
    for (quint64 i = 0; i < values.size(); ++i)
        values[i] = double(i) * 1e-6;
    UFemRaisesOnFailure(resultData->addResultDataWithNodeDOFStateTable(states.data(), values.data(),
        combNodeNos.data(), combNodeNos.size(), { 0, 1, 2 }, nullptr));
    UFemRaisesOnFailure(resultData->finalizeAddResultData(nullptr));
    return resultData;
}

const UFemResultDataManagerImpl& resultData()
{
    static const std::shared_ptr<UFemResultDataManagerImpl> made = makeResultData();
    return *made;
}

const QByteArray& resultFile()
{
    static const QByteArray file = *resultData().resultFileData(nullptr);
    return file;
}

void WriteResultFile(benchmark::State& state)
{
    for (auto _ : state) {
        std::optional<QByteArray> file = resultData().resultFileData(nullptr);
        benchmark::DoNotOptimize(file->data());
    }
    state.counters["MB"] = double(resultFile().size()) / 1e6;
}

void ReadResultFile(benchmark::State& state)
{
    for (auto _ : state) {
        UErrorPtr readingError;
        UErrorPtr error;
        auto read = UFemResultDataManagerImpl::initWithResultFileData(
            resultFile(), &readingError, &error);
        if (!read || readingError)
            state.SkipWithError("the result file did not read");
        benchmark::DoNotOptimize(read.get());
    }
}

// The same through a file in the temporary directory: written whole through a save file, read back.
const QString& filePath()
{
    static const QTemporaryDir directory;
    static const QString path = directory.filePath(QStringLiteral("bench.vtresult"));
    return path;
}

void WriteResultFileToDisk(benchmark::State& state)
{
    for (auto _ : state) {
        if (!UFemWriteResultFile(filePath(), *resultData().resultFileData(nullptr), nullptr))
            state.SkipWithError("the result file was not written");
    }
}

void ReadResultFileFromDisk(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(filePath());
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("the result file did not open");
        UErrorPtr readingError;
        UErrorPtr error;
        auto read = UFemResultDataManagerImpl::initWithResultFileData(
            file.readAll(), &readingError, &error);
        if (!read || readingError)
            state.SkipWithError("the result file did not read");
        benchmark::DoNotOptimize(read.get());
    }
}

void CopyBytes_Baseline(benchmark::State& state)
{
    for (auto _ : state) {
        QByteArray copy(resultFile().size(), Qt::Uninitialized);
        std::memcpy(copy.data(), resultFile().constData(), size_t(copy.size()));
        benchmark::DoNotOptimize(copy.data());
    }
}

BENCHMARK(WriteResultFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadResultFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteResultFileToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadResultFileFromDisk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CopyBytes_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    resultFile();
    BenchmarkRatioReporter reporter({
        { "WriteResultFile", "CopyBytes_Baseline" },
        { "ReadResultFile", "CopyBytes_Baseline" },
        { "WriteResultFileToDisk", "CopyBytes_Baseline" },
        { "ReadResultFileFromDisk", "CopyBytes_Baseline" },
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
