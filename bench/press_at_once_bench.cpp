// "Press at once" under Wine. How long a box stays open, from becoming visible to being
// pressed, in the real program with one target at an interval of 1000 ms, the option on and
// off in alternating blocks; and what the window watch costs while nothing happens, with 10
// enabled targets of one class, and 1,000 targets of one class or of 1,000 classes: per look
// taken back to back, on its own thread against the same time stopped (beside the thread
// waking to do nothing, and a window timer), and in the real program with the option on
// against off; each difference as the median of alternating rounds. CPU is the host's count
// for the process and the wineserver together.
//   tapster_press_at_once_bench [--latency | --idle]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "driver.h"
#include "host_cpu.h"
#include "pressing/window_watch.h"
#include "win32/win32_background_looks.h"
#include "win32/win32_top_level_windows.h"

namespace {

using namespace std::chrono_literals;
using tapster::bench::cpu_ns;
using tapster::bench::host_processes;
using tapster::bench::load_average;

constexpr int kBoxesPerBlock = 12;
constexpr int kBlocksPerChoice = 2;
constexpr double kLooksPerSecond = 20.0;  // one look every 50 ms
constexpr DWORD kIdleWindowMs = 10000;
// An idle cost is a difference of two small shares that other processes' noise moves by about
// as much: it is measured in alternating rounds, and the median of the differences is given.
constexpr int kIdleRounds = 5;
constexpr int kProgramRounds = 3;

std::string settings(const std::string& items_json, bool at_once) {
    return R"({"Runit": {"PressAtOnce": ")" + std::string(at_once ? "True" : "False") +
           R"("}, "Items": {)" + items_json + "}}";
}

// Nearest rank.
long long percentile(std::vector<long long> values, double share) {
    std::sort(values.begin(), values.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(share * static_cast<double>(values.size())));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

// Boxes raised at random moments, each 1.1 to 2.1 intervals after the last one closed.
void measure_latency_block(bool at_once, std::mt19937& random, std::vector<long long>& open_ms) {
    tapster::driver::write_settings(
        settings(R"("c-0": "Latency **** #32770 **** OK **** 1 **** 1 **** False")", at_once));
    tapster::driver::Tapster tapster(TAPSTER_EXE_PATH);
    tapster::driver::wait_until([&] { return tapster.visible(); });
    std::uniform_int_distribution<int> pause_ms(1100, 2100);
    for (int box = 0; box < kBoxesPerBlock; ++box) {
        Sleep(static_cast<DWORD>(pause_ms(random)));
        tapster::driver::MessageBoxProcess process(TAPSTER_MSGBOX_PATH,
                                                   L"Latency ok --timeout 5000");
        const auto result = process.wait();
        if (!result || result->button != IDOK) {
            std::printf("  a box was not pressed within 5 s\n");
            continue;
        }
        open_ms.push_back(result->open_ms);
    }
}

void measure_latency() {
    std::printf(
        "press latency: real program, one target, interval 1000 ms; from the box\n"
        "becoming visible to its press closing it (load before: %s)\n",
        load_average().c_str());
    std::mt19937 random(std::random_device{}());
    std::vector<long long> on;
    std::vector<long long> off;
    for (int block = 0; block < kBlocksPerChoice; ++block) {
        measure_latency_block(true, random, on);
        measure_latency_block(false, random, off);
    }
    for (const auto& [name, values] : {std::pair{"on ", &on}, std::pair{"off", &off}}) {
        if (values->empty()) {
            continue;
        }
        std::printf(
            "  option %s: %2zu boxes, median %4lld ms, 95th percentile %4lld ms, "
            "max %4lld ms\n",
            name, values->size(), percentile(*values, 0.5), percentile(*values, 0.95),
            percentile(*values, 1.0));
    }
    std::printf("  (load after: %s)\n", load_average().c_str());
}

struct Scenario {
    const char* name;
    int targets;
    bool distinct_classes;
    std::string window_class(int index) const {
        return distinct_classes ? "TapsterIdle" + std::to_string(index) : "#32770";
    }
};

const Scenario kScenarios[] = {{"10 targets, 1 class", 10, false},
                               {"1,000 targets, 1 class", 1000, false},
                               {"1,000 targets, 1,000 classes", 1000, true}};

double percent_of_a_core(long long cpu_nanoseconds, double seconds) {
    return static_cast<double>(cpu_nanoseconds) / 1e9 / seconds * 100.0;
}

// CPU of the processes over one idle window while `during` holds.
template <typename During>
double idle_share(const std::vector<std::string>& pids, During during) {
    const long long before = cpu_ns(pids);
    const auto start = std::chrono::steady_clock::now();
    during();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return percent_of_a_core(cpu_ns(pids) - before, seconds);
}

// "median (lowest to highest)" of the differences, in percent of a core.
std::string spread(std::vector<double> differences) {
    std::sort(differences.begin(), differences.end());
    char text[64];
    std::snprintf(text, sizeof text, "%+.3f %% (%+.3f to %+.3f)",
                  differences[differences.size() / 2], differences.front(), differences.back());
    return text;
}

// The CPU share with `on` in force minus the share without, in alternating rounds.
template <typename On, typename Off>
std::string idle_difference(const std::vector<std::string>& pids, On on, Off off) {
    std::vector<double> differences;
    for (int round = 0; round < kIdleRounds; ++round) {
        const double stopped = idle_share(pids, [] { Sleep(kIdleWindowMs); });
        on();
        const double running = idle_share(pids, [] { Sleep(kIdleWindowMs); });
        off();
        differences.push_back(running - stopped);
    }
    return spread(differences);
}

void measure_watch_alone(const Scenario& scenario, const std::vector<std::string>& pids) {
    tapster::win32::Win32TopLevelWindows windows;
    tapster::WindowWatch watch(windows);
    for (int index = 0; index < scenario.targets; ++index) {
        watch.want(windows.fold_class_name(scenario.window_class(index)));
    }
    constexpr int kLooks = 10000;  // long enough that the other Wine processes' noise fades
    watch.look();
    const long long before = cpu_ns(pids);
    for (int look = 0; look < kLooks; ++look) {
        watch.look();
    }
    const double per_look_us = static_cast<double>(cpu_ns(pids) - before) / kLooks / 1000.0;

    tapster::win32::Win32BackgroundLooks looks;
    looks.connect(
        50ms, [&] { return watch.look(); }, [] {});
    const std::string thread = idle_difference(
        pids,
        [&] {
            watch.restart();
            looks.start();
        },
        [&] { looks.stop(); });
    std::printf("  %-30s  %6.1f us/look = %.3f %%   thread: %s\n", scenario.name, per_look_us,
                per_look_us * kLooksPerSecond / 1e6 * 100.0, thread.c_str());
}

// What the watch would cost by its wake-ups alone on a window timer of the event loop's
// thread instead of a thread that sleeps: the timer's messages, handled by doing nothing.
void measure_window_timer(const std::vector<std::string>& pids) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    const auto pump = [] {
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kIdleWindowMs);
        MSG message{};
        while (std::chrono::steady_clock::now() < until &&
               MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleWindowMs, QS_ALLINPUT) !=
                   WAIT_FAILED) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
                DispatchMessageW(&message);
            }
        }
    };
    const double stopped = idle_share(pids, pump);
    SetTimer(window, 1, 50, nullptr);
    const double ticking = idle_share(pids, pump);
    KillTimer(window, 1);
    DestroyWindow(window);
    std::printf("  for comparison, a 50 ms window timer doing nothing: %+.3f %%\n",
                ticking - stopped);
}

