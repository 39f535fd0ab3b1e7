// Scanning model text for name delimiters: a plain loop over the QString's units (the baseline)
// against the character reader over a UUnicharString and over a QString. Compare the
// items-per-second figures of one run with each other.
#include "foundation/strings/UCharacterReader.h"
#include "foundation/strings/UCharacterSet.h"
#include "foundation/strings/UPlatformString.h"
#include "foundation/strings/UUnicharString.h"

#include <benchmark/benchmark.h>

namespace {

QString modelText()
{
    QString text;
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("Node , N%1 ,  , %2.5 , -3.25e-2 , 7    \\ comment\n")
                    .arg(i)
                    .arg(i * 3);
    return text;
}

const QString& sharedText()
{
    static const QString text = modelText();
    return text;
}

void finish(benchmark::State& state, quint64 delimiters)
{
    benchmark::DoNotOptimize(delimiters);
    state.SetItemsProcessed(state.iterations() * sharedText().size());
}

void BaselinePlainLoop(benchmark::State& state)
{
    const UCharacterSet& set = UFemNameDelimiterCharacterSet();
    quint64 delimiters = 0;
    for (auto _ : state) {
        for (const QChar c : sharedText())
            delimiters += set.containsUnit(c.unicode());
    }
    finish(state, delimiters);
}

void ReaderOverSource(benchmark::State& state, const UStringGettingCharactersProtocol& source)
{
    const UCharacterSet& set = UFemNameDelimiterCharacterSet();
    quint64 delimiters = 0;
    for (auto _ : state) {
        UCharacterReader reader(source);
        while (!reader.atEnd())
            delimiters += set.containsUnit(reader.next());
    }
    finish(state, delimiters);
}

void ReaderOverUnicharString(benchmark::State& state)
{
    const UUnicharString source(sharedText());
    ReaderOverSource(state, source);
}

void ReaderOverPlatformString(benchmark::State& state)
{
    const UPlatformString source(sharedText());
    ReaderOverSource(state, source);
}

void UnicharStringPointer(benchmark::State& state)
{
    const UUnicharString source(sharedText());
    const UCharacterSet& set = UFemNameDelimiterCharacterSet();
    quint64 delimiters = 0;
    for (auto _ : state) {
        for (const char16_t unit : source.view())
            delimiters += set.containsUnit(unit);
    }
    finish(state, delimiters);
}

} // namespace

BENCHMARK(BaselinePlainLoop);
BENCHMARK(UnicharStringPointer);
BENCHMARK(ReaderOverUnicharString);
BENCHMARK(ReaderOverPlatformString);
BENCHMARK_MAIN();
