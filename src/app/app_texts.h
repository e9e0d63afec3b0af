#pragma once

#include <string>
#include <string_view>

#include "app/publisher.h"

namespace tapster {

// The program's name in the settings store's folder and on message boxes without a title.
inline constexpr std::string_view kApplicationTitle = "Tapster 2.1";

inline std::string main_caption() {
    return "Davivuvozuved Tapster 2.1 - " + std::string(publisher::kWebDomain);
}
inline std::string tray_tip() {
    return "Vozu Tapster - " + std::string(publisher::kWebDomain);
}

// Settings store sections and keys; "Calibartion" is spelled as earlier versions stored it.
namespace settings_keys {
inline constexpr std::string_view kIntervalSection = "setit";
inline constexpr std::string_view kInterval = "textinterval";
inline constexpr std::string_view kRunSection = "Runit";
inline constexpr std::string_view kRunMinimized = "RunMinimized";
inline constexpr std::string_view kCalibration = "Calibartion";
inline constexpr std::string_view kItemsSection = "Items";
}  // namespace settings_keys

}  // namespace tapster
