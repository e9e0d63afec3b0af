#pragma once

// The cost of one push-cycle tick beside a floor: the platform calls of a lookup by name, made
// in a bare loop with nothing of the engine around them. A missing window is looked up ten
// times, as a lookup by name must to catch a window being made; a present one is found and
// pressed. Shared by the native and the Wine benchmark.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/target_list.h"
#include "model/target_string.h"
#include "platform/accessible_buttons.h"
#include "pressing/mouse.h"
#include "pressing/push_cycle.h"

namespace tapster::bench {

// Every target here has a window class and control identifiers: none is found by name.
class NoAccessibleButtons : public platform::AccessibleButtons {
  public:
    void ask_button_at(platform::Point /*screen_point*/,
                       std::function<void(std::optional<Found>)> /*answered*/) override {}
    void ask_buttons_of(platform::WindowHandle /*window*/,
                        std::function<void(std::optional<WindowButtons>)> /*answered*/) override {}
    void press(platform::WindowHandle /*window*/, std::string_view /*name*/,
               MessageCheck /*message_check*/, std::function<void(Press)> /*answered*/) override {}
};

// Times two bodies in alternation, so that drift in the machine's speed falls on both
// alike, and returns the median milliseconds of each.
inline std::pair<double, double> median_ms(const std::function<void()>& first,
                                           const std::function<void()>& second, int repetitions) {
    first();  // warm up
    second();
    std::vector<double> first_times;
    std::vector<double> second_times;
    const auto time = [](const std::function<void()>& body) {
        const auto start = std::chrono::steady_clock::now();
        body();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    for (int run = 0; run < repetitions; ++run) {
        first_times.push_back(time(first));
        second_times.push_back(time(second));
    }
    std::sort(first_times.begin(), first_times.end());
    std::sort(second_times.begin(), second_times.end());
    return {first_times[first_times.size() / 2], second_times[second_times.size() / 2]};
}

// Keeps the compiler from seeing through the desktop or dropping the results of its calls,
// so the floor pays for every call as the engine does.
inline platform::Desktop* opaque(platform::Desktop& desktop) {
    platform::Desktop* volatile hidden = &desktop;
    return hidden;
}
inline volatile std::uintptr_t sink = 0;

constexpr int kLookupsByNameForAMissingWindow = 10;

// The title of the i-th target window; present windows are made with the same names.
inline std::string window_title(bool present, int index) {
    return (present ? "Box " : "Absent ") + std::to_string(index);
}

// What the i-th present window says, for the targets that carry a message.
inline std::string window_message(int index) {
    return "Save report " + std::to_string(index) + "?";
}

enum class Targets { absent, present, absent_patterns, present_messages };

// Runs one scenario and prints a line: entries, windows, engine, floor, ratio.
inline void run_scenario(platform::Desktop& desktop, const std::string& window_class, int entries,
                         Targets targets, int repetitions) {
    const bool messages = targets == Targets::present_messages;
    const bool present = targets == Targets::present || messages;
    TargetList list([&desktop](std::string_view text) { return desktop.fold_case(text); });
    std::vector<std::string> titles;
    for (int index = 0; index < entries; ++index) {
        titles.push_back(targets == Targets::absent_patterns
                             ? "Absent * " + std::to_string(index) + " *"
                             : window_title(present, index));
        list.append(to_target_string({titles.back(),
                                      window_class,
                                      "OK",
                                      "1",
                                      "1",
                                      false,
                                      {},
                                      messages ? window_message(index) : std::string()}),
                    true);
    }
    Mouse mouse(desktop);
    NoAccessibleButtons accessible_buttons;
    PushCycle cycle(list, desktop, accessible_buttons, mouse);

    platform::Desktop& calls = *opaque(desktop);
    const auto [engine, floor] = median_ms(
        [&] { cycle.tick(); },
        [&] {
            for (const std::string& title : titles) {
                if (!present) {
                    for (int attempt = 0; attempt < kLookupsByNameForAMissingWindow; ++attempt) {
                        sink = sink + calls.find_window(window_class, title);
                    }
                    continue;
                }
                const platform::WindowHandle window = calls.find_window(window_class, title);
                const std::string text = calls.control_text(window, 1, PushCycle::kTextBufferChars);
                if (calls.equal_ignoring_case(text, "OK") &&
                    (!messages ||
                     calls.static_texts(window, PushCycle::kMessageBufferChars).has_value())) {
                    calls.send_command(window, 1);
                }
            }
        },
        repetitions);
    const char* const kinds[] = {"absent", "present", "absent*", "present+m"};
    std::printf("%6d  %-9s  %-16s  %12.4f  %12.4f  %6.3f\n", entries,
                kinds[static_cast<int>(targets)], window_class.c_str(), engine, floor,
                floor > 0 ? engine / floor : 0.0);
}

inline void print_header(const char* where) {
    std::printf("push-cycle tick, %s: median milliseconds per tick\n", where);
    std::printf(
        "(absent*: titles with `*`, present+m: targets with a message, floor: ten lookups "
        "by the literal name)\n");
    std::printf("%6s  %-9s  %-16s  %12s  %12s  %6s\n", "entries", "windows", "class", "engine",
                "floor", "ratio");
}

}  // namespace tapster::bench
