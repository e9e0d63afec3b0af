// "Press at once" under Wine. How long a box stays open, from becoming visible to being
// pressed, in the real program with one target at an interval of 1000 ms, the option on (for
// a message box and for a box shown a second after it was made) and off in alternating blocks; and
// what the window watch costs while nothing happens, with 10 enabled targets of one class, and
// 1,000 targets of one class or of 1,000 classes: per look taken back to back, on its own thread
// against the same time stopped (beside the thread waking to do nothing, and a window timer), and
// in the real program with the option on against off; each difference as the median of alternating
// rounds. CPU is the host's count for the process and the wineserver together.
//   tapster_press_at_once_bench [--latency | --idle | --periods]
// (--periods: only the 10-target watch's thread at several usual periods.)
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
#include "pressing/press_at_once.h"
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
constexpr auto kLookPeriod = tapster::PressAtOnce::kLookPeriods.usual;
constexpr double kLooksPerSecond = 1000.0 / static_cast<double>(kLookPeriod.count());
// An idle cost is a difference of two small shares that other processes' bursts of work move
// by about as much: the watch's thread is measured in many short pairs of rounds, running and
// stopped in turn, and the median of the differences is given with the middle half of them.
constexpr DWORD kRoundMs = 2000;
constexpr int kIdleRounds = 25;
// The real program is started afresh for each of its rounds, and measured for longer.
constexpr DWORD kProgramWindowMs = 10000;
constexpr int kProgramRounds = 5;

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

// A kind of box to press: a message box, which under Wine shows 60 to 90 ms after it was made
// (the watch, seeing it made, looks again soon), or a box made hidden and shown a second
// later, after the watch's quick looks, which waits for its next usual look.
struct BoxKind {
    const char* name;
    const char* window_class;
    const wchar_t* arguments;
};

constexpr BoxKind kMessageBox{"message box", "#32770", L"Latency ok --timeout 5000"};
constexpr BoxKind kShownLate{"shown late", "TapsterShowAfter",
                             L"Latency ok --timeout 5000 --show-after 1000"};

// Boxes raised at random moments, each 1.1 to 2.1 intervals after the last one closed.
void measure_latency_block(const BoxKind& kind, bool at_once, std::mt19937& random,
                           std::vector<long long>& open_ms) {
    tapster::driver::write_settings(settings(std::string(R"("c-0": "Latency **** )") +
                                                 kind.window_class +
                                                 R"( **** OK **** 1 **** 1 **** False")",
                                             at_once));
    tapster::driver::Tapster tapster(TAPSTER_EXE_PATH);
    tapster::driver::wait_until([&] { return tapster.visible(); });
    std::uniform_int_distribution<int> pause_ms(1100, 2100);
    for (int box = 0; box < kBoxesPerBlock; ++box) {
        Sleep(static_cast<DWORD>(pause_ms(random)));
        tapster::driver::MessageBoxProcess process(TAPSTER_MSGBOX_PATH, kind.arguments);
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
    struct Series {
        const char* name;
        const BoxKind& kind;
        bool at_once;
        std::vector<long long> open_ms;
    };
    Series series[] = {{"on,  message box    ", kMessageBox, true, {}},
                       {"on,  shown late     ", kShownLate, true, {}},
                       {"off, message box    ", kMessageBox, false, {}}};
    for (int block = 0; block < kBlocksPerChoice; ++block) {
        for (Series& one : series) {
            measure_latency_block(one.kind, one.at_once, random, one.open_ms);
        }
    }
    for (const Series& one : series) {
        if (one.open_ms.empty()) {
            continue;
        }
        std::printf(
            "  option %s: %2zu boxes, median %4lld ms, 95th percentile %4lld ms, "
            "max %4lld ms\n",
            one.name, one.open_ms.size(), percentile(one.open_ms, 0.5),
            percentile(one.open_ms, 0.95), percentile(one.open_ms, 1.0));
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

// The host's processes named so, and the wineserver that answers their calls.
std::vector<std::string> with_wineserver(const std::string& name) {
    std::vector<std::string> pids = host_processes(name);
    const std::vector<std::string> server = host_processes("wineserver");
    pids.insert(pids.end(), server.begin(), server.end());
    return pids;
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

// "median (from to)" of the differences in percent of a core: from the lowest to the highest
// of a few, or across the middle half of many.
std::string spread(std::vector<double> differences) {
    std::sort(differences.begin(), differences.end());
    const std::size_t count = differences.size();
    const std::size_t trimmed = count >= 8 ? count / 4 : 0;
    char text[96];
    std::snprintf(text, sizeof text, "%+.3f %% (%s %+.3f to %+.3f)", differences[count / 2],
                  trimmed > 0 ? "middle half" : "all", differences[trimmed],
                  differences[count - 1 - trimmed]);
    return text;
}

// The CPU share with `on` in force minus the share without, in alternating rounds.
template <typename On, typename Off>
std::string idle_difference(const std::vector<std::string>& pids, On on, Off off) {
    std::vector<double> differences;
    const auto measure = [&] { return idle_share(pids, [] { Sleep(kRoundMs); }); };
    for (int round = 0; round < kIdleRounds; ++round) {
        // Stopped first, then running first: a slow drift of the other processes cancels out.
        const double stopped_before = round % 2 == 0 ? measure() : 0.0;
        on();
        const double running = measure();
        off();
        const double stopped = round % 2 == 0 ? stopped_before : measure();
        differences.push_back(running - stopped);
    }
    return spread(differences);
}

// The watch looking on its own thread at these periods, against the same time stopped.
std::string watch_thread_cost(const std::vector<std::string>& pids, tapster::WindowWatch& watch,
                              tapster::platform::LookPeriods periods) {
    tapster::win32::Win32BackgroundLooks looks;
    looks.connect(
        periods, [&] { return watch.look(); }, [] {});
    return idle_difference(
        pids,
        [&] {
            watch.restart();
            looks.start();
        },
        [&] { looks.stop(); });
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

    const std::string thread = watch_thread_cost(pids, watch, tapster::PressAtOnce::kLookPeriods);
    std::printf("  %-30s  %6.1f us/look = %.3f %%   thread: %s\n", scenario.name, per_look_us,
                per_look_us * kLooksPerSecond / 1e6 * 100.0, thread.c_str());
}

// The 10-target watch's thread at other usual periods than the program's, for choosing one:
// under Wine a look's cost is mostly waking the thread and the wineserver from idle, much the
// same however rare the looks, so the watch's cost follows the looks a second.
void measure_periods() {
    const std::vector<std::string> pids = with_wineserver("tapster_press_at_once_bench");
    std::printf("the 10-target watch's thread by usual period: median of %d rounds of %u s\n",
                kIdleRounds, static_cast<unsigned>(kRoundMs / 1000));
    tapster::win32::Win32TopLevelWindows windows;
    tapster::WindowWatch watch(windows);
    watch.want(windows.fold_class_name("#32770"));
    for (const int period_ms : {50, 75, 100, 125}) {
        const std::string thread =
            watch_thread_cost(pids, watch,
                              {.usual = std::chrono::milliseconds(period_ms),
                               .expecting = tapster::PressAtOnce::kLookPeriods.expecting});
        std::printf("  every %3d ms: %s\n", period_ms, thread.c_str());
    }
}

// What the watch would cost by its wake-ups alone on a window timer of the event loop's
// thread instead of a thread that sleeps: the timer's messages, handled by doing nothing.
void measure_window_timer(const std::vector<std::string>& pids) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    const auto pump = [] {
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kProgramWindowMs);
        MSG message{};
        while (std::chrono::steady_clock::now() < until &&
               MsgWaitForMultipleObjects(0, nullptr, FALSE, kProgramWindowMs, QS_ALLINPUT) !=
                   WAIT_FAILED) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
                DispatchMessageW(&message);
            }
        }
    };
    const double stopped = idle_share(pids, pump);
    SetTimer(window, 1, static_cast<UINT>(kLookPeriod.count()), nullptr);
    const double ticking = idle_share(pids, pump);
    KillTimer(window, 1);
    DestroyWindow(window);
    std::printf("  for comparison, a %lld ms window timer doing nothing: %+.3f %%\n",
                static_cast<long long>(kLookPeriod.count()), ticking - stopped);
}

