// The settings store over an in-memory file: what is left is parsing, editing and writing
// the JSON text. Items lists reach 32,767 entries, so the cost must grow with the file and
// no faster; after the figures, the growth per 4x entries is printed for each operation.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "app/settings_store.h"
#include "fakes/fake_settings_file.h"

namespace {

using tapster::SettingsStore;

SettingsStore::Entries items(long long count) {
    SettingsStore::Entries entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (long long index = 0; index < count; ++index) {
        entries.emplace_back("c-" + std::to_string(index),
                             "Confirm saving changes " + std::to_string(index) + " **** #32770");
    }
    return entries;
}

// A file as Tapster leaves it: a few options and a full Items section.
void fill(tapster::fakes::FakeSettingsFile& file, long long count) {
    SettingsStore store(file, {});
    if (store.write("setit", "textinterval", "1000").failed() ||
        store.replace_section("Items", items(count)).failed()) {
        std::abort();
    }
}

void read_section(benchmark::State& state) {
    tapster::fakes::FakeSettingsFile file;
    fill(file, state.range(0));
    SettingsStore store(file, {});
    for (auto iteration : state) {
        static_cast<void>(iteration);
        benchmark::DoNotOptimize(store.read_section("Items"));
    }
}

void replace_section(benchmark::State& state) {
    tapster::fakes::FakeSettingsFile file;
    fill(file, state.range(0));
    SettingsStore store(file, {});
    // Alternating between two lists makes every call a real change that is written out.
    const SettingsStore::Entries lists[] = {items(state.range(0)), items(state.range(0) - 1)};
    int turn = 0;
    for (auto iteration : state) {
        static_cast<void>(iteration);
        if (store.replace_section("Items", lists[turn]).failed()) {
            state.SkipWithError("replace_section failed");
        }
        turn = 1 - turn;
    }
}

// Medians of five runs at each size.
void at_each_size(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1000)
        ->Arg(8000)
        ->Arg(32767)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

BENCHMARK(read_section)->Apply(at_each_size);
BENCHMARK(replace_section)->Apply(at_each_size);

// Prints as usual and keeps each median CPU time, keyed by operation and entry count. CPU
// time, since the work is single-threaded and the machine may be shared: wall time then
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
    std::map<std::string, std::map<double, double>> medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Growth per 4x entries: time ratio scaled to a factor of four, so 4.0 is linear and 16.0
    // quadratic.
    for (const auto& [operation, by_count] : reporter.medians) {
        for (auto next = by_count.begin(), previous = next++; next != by_count.end();
             previous = next++) {
            const double per_4x = std::pow(next->second / previous->second,
                                           std::log(4.0) / std::log(next->first / previous->first));
            std::printf("%s growth per 4x entries, %.0f -> %.0f: %.2f\n", operation.c_str(),
                        previous->first, next->first, per_4x);
        }
    }
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
