// The push cycle under Wine against the real desktop: target windows with an "OK" button,
// made by a thread of their own so that every call crosses threads as it would cross
// processes, or no windows at all.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "push_cycle_bench.h"
#include "target_windows.h"
#include "win32/win32_desktop.h"

namespace {

using tapster::bench::presses_received;
using tapster::bench::TargetWindows;

// Enough runs for a steady median in a few seconds per line.
int repetitions(int entries) {
    return entries == 1 ? 201 : entries == 100 ? 21 : 9;
}

}  // namespace

int main() {
    using namespace tapster::bench;
    tapster::win32::Win32Desktop desktop;
    print_header("Wine, real desktop");
    for (const int entries : {1, 100, 1000}) {
        run_scenario(desktop, "#32770", entries, Targets::absent, repetitions(entries));
    }
    run_scenario(desktop, "#32770", 100, Targets::absent_patterns, 21);
    for (const int entries : {1, 100, 1000}) {
        TargetWindows windows(entries);
        run_scenario(desktop, "TapsterBenchBox", entries, Targets::present, repetitions(entries));
    }
    // Patterns that match none of 100 open windows of their class: every title is read. The
    // same windows pressed by targets with and without a message.
    TargetWindows windows(100);
    for (const Targets targets : {Targets::present, Targets::present_messages}) {
        const long long before = presses_received;
        run_scenario(desktop, "TapsterBenchBox", 100, targets, 21);
        std::printf("        (%lld presses received)\n", presses_received - before);
    }
    run_scenario(desktop, "TapsterBenchBox", 100, Targets::absent_patterns, 21);
    return EXIT_SUCCESS;
}
