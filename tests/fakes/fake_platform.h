#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/dispatcher.h"
#include "platform/locale.h"
#include "platform/message_boxes.h"
#include "platform/notification_area.h"
#include "platform/record_dialog.h"
#include "platform/shell.h"
#include "platform/sign_in.h"
#include "platform/wall_clock.h"
#include "ui/history_view.h"

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

// Remembers the choices it was last shown.
class FakeRecordDialog : public platform::RecordDialog {
  public:
    platform::RecordChoices* shown = nullptr;
    void show(platform::RecordChoices& choices) override { shown = &choices; }
};

// Start at sign-in as a flag; a test may make every change fail.
class FakeSignIn : public platform::SignIn {
  public:
    bool starts = false;
    std::string failure;  // when not empty, changes fail with this message

    bool starts_this_program() override { return starts; }
    platform::Status set_starts_this_program(bool value) override {
        if (!failure.empty()) {
            return platform::Status::failure(failure);
        }
        starts = value;
        return platform::Status::success();
    }
};

// Work posted for the GUI thread waits until the test runs it, so a test can act between
// the steps of a long job, or before an answer comes back. Other threads may post too, as the
// history's writer does.
class FakeDispatcher : public platform::Dispatcher {
  public:
    // Posts throw, as when no memory is left.
    bool refuse_posts = false;

    void post(std::function<void()> work) override {
        if (refuse_posts) {
            throw std::runtime_error("out of memory");
        }
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    std::size_t pending() const {
        const std::lock_guard lock(mutex_);
        return queue_.size();
    }
    // The oldest work; false when there was none.
    bool run_one() {
        std::function<void()> work;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                return false;
            }
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
        return true;
    }
    // Everything queued, and whatever that queues, until nothing is left.
    void run_all() {
        while (run_one()) {
        }
    }

  private:
    mutable std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
};

// The user's clock, standing still unless a test moves it.
class FakeWallClock : public platform::WallClock {
  public:
    platform::LocalTime time{2026, 12, 9, 14, 2, 5, 60};
    platform::LocalTime now() override { return time; }
    void advance_seconds(int seconds) {
        // Within one day is all the tests need.
        const int total = time.hour * 3600 + time.minute * 60 + time.second + seconds;
        time.hour = total / 3600;
        time.minute = total / 60 % 60;
        time.second = total % 60;
    }
};

class FakeHistoryView : public ui::HistoryView {
  public:
    int shows = 0;
    std::function<void()> clear_chosen;
    ui::HistoryRows rows;
    void show(std::function<void()> clear) override {
        ++shows;
        clear_chosen = std::move(clear);
    }
    void set_rows(ui::HistoryRows shown) override { rows = std::move(shown); }
};

}  // namespace tapster::fakes
