#pragma once

// A console reporter for Google Benchmark that also keeps each median CPU time, keyed by
// benchmark and entry count, and prints how the time grows per four times the entries.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tapster::bench {

// CPU time, since the work is single-threaded and the machine may be shared: wall time then
// measures the neighbours too.
class MedianKeeper : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                medians[run.run_name.function_name][std::stod(run.run_name.args)] =
                    run.GetAdjustedCPUTime();
            }
        }
    }

    // Growth per 4x entries: the time ratio scaled to a factor of four, so 4.0 is linear
    // and 16.0 quadratic. The largest growth seen for the benchmark, or 0 when unknown.
    double print_growth(const std::string& operation) const {
        const auto found = medians.find(operation);
        if (found == medians.end()) {
            return 0;
        }
        double worst = 0;
        const auto& by_count = found->second;
        for (auto next = by_count.begin(), previous = next++; next != by_count.end();
             previous = next++) {
            const double per_4x = std::pow(next->second / previous->second,
                                           std::log(4.0) / std::log(next->first / previous->first));
            std::printf("%s growth per 4x entries, %.0f -> %.0f: %.2f\n", operation.c_str(),
                        previous->first, next->first, per_4x);
            worst = std::max(worst, per_4x);
        }
        return worst;
    }

    // The median at this entry count, in the unit the benchmark reports; 0 when unknown.
    double median(const std::string& operation, double entries) const {
        const auto found = medians.find(operation);
        if (found == medians.end()) {
            return 0;
        }
        const auto at = found->second.find(entries);
        return at == found->second.end() ? 0 : at->second;
    }

    std::map<std::string, std::map<double, double>> medians;
};

}  // namespace tapster::bench
