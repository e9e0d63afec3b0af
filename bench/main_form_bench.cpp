// The whole main window's logic over the real settings file in a temporary folder, as the
// list grows to its limit: the start-up load, one rewrite after the user changes a check
// mark, a click that only highlights an entry, which must write nothing, and the timer's
// look at the file, unchanged or changed by another copy. After the figures come the growth
// per 4x entries and the goals at the largest list.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "fakes/fake_services.h"
#include "median_growth.h"
#include "settings/settings_store.h"
#include "settings/system_settings_file.h"

namespace {

namespace fs = std::filesystem;
using tapster::SettingsStore;

constexpr int kLargest = tapster::TargetList::kMostEntries;

// The real file, counting how often it is replaced.
class CountingSettingsFile final : public tapster::platform::SettingsFile {
  public:
    explicit CountingSettingsFile(fs::path path)
        : file_(tapster::open_settings_file(std::move(path))) {}
    tapster::platform::Status lock(std::unique_ptr<Lock>& held) override {
        return file_->lock(held);
    }
    Contents read() override { return file_->read(); }
    Stamp stamp() override { return file_->stamp(); }
    tapster::platform::Status replace(std::string_view bytes) override {
        ++replacements;
        return file_->replace(bytes);
    }
    tapster::platform::Status set_aside(std::string& kept_as) override {
        return file_->set_aside(kept_as);
    }
    std::string location() const override { return file_->location(); }

    long long replacements = 0;

  private:
    std::unique_ptr<tapster::platform::SettingsFile> file_;
};

// A folder of its own holding a settings file as Tapster leaves it: the options and a full
// Items section of recorded message-box buttons, every other one checked.
class SettingsFolder {
  public:
    explicit SettingsFolder(long long entries) {
        std::string pattern = (fs::temp_directory_path() / "tapster-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        folder_ = pattern;
        CountingSettingsFile file(path());
        SettingsStore store(file, {});
        SettingsStore::Entries items;
        for (long long index = 0; index < entries; ++index) {
            items.emplace_back((index % 2 == 0 ? "c-" : "u-") + std::to_string(index),
                               "Confirm saving changes " + std::to_string(index) +
                                   " **** #32770 **** OK **** 1 **** 1 **** 0");
        }
        if (store.write("setit", "textinterval", "1000").failed() ||
            store.replace_section("Items", items).failed()) {
            std::abort();
        }
    }
    ~SettingsFolder() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    SettingsFolder(const SettingsFolder&) = delete;
    SettingsFolder& operator=(const SettingsFolder&) = delete;

    fs::path path() const { return folder_ / "settings.json"; }

  private:
    fs::path folder_;
};

// MainForm as the program builds it, with fakes for everything but the settings file.
struct Program {
    explicit Program(const fs::path& settings) : file(settings), store(file, {}) {}

    tapster::MainForm& start() {
        form = std::make_unique<tapster::MainForm>(faked.services(store));
        form->start();
        faked.dispatcher.run_all();  // the rest of the list's load
        return *form;
    }

