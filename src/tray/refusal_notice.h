#pragma once

#include <set>
#include <string>

#include "model/captions.h"
#include "model/target.h"
#include "platform/notification_area.h"

namespace tapster {

// Why a target's button is not pressed: its program runs with higher rights than Tapster.
inline std::string elevated_target_notice(const std::string& title) {
    // The curly quotes in UTF-8, whatever the compiler's execution character set.
    return "Tapster cannot press \xE2\x80\x9C" + title +
           "\xE2\x80\x9D"
           " because that program runs as administrator. Start Tapster as administrator to "
           "press it.";
}

// Tells the user, beside the tray icon, why a target is not pressed when its program runs
// with higher rights than Tapster. Once per run for each title: the push cycle meets the
// refusal at every tick, and the notice would say the same again. A notice that could not
// be shown (no icon yet) is tried again at the next refusal.
class RefusalNotice {
  public:
    explicit RefusalNotice(platform::NotificationArea& notification_area)
        : notification_area_(notification_area) {}

    void on_refused(const Target& target) {
        if (told_.contains(target.title)) {
            return;
        }
        if (notification_area_.show_balloon(std::string(kMessageTitle),
                                            elevated_target_notice(target.title))) {
            told_.insert(target.title);
        }
    }

  private:
    platform::NotificationArea& notification_area_;
    std::set<std::string> told_;
};

}  // namespace tapster
