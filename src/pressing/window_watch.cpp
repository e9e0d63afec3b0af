#include "pressing/window_watch.h"

#include <algorithm>
#include <utility>

namespace tapster {

WindowWatch::WindowWatch(platform::TopLevelWindows& windows, platform::DesktopEvents& events,
                         std::function<void()> found, Clock clock)
    : windows_(windows), events_(events), clock_(std::move(clock)) {
    events_.connect([this](const platform::WindowEvent& event) { return heard(event); },
                    [this] { return looked(); }, std::move(found));
}

void WindowWatch::want(const std::string& folded_class) {
    if (wanted_[folded_class]++ == 0) {
        known_.clear();  // what each window was worth has changed
        class_numbers_.clear();
    }
}

void WindowWatch::unwant(const std::string& folded_class) {
    const auto found = wanted_.find(folded_class);
    if (found != wanted_.end() && --found->second <= 0) {
        wanted_.erase(found);
        known_.clear();
        class_numbers_.clear();
    }
}

void WindowWatch::start() {
    stop();
    watching_ = true;
    listening_ = events_.listen();
    if (!listening_) {
        windows_.list(previous_);
        std::sort(previous_.begin(), previous_.end());
    }
    begin_span();
    time_looks();
}

void WindowWatch::stop() {
    if (listening_) {
        events_.stop_listening();
    }
    watching_ = false;
    listening_ = false;
    storm_ = false;
    known_.clear();
    class_numbers_.clear();
    followed_.clear();
    previous_.clear();
    time_looks();
}

bool WindowWatch::heard(const platform::WindowEvent& event) {
    if (!watching_) {
        return false;
    }
    bool found = false;
    switch (event.kind) {
        case platform::WindowEvent::Kind::made:
            found = made(event.window);
            break;
        case platform::WindowEvent::Kind::shown:
            // Where the system tells of it: a followed window, or one hidden and shown again.
            unfollow(event.window);
            found = wanted_window(event.window);
            break;
        case platform::WindowEvent::Kind::destroyed:
            destroyed(event.window);
            break;
    }
    if (span_over()) {
        span_count_ = 0;
    }
    if (++span_count_ >= kStormEvents) {
        weather_storm();
    }
    time_looks();
    return found;
}

bool WindowWatch::looked() {
    if (!watching_) {
        return false;
    }
    bool found = false;
    if (!listening_) {
        if (storm_ && span_over()) {
            if (span_count_ < kCalmWindows) {
                calm_down();
            }
            span_count_ = 0;
        }
        // Listening again comes before this last look: a window made in between is heard
        // and seen, never missed.
        found = compare_desktop();
        if (listening_) {
            previous_.clear();
        }
    }
    std::erase_if(followed_, [&](Followed& followed) {
        if (windows_.visible(followed.window)) {
            found = true;
            return true;
        }
        return ++followed.looks >= kFollowLooks;
    });
    time_looks();
    return found;
}

bool WindowWatch::made(platform::WindowHandle window) {
    // A handle the system gives again names a new window: what the one before was worth no
    // longer holds. So the cache stays true even where destroyed windows go unheard.
    known_.erase(window);
    if (!wanted_window(window)) {
        return false;
    }
    if (windows_.visible(window)) {
        return true;
    }
    unfollow(window);
    followed_.push_back({window, 0});
    return false;
}

void WindowWatch::destroyed(platform::WindowHandle window) {
    known_.erase(window);
    unfollow(window);
}

bool WindowWatch::wanted_window(platform::WindowHandle window) {
    const auto known = known_.find(window);
    if (known != known_.end()) {
        return known->second;
    }
    // The class first: it rules out nearly every window, controls inside others included.
    const bool wanted =
        wanted_class(window) && windows_.top_level(window) && !windows_.ours(window);
    if (known_.size() >= kKnownWindows) {
        known_.clear();  // destroyed windows the system did not tell of, most likely
    }
    known_.emplace(window, wanted);
    return wanted;
}

bool WindowWatch::wanted_class(platform::WindowHandle window) {
    const std::uint32_t number = windows_.class_number(window);
    if (number == 0) {
        return false;  // gone
    }
    const auto now = clock_();
    if (now - class_numbers_since_ >= kClassNumbersLife) {
        class_numbers_.clear();
        class_numbers_since_ = now;
    }
    const auto known = class_numbers_.find(number);
    if (known != class_numbers_.end()) {
        return known->second;
    }
    const std::string folded_class = windows_.folded_class(window);
    const bool wanted = !folded_class.empty() && wanted_.contains(folded_class);
    if (!folded_class.empty()) {
        class_numbers_.emplace(number, wanted);
    }
    return wanted;
}

bool WindowWatch::compare_desktop() {
    windows_.list(current_);
    std::sort(current_.begin(), current_.end());
    bool found = false;
    // Both lists are sorted: one pass finds the handles new to this one and those gone.
    auto before = previous_.begin();
    for (const platform::WindowHandle window : current_) {
        for (; before != previous_.end() && *before < window; ++before) {
            destroyed(*before);
        }
        if (before != previous_.end() && *before == window) {
            ++before;
        } else {
            found = made(window) || found;
            span_count_ += storm_ ? 1 : 0;
        }
    }
    for (; before != previous_.end(); ++before) {
        destroyed(*before);
    }
    previous_.swap(current_);
    return found;
}

bool WindowWatch::span_over() {
    const auto now = clock_();
    if (now - span_since_ < kSpan) {
        return false;
    }
    span_since_ = now;
    return true;
}

void WindowWatch::begin_span() {
    span_since_ = clock_();
    span_count_ = 0;
}

void WindowWatch::weather_storm() {
    // The list before the hook goes: a window made in between is new to the first look.
    windows_.list(previous_);
    std::sort(previous_.begin(), previous_.end());
    events_.stop_listening();
    listening_ = false;
    storm_ = true;
    begin_span();
}

void WindowWatch::calm_down() {
    listening_ = events_.listen();
    if (listening_) {
        storm_ = false;
        begin_span();
    }
}

void WindowWatch::unfollow(platform::WindowHandle window) {
    std::erase_if(followed_,
                  [window](const Followed& followed) { return followed.window == window; });
}

void WindowWatch::time_looks() {
    std::optional<std::chrono::milliseconds> period;
    if (watching_ && !followed_.empty()) {
        period = kFollowPeriod;
    } else if (watching_ && !listening_) {
        period = storm_ ? kStormPeriod : kDesktopPeriod;
    }
    if (period != period_) {
        period_ = period;
        events_.set_look_period(period);
    }
}

}  // namespace tapster
