#pragma once

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/fake_desktop.h"
#include "platform/background_looks.h"
#include "platform/top_level_windows.h"

namespace tapster::fakes {

// The window watch's view of a FakeDesktop, counting what it asked.
class FakeTopLevelWindows : public platform::TopLevelWindows {
  public:
    explicit FakeTopLevelWindows(FakeDesktop& desktop) : desktop_(desktop) {}

    std::set<platform::WindowHandle> ours_set;  // this program's own windows
    int lists = 0;
    int questions = 0;  // about one window: its class, program or visibility

    void list(std::vector<platform::WindowHandle>& windows) override {
        ++lists;
        windows = desktop_.top_level_windows();
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
    bool ours(platform::WindowHandle window) override {
        ++questions;
        return ours_set.contains(window);
    }

  private:
    FakeDesktop& desktop_;
};

// Looks run when the test says, as the platform's thread would run them; a find reaches the
// event loop at once.
class FakeBackgroundLooks : public platform::BackgroundLooks {
  public:
    bool running = false;
    platform::LookPeriods periods{};

    void connect(platform::LookPeriods look_periods, std::function<platform::LookOutcome()> look,
                 std::function<void()> found) override {
        periods = look_periods;
        look_ = std::move(look);
        found_ = std::move(found);
    }
    void start() override { running = true; }
    void stop() override { running = false; }

    // One look, when looks run; true when it found something.
    bool look() {
        if (!running) {
            return false;
        }
        const platform::LookOutcome outcome = look_();
        if (outcome.found) {
            found_();
        }
        return outcome.found;
    }

  private:
    std::function<platform::LookOutcome()> look_;
    std::function<void()> found_;
};

}  // namespace tapster::fakes
