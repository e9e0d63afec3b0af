// The real tapster.exe under Wine with a full list of 32,767 stored targets: how long until
// its window shows and answers, how long until the list holds every entry, and how long the
// window takes to answer a WM_NULL right after the user clicks an entry or its check box.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tapster::driver::Tapster;

constexpr int kEntries = 32767;
constexpr int kStarts = 3;
constexpr int kClicks = 6;
// How long after a click the window is watched, and the longest it may take to answer.
constexpr auto kWatch = 1000ms;
constexpr double kAnswerGoalMs = 300;
constexpr double kShownGoalMs = 2000;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string full_list() {
    std::string json = R"({"Items": {)";
    for (int index = 0; index < kEntries; ++index) {
        json += (index == 0 ? "" : ", ");
        json += "\"u-" + std::to_string(index) + "\": \"Scale bench " + std::to_string(index) +
                " **** #32770 **** OK **** 1 **** 1 **** 0\"";
    }
    return json + "}}";
}

// The time a WM_NULL takes to come back; the timeout when it does not.
double answer_ms(HWND window) {
    const auto sent = Clock::now();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    return ms_since(sent);
}

// The longest a WM_NULL waits while the window is watched.
double longest_answer_ms(HWND window) {
    double longest = 0;
    const auto start = Clock::now();
    while (Clock::now() - start < kWatch) {
        longest = std::max(longest, answer_ms(window));
        Sleep(5);
    }
    return longest;
}

UINT item_state(HWND list, int index, UINT mask) {
    return static_cast<UINT>(
        SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
}

struct StartFigures {
    double shown_ms = 0;
    double answering_ms = 0;
    double loaded_ms = 0;
};

StartFigures start_once() {
    StartFigures figures;
    const auto start = Clock::now();
    Tapster tapster(TAPSTER_EXE_PATH);
    if (!tapster::driver::wait_until([&] { return tapster.visible(); }, 120s)) {
        std::printf("the window never showed\n");
        std::exit(EXIT_FAILURE);
    }
    figures.shown_ms = ms_since(start);
    answer_ms(tapster.window());
    figures.answering_ms = ms_since(start);
    const HWND list = tapster.find_control("SysListView32", "")->window;
    tapster::driver::wait_until(
        [&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == kEntries; }, 120s);
    figures.loaded_ms = ms_since(start);
    std::printf("start: shown %.0f ms, answering %.0f ms, %d entries listed %.0f ms\n",
                figures.shown_ms, figures.answering_ms, kEntries, figures.loaded_ms);
    return figures;
}

}  // namespace

int main() {
    tapster::driver::write_settings(full_list());

    std::vector<double> shown;
    std::vector<double> answering;
    std::vector<double> loaded;
    for (int run = 0; run < kStarts; ++run) {
        const StartFigures figures = start_once();
        shown.push_back(figures.shown_ms);
        answering.push_back(figures.answering_ms);
        loaded.push_back(figures.loaded_ms);
    }

    Tapster tapster(TAPSTER_EXE_PATH);
    tapster::driver::wait_until([&] { return tapster.visible(); }, 120s);
    const HWND list = tapster.find_control("SysListView32", "")->window;
    tapster::driver::wait_until(
        [&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == kEntries; }, 120s);
    const std::string last_text = tapster::driver::list_view_text(list, kEntries - 1);
    if (last_text.rfind("Scale bench " + std::to_string(kEntries - 1) + " ", 0) != 0) {
        std::printf("the last entry reads \"%s\" from outside\n", last_text.c_str());
        return EXIT_FAILURE;
    }
    tapster.focus();
    RECT rect{};
    GetWindowRect(list, &rect);
    // The middle of an entry's text highlights it; its check box is at the row's left end.
    const int first_row = rect.top + 11;
    const int row_height = 17;
    std::vector<double> highlight_answers;
    std::vector<double> check_answers;
    for (int click = 0; click < kClicks; ++click) {
        const int row = click % 2;
        Tapster::click_at(POINT{rect.left + 120, first_row + row * row_height});
        highlight_answers.push_back(longest_answer_ms(tapster.window()));
        if ((item_state(list, row, LVIS_SELECTED) & LVIS_SELECTED) == 0) {
            std::printf("a click on entry %d did not highlight it\n", row);
            return EXIT_FAILURE;
        }
        const bool was_checked = (item_state(list, row, LVIS_STATEIMAGEMASK) >> 12) == 2;
        Tapster::click_at(POINT{rect.left + 10, first_row + row * row_height});
        check_answers.push_back(longest_answer_ms(tapster.window()));
        if (((item_state(list, row, LVIS_STATEIMAGEMASK) >> 12) == 2) == was_checked) {
            std::printf("a click on entry %d's check box did not change it\n", row);
            return EXIT_FAILURE;
        }
    }
    std::printf("clicks: longest WM_NULL answer within %lld ms after a click\n",
                static_cast<long long>(kWatch.count()));
    for (std::size_t click = 0; click < highlight_answers.size(); ++click) {
        std::printf("  click %zu: highlight %.0f ms, check box %.0f ms\n", click,
                    highlight_answers[click], check_answers[click]);
    }
    std::printf(
        "list scale under Wine, %d entries: window shown after %.0f ms (goal at most %.0f), "
        "answering after %.0f ms, all entries listed after %.0f ms; after a click that "
        "highlights an entry it answers WM_NULL within %.0f ms, after a check-box click within "
        "%.0f ms (medians; goal at most %.0f)\n",
        kEntries, median(shown), kShownGoalMs, median(answering), median(loaded),
        median(highlight_answers), median(check_answers), kAnswerGoalMs);
    return EXIT_SUCCESS;
}
