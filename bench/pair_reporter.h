#pragma once

#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace lzs_bench {

// The console report, followed by a table of speed ratios: for each pair of benchmarks run
// side by side, the throughput of ours over that of its baseline, beside the aim if it has one.
class PairReporter : public benchmark::ConsoleReporter {
public:
    PairReporter();

    // aim is the least acceptable ratio, 0 for none.
    void AddPair(std::string ours, std::string baseline, double aim);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    struct Pair {
        std::string ours;
        std::string baseline;
        double aim;
    };

    // The median MB/s of a benchmark's runs, 0 if it did not run.
    double Speed(const std::string& name) const;

    std::vector<Pair> pairs_;
    std::map<std::string, std::vector<double>> speeds_;  // MB/s of each run
    std::map<std::string, double> medians_;              // MB/s of the median aggregates
};

}  // namespace lzs_bench