    CountingSettingsFile file;
    SettingsStore store;
    tapster::fakes::FakeServices faked;
    std::unique_ptr<tapster::MainForm> form;
};

void start_up(benchmark::State& state) {
    const SettingsFolder folder(state.range(0));
    long long replacements = 0;
    for (auto iteration : state) {
        static_cast<void>(iteration);
        Program program(folder.path());
        tapster::MainForm& form = program.start();
        if (form.controls().target_list.count() != state.range(0)) {
            state.SkipWithError("the list did not load whole");
        }
        state.PauseTiming();  // the window's end is not part of its start
        replacements += program.file.replacements;
        program.form.reset();
        state.ResumeTiming();
    }
    state.counters["writes_per_start"] = benchmark::Counter(
        static_cast<double>(replacements) / static_cast<double>(state.iterations()));
}

// Runs one click of the user's on the list of a started program per iteration, and counts
// the file's replacements per click.
template <typename Click>
void clicks(benchmark::State& state, Click click) {
    const SettingsFolder folder(state.range(0));
    Program program(folder.path());
    tapster::ui::CheckListBox& list = program.start().controls().target_list;
    const long long before = program.file.replacements;
    int turn = 0;
    for (auto iteration : state) {
        static_cast<void>(iteration);
        click(list, turn);
        turn = 1 - turn;
    }
    state.counters["writes_per_click"] =
        benchmark::Counter(static_cast<double>(program.file.replacements - before) /
                           static_cast<double>(state.iterations()));
}

// The user ticks or clears the last entry's check box: the whole list is stored again.
void check_mark_rewrite(benchmark::State& state) {
    clicks(state, [](tapster::ui::CheckListBox& list, int) {
        const int last = list.count() - 1;
        list.user_set_checked(last, !list.checked(last));
    });
}

// The user highlights one entry, then another: the capture fields show it, nothing is stored.
void unchanged_click(benchmark::State& state) {
    clicks(state, [](tapster::ui::CheckListBox& list, int turn) {
        const int last = list.count() - 1;
        list.user_highlight(turn == 0 ? last : last / 2);
    });
}

// A tick of the once-a-second timer while the file is as the list last saw it: one look at
// the file's stamp, nothing read.
void unchanged_tick(benchmark::State& state) {
    const SettingsFolder folder(state.range(0));
    Program program(folder.path());
    tapster::MainForm& form = program.start();
    for (auto iteration : state) {
        static_cast<void>(iteration);
        form.timer_ticked(tapster::WindowTimer::inspect);
    }
}

// Another copy changed the last entry's check mark: the tick reads the file and shows it.
void changed_file_tick(benchmark::State& state) {
    const SettingsFolder folder(state.range(0));
    Program program(folder.path());
    tapster::MainForm& form = program.start();
    CountingSettingsFile other_file(folder.path());
    SettingsStore other(other_file, {});
    const int last = form.controls().target_list.count() - 1;
    for (auto iteration : state) {
        static_cast<void>(iteration);
        state.PauseTiming();
        SettingsStore::Entries items =
            other.read_section("Items").value_or(SettingsStore::Entries{});
        auto& [key, text] = items.back();
        key = (key[0] == 'c' ? "u-" : "c-") + std::to_string(last);
        if (other.replace_section("Items", items).failed()) {
            state.SkipWithError("the other copy could not write");
        }
        const bool checked = key[0] == 'c';
        state.ResumeTiming();
        form.timer_ticked(tapster::WindowTimer::inspect);
        if (form.controls().target_list.checked(last) != checked) {
            state.SkipWithError("the change did not show");
        }
    }
}

void at_each_size(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1000)
        ->Arg(8000)
        ->Arg(kLargest)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

BENCHMARK(start_up)->Apply(at_each_size);
BENCHMARK(check_mark_rewrite)->Apply(at_each_size);
BENCHMARK(unchanged_click)->Apply(at_each_size);
BENCHMARK(unchanged_tick)->Apply(at_each_size);
BENCHMARK(changed_file_tick)->Apply(at_each_size);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The goals are judged on CPU time: the machine is shared, and waiting for the disk or
    // for a turn on the processor shows in the Time column beside it.
    tapster::bench::MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    struct Goal {
        const char* operation;
        double most_ms;
    };
    for (const Goal& goal :
         {Goal{"start_up", 300}, Goal{"check_mark_rewrite", 100}, Goal{"unchanged_click", 5},
          Goal{"unchanged_tick", 1}, Goal{"changed_file_tick", 300}}) {
        const double growth = reporter.print_growth(goal.operation);
        const double at_largest = reporter.median(goal.operation, kLargest);
        std::printf(
            "%s at %d entries: median %.3f ms (goal at most %.0f ms), growth per 4x "
            "at most %.2f (goal at most 5)\n",
            goal.operation, kLargest, at_largest, goal.most_ms, growth);
    }
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
