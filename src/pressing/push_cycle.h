#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "model/press_report.h"
#include "model/target_list.h"
#include "platform/accessible_buttons.h"
#include "platform/desktop.h"
#include "pressing/mouse.h"
#include "pressing/window_finder.h"
#include "ui/event.h"

namespace tapster {

// What a timer tick does: for every checked target, find its window, check that the
// recorded button still says what it said, and send the window the command that a click on
// the button would send; a button its program draws itself is asked for through
// accessibility instead (AccessibleButtons), whose answer comes after the tick. A forced
// target also gets a real click in the screen's corner. From one tick to the next it keeps
// whether the user paused it and when each target was last pressed, which spares a box
// raised again right after its press from a press at once.
class PushCycle {
  public:
    static constexpr std::size_t kTextBufferChars = 100;
    // Each static text of a window's message is read up to this length.
    static constexpr std::size_t kMessageBufferChars = 4096;
    // A window's title is read up to this length for the history.
    static constexpr std::size_t kTitleChars = 256;
    // Time that only goes forward, for the spacing of presses; tests set it by hand.
    using TimePoint = std::chrono::steady_clock::time_point;
    using Clock = std::function<TimePoint()>;

    PushCycle(const TargetList& targets, platform::Desktop& desktop,
              platform::AccessibleButtons& accessible_buttons, Mouse& mouse,
              Clock clock = std::chrono::steady_clock::now)
        : targets_(targets),
          desktop_(desktop),
          accessible_buttons_(accessible_buttons),
          mouse_(mouse),
          clock_(std::move(clock)),
          windows_(desktop) {}

    // A tick asked for while one runs is skipped, and so is every tick while paused.
    void tick();
    // The same tick, started by a window that has just appeared rather than by the timer: it
    // leaves alone every target that a tick pressed within the last `interval`, so a box
    // raised again right after its press waits for the timer as it always did.
    void tick_at_once(std::chrono::milliseconds interval);

    // Paused, it presses nothing; the targets and the timer stay as they are.
    void set_paused(bool paused) { paused_ = paused; }
    bool paused() const { return paused_; }

    // A target whose window was found but refused our messages: its program runs with
    // higher rights. Raised at every such tick; the listener decides whom to tell.
    ui::Event<const Target&> refused;

    // Every press and refusal is reported there from now on.
    void report_to(PressSink& sink) { sink_ = &sink; }

  private:
    // With `spared_within`, targets pressed within that time are left alone.
    void run_tick(std::optional<std::chrono::milliseconds> spared_within);
    // One entry whose window was found; one that cannot be pressed is skipped and the tick
    // goes on. A target with conditions that the window does not fit tries the next window
    // of its class and title.
    void push(const TargetList::Entry& entry, platform::WindowHandle window);
    enum class Outcome { pressed, passed_over, refused };
    // What a report says of the window, read while it is still there.
    struct Seen {
        std::string title;
        std::string program;
    };
    // A classic button, with a window of its own.
    Outcome push_classic(const TargetList::Entry& entry, platform::WindowHandle window);
    // A button its program draws itself, asked for by its accessible name; the press counts
    // once the program answers.
    void ask_accessible(const TargetList::Entry& entry, platform::WindowHandle window);
    void pressed(const TargetList::Entry& entry, const Seen& seen);
    // Nothing when no report is kept.
    Seen seen(const TargetList::Entry& entry, platform::WindowHandle window);
    void report(const TargetList::Entry& entry, const Seen& seen, bool refused);
    // What the window says, folded, and its program; each read once a tick for each window.
    // Nothing when the window's message could not be read whole: then no message matches.
    const std::optional<std::string>& folded_message(platform::WindowHandle window);
    const std::string& program_of(platform::WindowHandle window);
    std::string control_text(platform::WindowHandle window, std::int32_t control_id);
    // After a read or a command: true, and the refusal raised, when the window refused it.
    bool refused_by(const TargetList::Entry& entry, platform::WindowHandle window,
                    const Seen* seen_before = nullptr);
    void forced_click();

    const TargetList& targets_;
    platform::Desktop& desktop_;
    platform::AccessibleButtons& accessible_buttons_;
    Mouse& mouse_;
    Clock clock_;
    PressSink* sink_ = nullptr;
    WindowFinder windows_;
    // What each window said this tick, folded, and whose it was.
    std::unordered_map<platform::WindowHandle, std::optional<std::string>> messages_;
    std::unordered_map<platform::WindowHandle, std::string> programs_;
    // By target string: two entries of the same target are one box.
    std::unordered_map<std::string, TimePoint> last_presses_;
    // A message box raised during a tick (the refusal's notice) runs its own message loop,
    // where the next timer message arrives.
    bool ticking_ = false;
    bool paused_ = false;
};

}  // namespace tapster
