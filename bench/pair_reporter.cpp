#include "bench/pair_reporter.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <ostream>
#include <utility>

namespace lzs_bench {

// Plain text: the report is mostly read from logs, where colour codes are noise.
PairReporter::PairReporter() : ConsoleReporter(OO_None) {}

void PairReporter::AddPair(std::string ours, std::string baseline, double aim) {
    pairs_.push_back({std::move(ours), std::move(baseline), aim});
}

void PairReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        const auto rate = run.counters.find("bytes_per_second");
        if (run.error_occurred || rate == run.counters.end()) continue;
        const std::string& name = run.run_name.function_name;
        const double megabytes = rate->second.value / 1e6;
        // With --benchmark_report_aggregates_only the single runs never come here.
        if (run.run_type == Run::RT_Iteration) {
            speeds_[name].push_back(megabytes);
        } else if (run.aggregate_name == "median") {
            medians_[name] = megabytes;
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double PairReporter::Speed(const std::string& name) const {
    if (const auto median = medians_.find(name); median != medians_.end()) return median->second;
    const auto found = speeds_.find(name);
    if (found == speeds_.end()) return 0;
    std::vector<double> speeds = found->second;
    const auto middle = speeds.begin() + static_cast<std::ptrdiff_t>(speeds.size() / 2);
    std::nth_element(speeds.begin(), middle, speeds.end());
    return *middle;
}

void PairReporter::Finalize() {
    std::ostream& out = GetOutputStream();
    // The table above counts in binary units (M/s is 2^20 bytes a second); this one in 10^6.
    out << "\nSpeed ratios (MB/s = 10^6 uncompressed bytes a second, median of repetitions)\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-44s %-24s %10s %10s %9s  %s\n", "ours", "baseline", "ours",
                  "baseline", "ratio", "aim");
    out << line;
    for (const Pair& pair : pairs_) {
        const double ours = Speed(pair.ours);
        const double baseline = Speed(pair.baseline);
        // Pairs left out by --benchmark_filter are left out here too.
        if (ours == 0 || baseline == 0) continue;
        const double ratio = ours / baseline;
        char aim[32] = "-";
        if (pair.aim > 0) {
            std::snprintf(aim, sizeof aim, ">= %gx %s", pair.aim,
                          ratio >= pair.aim ? "met" : "MISSED");
        }
        const std::string baselineName = pair.baseline.substr(pair.baseline.rfind('/') + 1);
        std::snprintf(line, sizeof line, "%-44s %-24s %10.2f %10.2f %8.1fx  %s\n",
                      pair.ours.c_str(), baselineName.c_str(), ours, baseline, ratio, aim);
        out << line;
    }
    ConsoleReporter::Finalize();
}

}  // namespace lzs_bench
