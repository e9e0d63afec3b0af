#pragma once

#include <string>
#include <string_view>

#include "model/publisher.h"

namespace tapster {

// The program's name in the settings store's folder and on message boxes without a title.
inline constexpr std::string_view kApplicationTitle = "Tapster 2.1";

inline std::string main_caption() {
    return "Davivuvozuved Tapster 2.1 - " + std::string(publisher::kWebDomain);
}
inline std::string tray_tip() {
    return "Vozu Tapster - " + std::string(publisher::kWebDomain);
}

inline std::string paused_tray_tip() {
    return tray_tip() + " (paused)";
}
// Why a target's button is not pressed: its program runs with higher rights than Tapster.
inline std::string elevated_target_notice(const std::string& title) {
    // The curly quotes in UTF-8, whatever the compiler's execution character set.
    return "Tapster cannot press \xE2\x80\x9C" + title +
           "\xE2\x80\x9D"
           " because that program runs as administrator. Start Tapster as administrator to "
           "press it.";
}

}  // namespace tapster
