// The history of presses under Wine: what keeping it adds to a press on the GUI thread (the
// median of 100 presses with it on and with it off, in alternation), and how long the History
// window takes to open and show a full history (the file at its size limit and the older file
// beside it).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "history/history_log.h"
#include "history/history_window.h"
#include "history/press_history.h"
#include "platform/notification_area.h"
#include "push_cycle_bench.h"
#include "target_windows.h"
#include "win32/history_dialog.h"
#include "win32/win32_desktop.h"
#include "win32/win32_dispatcher.h"
#include "win32/win32_wall_clock.h"

namespace {

using namespace tapster;
using Clock = std::chrono::steady_clock;

class NoNotificationArea : public platform::NotificationArea {
  public:
    bool add(const Icon&) override { return true; }
    bool remove(const Icon&) override { return true; }
    bool modify(const Icon&) override { return true; }
    bool show_balloon(const std::string&, const std::string& text) override {
        std::printf("balloon: %s\n", text.c_str());
        return true;
    }
};

class NoMessageBoxes : public platform::MessageBoxes {
  public:
    int show(const std::string&, const std::string&, platform::MessageBoxStyle) override {
        return 1;
    }
};

std::filesystem::path bench_folder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::filesystem::path(temp) / L"tapster-history-bench";
}

// Runs the GUI thread's messages until the condition holds.
template <typename Condition>
void pump_until(Condition condition) {
    MSG message{};
    while (!condition() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void press_cost(PressHistory& history) {
    win32::Win32Desktop desktop;
    bench::TargetWindows windows(1);
    TargetList list([&desktop](std::string_view text) { return desktop.fold_case(text); });
    list.append(
        to_target_string({bench::window_title(true, 0), "TapsterBenchBox", "OK", "1", "1", false}),
        true);
    Mouse mouse(desktop);
    bench::NoAccessibleButtons accessible_buttons;
    PushCycle cycle(list, desktop, accessible_buttons, mouse);
    cycle.report_to(history);
    const long long before = bench::presses_received;
    const auto [on, off] = bench::median_ms(
        [&] {
            history.set_keeping(true);
            cycle.tick();
        },
        [&] {
            history.set_keeping(false);
            cycle.tick();
        },
        100);
    history.set_keeping(true);
    history.flush(std::chrono::seconds(10));
    std::printf(
        "A press, median of 100: %.3f ms with the history, %.3f ms without: %+.3f ms "
        "(%lld presses received)\n",
        on, off, on - off, bench::presses_received - before);
}

// Both files at the size limit, each record a target of its own, as none folds.
std::size_t fill(const std::filesystem::path& file) {
    HistoryLog log(file);
    std::vector<HistoryRecord> batch;
    int index = 0;
    while (!std::filesystem::exists(log.older_file()) ||
           std::filesystem::file_size(file) + 4096 < HistoryLog::kMostBytes) {
        HistoryRecord record;
        record.time = {2026, 12, 9, 14, 2, index % 60, 60};
        record.last = record.time;
        record.press = {"Backup finished " + std::to_string(index) +
                            " **** #32770 **** OK **** 1 **** 1 **** False",
                        "Backup finished " + std::to_string(index),
                        "OK",
                        "backup.exe",
                        false,
                        false,
                        false,
                        false};
        if (log.add({record}).failed()) {
            std::printf("cannot write %s\n", file.string().c_str());
            std::exit(EXIT_FAILURE);
        }
        ++index;
    }
    return log.read().size();
}

void window_open_time(PressHistory& history, const std::filesystem::path& file) {
    const std::size_t records = fill(file);
    NoMessageBoxes boxes;
    std::vector<double> times;
    for (int run = 0; run < 11; ++run) {
        win32::HistoryDialog dialog;
        // The view tells when its rows came; the window has painted them once pumped.
        struct Watched : ui::HistoryView {
            win32::HistoryDialog& dialog;
            bool filled = false;
            explicit Watched(win32::HistoryDialog& shown) : dialog(shown) {}
            void show(std::function<void()> clear) override { dialog.show(std::move(clear)); }
            void set_rows(ui::HistoryRows rows) override {
                filled = !rows->empty();
                dialog.set_rows(std::move(rows));
            }
        } view(dialog);
        HistoryWindow window(history, view, boxes);
        const auto start = Clock::now();
        window.on_chosen();
        pump_until([&] { return view.filled; });
        // The rows on screen: the list's first page painted.
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("The History window with %zu records (%ju + %ju bytes), median of 11: %.1f ms\n",
                records, std::filesystem::file_size(HistoryLog(file).older_file()),
                std::filesystem::file_size(file), times[times.size() / 2]);
}

}  // namespace

int main() {
    const std::filesystem::path folder = bench_folder();
    std::filesystem::remove_all(folder);
    win32::Win32WallClock wall_clock;
    win32::Win32Dispatcher dispatcher;
    NoNotificationArea notification_area;
    {
        PressHistory history(folder / L"press" / L"history.jsonl",
                             {wall_clock, dispatcher, notification_area});
        press_cost(history);
    }
    {
        const auto file = folder / L"window" / L"history.jsonl";
        PressHistory history(file, {wall_clock, dispatcher, notification_area});
        window_open_time(history, file);
    }
    std::filesystem::remove_all(folder);
    return EXIT_SUCCESS;
}
