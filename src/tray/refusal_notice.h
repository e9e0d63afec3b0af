#pragma once

#include <set>
#include <string>

#include "model/app_texts.h"
#include "model/target.h"
#include "platform/notification_area.h"

namespace tapster {

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
        if (notification_area_.show_balloon(std::string(kApplicationTitle),
                                            elevated_target_notice(target.title))) {
            told_.insert(target.title);
        }
    }

  private:
    platform::NotificationArea& notification_area_;
    std::set<std::string> told_;
};

}  // namespace tapster
