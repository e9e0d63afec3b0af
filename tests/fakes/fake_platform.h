#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/event_loop.h"
#include "platform/locale.h"
#include "platform/message_boxes.h"
#include "platform/notification_area.h"
#include "platform/shell.h"
#include "platform/sign_in.h"

namespace tapster::fakes {

// A journal shared by the fakes, so tests can check the order of effects across them.
using Journal = std::vector<std::string>;

// Models the shell's rule: one icon per window, a second add is refused.
class FakeNotificationArea : public platform::NotificationArea {
  public:
    explicit FakeNotificationArea(Journal& journal) : journal_(journal) {}

    bool present = false;
    int adds = 0;
    int removes = 0;
    int refused_adds = 0;  // adds still to refuse, as a shell that is not there yet does
    Icon last_icon;

    bool add(const Icon& icon) override {
        ++adds;
        last_icon = icon;
        journal_.push_back("tray add");
        if (refused_adds > 0) {
            --refused_adds;
            return false;
        }
        present = true;
        return true;
    }
    bool remove(const Icon& icon) override {
        ++removes;
        last_icon = icon;
        journal_.push_back("tray remove");
        const bool was_present = present;
        present = false;
        return was_present;
    }
    bool modify(const Icon& icon) override {
        if (present) {
            last_icon = icon;
        }
        return present;
    }
    std::vector<std::pair<std::string, std::string>> balloons;  // title, text
    bool show_balloon(const std::string& title, const std::string& text) override {
        balloons.emplace_back(title, text);
        journal_.push_back("balloon");
        return present;
    }

  private:
    Journal& journal_;
};

class FakeLocale : public platform::Locale {
  public:
    platform::NumberFormat format;
    platform::NumberFormat number_format() override { return format; }
};

class FakeMessageBoxes : public platform::MessageBoxes {
  public:
    struct Shown {
        std::string text;
        std::string title;
        platform::MessageBoxStyle style;
    };

    std::vector<Shown> shown;
    int answer = platform::kResultOk;

    int show(const std::string& text, const std::string& title,
             platform::MessageBoxStyle style) override {
        shown.push_back({text, title, style});
        return answer;
    }
};

class FakeShell : public platform::Shell {
  public:
    explicit FakeShell(Journal& journal) : journal_(journal) {}

    std::vector<std::string> opened_urls;
    std::vector<std::string> command_lines;
    int ended = 0;

    void open_url(const std::string& url) override { opened_urls.push_back(url); }
    bool start_command_line(const std::string& command_line) override {
        command_lines.push_back(command_line);
        return true;
    }
    void end_process() override {
        ++ended;
        journal_.push_back("end process");
    }

  private:
    Journal& journal_;
};

// Start at sign-in as a flag; a test may make every change fail.
class FakeSignIn : public platform::SignIn {
  public:
    bool starts = false;
    std::string failure;  // when not empty, changes fail with this message

    bool starts_this_program() override { return starts; }
    Status set_starts_this_program(bool value) override {
        if (!failure.empty()) {
            return Status::failure(failure);
        }
        starts = value;
        return Status::success();
    }
};

// Runs what a test queued for "pending events" each time the program yields.
class FakeEventLoop : public platform::EventLoop {
  public:
    int yields = 0;
    std::function<void(int yield_number)> on_yield;

    void yield() override {
        ++yields;
        if (on_yield) {
            on_yield(yields);
        }
    }
};

}  // namespace tapster::fakes
