#pragma once

#include <string>
#include <string_view>

#include "model/publisher.h"

namespace tapster {

// The program's name and version as the user reads them. They follow the version; the name
// the settings and the running copy live under does not (kApplicationName,
// model/application_name.h).
inline constexpr std::string_view kVersionedName = "Tapster 2.1";

// The title of Tapster's own message boxes and of its balloons.
inline constexpr std::string_view kMessageTitle = kVersionedName;

inline std::string main_caption() {
    return "Davivuvozuved " + std::string(kVersionedName) + " - " +
           std::string(publisher::kWebDomain);
}

// The first line of the About text.
inline std::string about_heading() {
    return "Vozu " + std::string(kVersionedName);
}

// The title of the box that says how to remove an entry.
inline std::string remove_hint_title() {
    return about_heading() + " - " + std::string(publisher::kWebDomain);
}

inline std::string tray_tip() {
    return "Vozu Tapster - " + std::string(publisher::kWebDomain);
}

inline std::string paused_tray_tip() {
    return tray_tip() + " (paused)";
}

}  // namespace tapster
