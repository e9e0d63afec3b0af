// "Press at once" under Wine, in the real program with an interval of 1000 ms. How long a box
// stays open, from becoming visible to being pressed, with one target, the option on (for a
// message box and for a box shown a second after it was made) and off, in alternating blocks.
// What the window watch costs while no window comes, with 10 targets of one class and with
// 1,000 targets of 1,000 classes, the option on against off. And what it costs on a busy
// desktop, where this process makes and destroys 100 top-level windows a second of a class no
// target names, on against off, and the press latency of message boxes meanwhile. Each difference
// is given as the median of alternating rounds. CPU is the host's count for the program and the
// wineserver together.
//   tapster_press_at_once_bench [--latency | --idle | --busy]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "driver.h"
#include "host_cpu.h"

namespace {

using namespace std::chrono_literals;
using tapster::bench::cpu_ns;
using tapster::bench::host_processes;
using tapster::bench::load_average;

constexpr int kBoxesPerBlock = 12;
constexpr int kBlocksPerChoice = 2;
// The real program is started afresh for each of its rounds, the option off and on in turn.
// An idle cost is a difference of two small shares that other processes' bursts of work move
// by about as much: the median of the differences is given with their spread.
constexpr DWORD kProgramWindowMs = 10000;
constexpr int kProgramRounds = 5;
// The busy desktop: a window made and the one before it destroyed every 10 ms.
constexpr auto kBusyStep = std::chrono::milliseconds(10);

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

// A kind of box to press: a message box, which under Wine shows 8 to 90 ms after it was made,
// or a box made hidden and shown a second later; the watch hears of both as they are made and
// follows them until they show.
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
                               {"1,000 targets, 1,000 classes", 1000, true}};

double percent_of_a_core(long long cpu_nanoseconds, double seconds) {
    return static_cast<double>(cpu_nanoseconds) / 1e9 / seconds * 100.0;
}

// "median (from to)" of the differences in percent of a core: from the lowest to the highest
// of a few, or across the middle half of many.
std::string spread(std::vector<double> differences, const char* unit = " %") {
    std::sort(differences.begin(), differences.end());
    const std::size_t count = differences.size();
    const std::size_t trimmed = count >= 8 ? count / 4 : 0;
    char text[96];
    std::snprintf(text, sizeof text, "%+.3f%s (%s %+.3f to %+.3f)", differences[count / 2], unit,
                  trimmed > 0 ? "middle half" : "all", differences[trimmed],
                  differences[count - 1 - trimmed]);
    return text;
}

std::string items_of(const Scenario& scenario) {
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
    return items;
}

// Times the threads of the processes were put on a CPU: each wake-up counts once.
long long runs(const std::vector<std::string>& pids) {
    long long total = 0;
    for (const std::string& pid : pids) {
        tapster::bench::for_each_entry("/proc/" + pid + "/task", [&](const std::string& task) {
            const std::string stat =
                tapster::bench::read_host_file("/proc/" + pid + "/task/" + task + "/schedstat");
            const std::size_t last = stat.rfind(' ');
            total += last == std::string::npos ? 0 : std::atoll(stat.c_str() + last + 1);
        });
    }
    return total;
}

// One round of the real program while `during` ran.
struct Round {
    double with_server = 0;  // share of a core, the program and the wineserver
    double alone = 0;        // the program's own threads
    double wake_ups = 0;     // the program's, a second
};

template <typename During>
Round program_round(During during) {
    const std::vector<std::string> program = host_processes("tapster.exe");
    const std::vector<std::string> server = host_processes("wineserver");
    const long long program_before = cpu_ns(program);
    const long long server_before = cpu_ns(server);
    const long long runs_before = runs(program);
    const auto start = std::chrono::steady_clock::now();
    during();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long long program_ns = cpu_ns(program) - program_before;
    return {.with_server = percent_of_a_core(program_ns + cpu_ns(server) - server_before, seconds),
            .alone = percent_of_a_core(program_ns, seconds),
            .wake_ups = static_cast<double>(runs(program) - runs_before) / seconds};
}

