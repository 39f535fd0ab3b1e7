#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Prints the usual table, then each of our wall times divided by its baseline's (both measured in
// the same run).
class BenchmarkRatioReporter : public benchmark::ConsoleReporter {
public:
    // Pairs of benchmark names: ours, then its baseline.
    explicit BenchmarkRatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
        : pairs_(std::move(pairs))
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            std::string name = run.benchmark_name();
            name = name.substr(0, name.find('/'));
            times_[name]
                = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nratio (ours / baseline)\n");
        for (const auto& [ours, baseline] : pairs_) {
            if (times_.contains(ours) && times_.contains(baseline))
                std::printf("  %-30s / %-24s %8.4f\n", ours.c_str(), baseline.c_str(),
                    times_[ours] / times_[baseline]);
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    std::map<std::string, double> times_;
};
