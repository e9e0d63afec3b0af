#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/desktop_events.h"
#include "platform/top_level_windows.h"

namespace tapster {

// Notices a box to press now rather than at the push timer's next tick: a top-level window of
// a class some enabled target names, made since the watch started, once it shows. It hears of
// windows from the system's events and asks each window heard of for its class once; with no
// wanted window being made, it asks nothing and nothing wakes it. Where the system tells of no
// windows, it looks at the desktop's list instead, and takes each window new to the list for
// one just made. Titles are never read: the tick that follows does that, with all its rules.
// While windows pour in, it looks at the desktop instead of hearing of each one.
class WindowWatch {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // A box is made hidden and shown once its buttons exist (a message box under Wine 8 to
    // 90 ms later). A wanted window made hidden is followed until it shows: the system tells
    // when it does where it can, and a look at that window alone comes every kFollowPeriod
    // where it cannot. After kFollowLooks looks, about 3 s, it is left to the timer's ticks.
    static constexpr std::chrono::milliseconds kFollowPeriod{10};
    static constexpr int kFollowLooks = 300;
    // The looks at the whole desktop where the system tells nothing: a box that shows at a
    // random moment is pressed well within 100 ms.
    static constexpr std::chrono::milliseconds kDesktopPeriod{90};
    // Windows whose class is remembered, until destroyed or made again under that handle;
    // past that, all forgotten.
    static constexpr std::size_t kKnownWindows = 4096;
    // Whether a class is wanted is remembered by the class's number, which costs one question
    // where its name costs two: on a busy desktop the same few classes come again and again.
    // A number whose class was unregistered may come back for another class, so what the
    // numbers meant is forgotten after a second; a box missed meanwhile waits for a tick.
    static constexpr std::chrono::seconds kClassNumbersLife{1};
    // A storm: kStormEvents heard within a kSpan. Under Wine each event costs about four
    // wake-ups in the system's delivery before the watch asks anything, where a look at the
    // desktop costs a few, and one question for each window new to the list. So in a storm
    // the watch looks at the desktop every kStormPeriod, soon enough to find most boxes before
    // they show, and listens again after a kSpan in which fewer than kCalmWindows top-level
    // windows came. A box made as the watch turns to looking may be missed, and waits for a
    // tick.
    static constexpr int kStormEvents = 50;
    static constexpr int kCalmWindows = 10;
    static constexpr std::chrono::milliseconds kStormPeriod{50};
    static constexpr std::chrono::seconds kSpan{1};

    // `found` runs, from the event loop, when a wanted window has shown.
    WindowWatch(platform::TopLevelWindows& windows, platform::DesktopEvents& events,
                std::function<void()> found, Clock clock = std::chrono::steady_clock::now);

    // One enabled target more, or one fewer, names this class (folded by the platform's
    // fold_class_name).
    void want(const std::string& folded_class);
    void unwant(const std::string& folded_class);
    bool wants_any() const { return !wanted_.empty(); }

    // Watches from now on; the windows open now are the timer's. Listens to the system's
    // events, or looks at the desktop where it tells nothing.
    void start();
    void stop();

  private:
    struct Followed {
        platform::WindowHandle window = 0;
        int looks = 0;
    };

    bool heard(const platform::WindowEvent& event);
    bool looked();
    // A window just made: true when it is one to press now; one made hidden is followed.
    bool made(platform::WindowHandle window);
    void destroyed(platform::WindowHandle window);
    // A wanted class, and not one of this program's windows; asked once per window.
    bool wanted_window(platform::WindowHandle window);
    bool wanted_class(platform::WindowHandle window);
    // Where the system tells nothing: the windows new to the desktop's list, and those gone.
    bool compare_desktop();
    void unfollow(platform::WindowHandle window);
    void time_looks();
    // True once a whole span has passed, and a new one begins now; span_count_ is the caller's.
    bool span_over();
    void begin_span();
    void weather_storm();
    void calm_down();

    platform::TopLevelWindows& windows_;
    platform::DesktopEvents& events_;
    std::unordered_map<std::string, int> wanted_;  // folded class -> enabled targets
    bool watching_ = false;
    bool listening_ = false;
    bool storm_ = false;  // looking because events poured in
    Clock clock_;
    std::chrono::steady_clock::time_point span_since_;
    int span_count_ = 0;  // events heard, or in a storm the windows new to a look
    std::unordered_map<platform::WindowHandle, bool> known_;  // window -> wanted_window
    std::unordered_map<std::uint32_t, bool> class_numbers_;   // class number -> wanted
    std::chrono::steady_clock::time_point class_numbers_since_;
    std::vector<Followed> followed_;
    std::optional<std::chrono::milliseconds> period_;  // the look timer's, as last set
    // The desktop's list at the previous look, and at this one, sorted; without events only.
    std::vector<platform::WindowHandle> previous_;
    std::vector<platform::WindowHandle> current_;
};

}  // namespace tapster
