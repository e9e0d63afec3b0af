#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/fake_desktop.h"
#include "platform/desktop_events.h"
#include "platform/top_level_windows.h"

namespace tapster::fakes {

// The window watch's view of a FakeDesktop, counting what it asked.
class FakeTopLevelWindows : public platform::TopLevelWindows {
  public:
    explicit FakeTopLevelWindows(FakeDesktop& desktop) : desktop_(desktop) {}

    std::set<platform::WindowHandle> ours_set;  // this program's own windows
    int lists = 0;
    int questions = 0;                       // about one window: its class, program or visibility
    std::vector<std::string> class_numbers;  // a class's number is its place here, from 1

    void list(std::vector<platform::WindowHandle>& windows) override {
        ++lists;
        windows = desktop_.top_level_windows();
    }
    std::uint32_t class_number(platform::WindowHandle window) override {
        ++questions;
        const std::string name = desktop_.class_name(window, 257);
        if (name.empty()) {
            return 0;
        }
        // Numbered in the order first asked, as the system numbers classes as registered.
        const auto known = std::ranges::find(class_numbers, name);
        if (known == class_numbers.end()) {
            class_numbers.push_back(name);
            return static_cast<std::uint32_t>(class_numbers.size());
        }
        return static_cast<std::uint32_t>(known - class_numbers.begin() + 1);
    }
    std::string folded_class(platform::WindowHandle window) override {
        ++questions;
        return fold_class_name(desktop_.class_name(window, 257));
    }
    std::string fold_class_name(std::string_view class_name) override {
        return desktop_.fold_case(class_name);
    }
    bool visible(platform::WindowHandle window) override {
        ++questions;
        return desktop_.visible(window);
    }
    bool top_level(platform::WindowHandle window) override {
        ++questions;
        return std::ranges::count(desktop_.top_level_windows(), window) > 0;
    }
    bool ours(platform::WindowHandle window) override {
        ++questions;
        return ours_set.contains(window);
    }

  private:
    FakeDesktop& desktop_;
};

// The system's news of windows and the look timer, both as the test says: an event is heard
// while listening, a look taken while the timer runs, and a find reaches the event loop at
// once.
class FakeDesktopEvents : public platform::DesktopEvents {
  public:
    bool hook_works = true;  // false: the system tells of no windows
    bool listening = false;
    std::optional<std::chrono::milliseconds> period;  // the look timer's, while it runs

    void connect(std::function<bool(const platform::WindowEvent&)> heard,
                 std::function<bool()> looked, std::function<void()> found) override {
        heard_ = std::move(heard);
        looked_ = std::move(looked);
        found_ = std::move(found);
    }
    bool listen() override {
        listening = hook_works;
        return listening;
    }
    void stop_listening() override { listening = false; }
    void set_look_period(std::optional<std::chrono::milliseconds> look_period) override {
        period = look_period;
    }

    bool watching() const { return listening || period.has_value(); }
    // The system tells of a window; true when that found one to act on.
    bool tell(platform::WindowEvent::Kind kind, platform::WindowHandle window) {
        return listening && report(heard_({kind, window}));
    }
    // One tick of the look timer; true when it found something.
    bool look() { return period.has_value() && report(looked_()); }

  private:
    bool report(bool found) {
        if (found) {
            found_();
        }
        return found;
    }

    std::function<bool(const platform::WindowEvent&)> heard_;
    std::function<bool()> looked_;
    std::function<void()> found_;
};

}  // namespace tapster::fakes