// The floor under any look every 50 ms on a thread: the thread waking and sleeping again
// without asking anything, as Win32BackgroundLooks does with a look that costs nothing.
void measure_bare_wake_ups(const std::vector<std::string>& pids) {
    tapster::win32::Win32BackgroundLooks looks;
    looks.connect(
        50ms, [] { return false; }, [] {});
    const std::string waking = idle_difference(
        pids, [&] { looks.start(); }, [&] { looks.stop(); });
    std::printf("  the same thread waking every 50 ms to do nothing: %s\n", waking.c_str());
}

void measure_real_program(const Scenario& scenario) {
    std::string items;
    for (int index = 0; index < scenario.targets; ++index) {
        if (index != 0) {
            items += ',';
        }
        items += "\"c-";
        items += std::to_string(index);
        items += "\": \"Absent ";
        items += std::to_string(index);
        items += " **** ";
        items += scenario.window_class(index);
        items += " **** OK **** 1 **** 1 **** False\"";
    }
    std::vector<double> on;
    std::vector<double> off;
    for (int round = 0; round < kProgramRounds; ++round) {
        for (const bool at_once : {false, true}) {
            tapster::driver::write_settings(settings(items, at_once));
            tapster::driver::Tapster tapster(TAPSTER_EXE_PATH);
            tapster::driver::wait_until([&] { return tapster.visible(); }, 20000ms);
            Sleep(3000);  // the list loaded, the start-up's work done
            std::vector<std::string> pids = host_processes("tapster.exe");
            const std::vector<std::string> server = host_processes("wineserver");
            pids.insert(pids.end(), server.begin(), server.end());
            (at_once ? on : off).push_back(idle_share(pids, [] { Sleep(kIdleWindowMs); }));
        }
    }
    std::vector<double> differences;
    for (std::size_t round = 0; round < on.size(); ++round) {
        differences.push_back(on[round] - off[round]);
    }
    std::sort(off.begin(), off.end());
    std::printf("  %-30s  off %.3f %% (median), on-off %s\n", scenario.name, off[off.size() / 2],
                spread(differences).c_str());
}

void measure_idle() {
    std::vector<std::string> pids = host_processes("tapster_press_at_once_bench");
    const std::vector<std::string> server = host_processes("wineserver");
    pids.insert(pids.end(), server.begin(), server.end());
    std::printf("\nwindow watch while no window comes (load before: %s; %zu host processes)\n",
                load_average().c_str(), pids.size());
    std::printf(
        "the watch alone: CPU per look back to back, as a share of a core at 20 looks/s;\n"
        "its thread looking for %u s minus the same time stopped: median of %d rounds\n",
        static_cast<unsigned>(kIdleWindowMs / 1000), kIdleRounds);
    for (const Scenario& scenario : kScenarios) {
        measure_watch_alone(scenario, pids);
    }
    measure_bare_wake_ups(pids);
    measure_window_timer(pids);
    std::printf("the real program, share of a core over %u s, option off then on: median of %d\n",
                static_cast<unsigned>(kIdleWindowMs / 1000), kProgramRounds);
    for (const Scenario& scenario : kScenarios) {
        measure_real_program(scenario);
    }
    std::printf("  (load after: %s)\n", load_average().c_str());
}

}  // namespace

int main(int count, char** arguments) {
    const bool latency = count < 2 || std::strcmp(arguments[1], "--idle") != 0;
    const bool idle = count < 2 || std::strcmp(arguments[1], "--latency") != 0;
    if (latency) {
        measure_latency();
    }
    if (idle) {
        measure_idle();
    }
    return EXIT_SUCCESS;
}
