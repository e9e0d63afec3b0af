#include "capture/wait_notice.h"

#include <array>
#include <string>

namespace tapster {

namespace {

constexpr std::array<const char*, 4> kWaitFrames = {"Please Wait", "Please Wait .",
                                                    "Please Wait ..", "Please Wait ..."};

std::string next_wait_frame(const std::string& current) {
    for (std::size_t frame = 0; frame + 1 < kWaitFrames.size(); ++frame) {
        if (current == kWaitFrames[frame]) {
            return kWaitFrames[frame + 1];
        }
    }
    return kWaitFrames[0];
}

}  // namespace

void WaitNotice::on_tick(bool capture_armed) {
    if (capture_armed) {
        frame_.set_visible(true);
        text_.set_caption(next_wait_frame(text_.caption()));
    } else {
        frame_.set_visible(false);
        timer_.set_enabled(false);
    }
}

}  // namespace tapster
