// The settings store over an in-memory file: what is left is parsing, editing and writing
// the JSON text. Items lists reach 32,767 entries, so the cost must grow with the file and
// no faster; after the figures, the growth per 4x entries is printed for each operation.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "fakes/fake_settings_file.h"
#include "median_growth.h"
#include "settings/settings_store.h"

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

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tapster::bench::MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& entry : reporter.medians) {
        reporter.print_growth(entry.first);
    }
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