// The real program while `during` runs, the option off and on in turn: the shares off, and
// the differences on minus off.
template <typename During>
std::string program_cost(const Scenario& scenario, During during) {
    const std::string items = items_of(scenario);
    std::vector<Round> on;
    std::vector<Round> off;
    for (int round = 0; round < kProgramRounds; ++round) {
        for (const bool at_once : {false, true}) {
            tapster::driver::write_settings(settings(items, at_once));
            tapster::driver::Tapster tapster(TAPSTER_EXE_PATH);
            tapster::driver::wait_until([&] { return tapster.visible(); }, 20000ms);
            Sleep(3000);  // the list loaded, the start-up's work done
            (at_once ? on : off).push_back(program_round(during));
        }
    }
    const auto differences = [&](double Round::*figure, const char* unit = " %") {
        std::vector<double> values;
        for (std::size_t round = 0; round < on.size(); ++round) {
            values.push_back(on[round].*figure - off[round].*figure);
        }
        return spread(values, unit);
    };
    const auto median_off = [&](double Round::*figure) {
        std::vector<double> values;
        for (const Round& round : off) {
            values.push_back(round.*figure);
        }
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    char text[512];
    std::snprintf(text, sizeof text,
                  "with the wineserver: off %.3f %%, on-off %s\n"
                  "    the program alone: off %.3f %%, on-off %s\n"
                  "    its wake-ups a second: off %.1f, on-off %s",
                  median_off(&Round::with_server), differences(&Round::with_server).c_str(),
                  median_off(&Round::alone), differences(&Round::alone).c_str(),
                  median_off(&Round::wake_ups), differences(&Round::wake_ups, "").c_str());
    return text;
}

void measure_idle() {
    std::printf(
        "\nwindow watch while no window comes (load before: %s)\n"
        "the real program over %u s, option off then on: medians of %d rounds\n",
        load_average().c_str(), static_cast<unsigned>(kProgramWindowMs / 1000), kProgramRounds);
    for (const Scenario& scenario : kScenarios) {
        std::printf("  %s\n    %s\n", scenario.name,
                    program_cost(scenario, [] { Sleep(kProgramWindowMs); }).c_str());
    }
    std::printf("  (load after: %s)\n", load_average().c_str());
}

constexpr wchar_t kBusyClass[] = L"TapsterBusyWindow";

bool busy_class_registered() {
    static const bool registered = [] {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = kBusyClass;
        return RegisterClassW(&window_class) != 0;
    }();
    return registered;
}

// Makes a small top-level window of a class no target names, and destroys the one before it,
// every kBusyStep, while `go_on`: as menus and tool tips come and go.
template <typename GoOn>
void churn_windows(GoOn go_on) {
    if (!busy_class_registered()) {
        std::printf("  the busy windows' class could not be registered\n");
        return;
    }
    HWND before = nullptr;
    MSG message{};
    for (auto next = std::chrono::steady_clock::now(); go_on(next); next += kBusyStep) {
        const HWND window =
            CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kBusyClass, L"", WS_POPUP, 0, 0, 8,
                            8, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        if (before != nullptr) {
            DestroyWindow(before);
        }
        before = window;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageW(&message);
        }
        const auto now = std::chrono::steady_clock::now();
        if (next + kBusyStep > now) {
            Sleep(static_cast<DWORD>(
                std::chrono::ceil<std::chrono::milliseconds>(next + kBusyStep - now).count()));
        }
    }
    if (before != nullptr) {
        DestroyWindow(before);
    }
}

void measure_busy() {
    std::printf(
        "\nwindow watch on a busy desktop: another process makes and destroys %lld top-level\n"
        "windows a second of a class no target names (load before: %s)\n"
        "the real program over %u s, option off then on: medians of %d rounds\n",
        1000LL / kBusyStep.count(), load_average().c_str(),
        static_cast<unsigned>(kProgramWindowMs / 1000), kProgramRounds);
    std::printf("  %s\n    %s\n", kScenarios[0].name,
                program_cost(kScenarios[0], [] {
                    const auto until = std::chrono::steady_clock::now() +
                                       std::chrono::milliseconds(kProgramWindowMs);
                    churn_windows([until](auto next) { return next < until; });
                }).c_str());

    // The press latency meanwhile, the option on: message boxes from a third process.
    std::atomic<bool> boxes_done{false};
    std::thread churn([&] { churn_windows([&](auto) { return !boxes_done; }); });
    std::mt19937 random(std::random_device{}());
    std::vector<long long> open_ms;
    for (int block = 0; block < kBlocksPerChoice; ++block) {
        measure_latency_block(kMessageBox, true, random, open_ms);
    }
    boxes_done = true;
    churn.join();
    if (!open_ms.empty()) {
        std::printf(
            "  press latency meanwhile, message boxes: %zu boxes, median %lld ms, 95th "
            "percentile %lld ms, max %lld ms\n",
            open_ms.size(), percentile(open_ms, 0.5), percentile(open_ms, 0.95),
            percentile(open_ms, 1.0));
    }
    std::printf("  (load after: %s)\n", load_average().c_str());
}

}  // namespace

int main(int count, char** arguments) {
    const auto only = [&](const char* part) {
        return count < 2 || std::strcmp(arguments[1], part) == 0;
    };
    if (only("--latency")) {
        measure_latency();
    }
    if (only("--idle")) {
        measure_idle();
    }
    if (only("--busy")) {
        measure_busy();
    }
    return EXIT_SUCCESS;
}