// The floor under any look every period on a thread: the thread waking and sleeping again
// without asking anything, as Win32BackgroundLooks does with a look that costs nothing.
void measure_bare_wake_ups(const std::vector<std::string>& pids) {
    tapster::win32::Win32BackgroundLooks looks;
    looks.connect(
        tapster::PressAtOnce::kLookPeriods, [] { return tapster::platform::LookOutcome{}; }, [] {});
    const std::string waking = idle_difference(
        pids, [&] { looks.start(); }, [&] { looks.stop(); });
    std::printf("  the same thread waking every %lld ms to do nothing: %s\n",
                static_cast<long long>(kLookPeriod.count()), waking.c_str());
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
            const std::vector<std::string> pids = with_wineserver("tapster.exe");
            (at_once ? on : off).push_back(idle_share(pids, [] { Sleep(kProgramWindowMs); }));
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
    const std::vector<std::string> pids = with_wineserver("tapster_press_at_once_bench");
    std::printf("\nwindow watch while no window comes (load before: %s; %zu host processes)\n",
                load_average().c_str(), pids.size());
    std::printf(
        "the watch alone: CPU per look back to back, as a share of a core at %.1f looks/s;\n"
        "its thread looking for %u s minus the same time stopped: median of %d rounds\n",
        kLooksPerSecond, static_cast<unsigned>(kRoundMs / 1000), kIdleRounds);
    for (const Scenario& scenario : kScenarios) {
        measure_watch_alone(scenario, pids);
    }
    measure_bare_wake_ups(pids);
    measure_window_timer(pids);
    std::printf("the real program, share of a core over %u s, option off then on: median of %d\n",
                static_cast<unsigned>(kProgramWindowMs / 1000), kProgramRounds);
    for (const Scenario& scenario : kScenarios) {
        measure_real_program(scenario);
    }
    std::printf("  (load after: %s)\n", load_average().c_str());
}

}  // namespace

int main(int count, char** arguments) {
    if (count >= 2 && std::strcmp(arguments[1], "--periods") == 0) {
        measure_periods();
        return EXIT_SUCCESS;
    }
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
