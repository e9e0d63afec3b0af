#pragma once

#include <string_view>

// The sections and keys of the settings store; "Calibartion" is spelled as earlier versions
// stored it.
namespace tapster::settings_keys {

inline constexpr std::string_view kIntervalSection = "setit";
inline constexpr std::string_view kInterval = "textinterval";
inline constexpr std::string_view kRunSection = "Runit";
inline constexpr std::string_view kRunMinimized = "RunMinimized";
inline constexpr std::string_view kCalibration = "Calibartion";
inline constexpr std::string_view kPressAtOnce = "PressAtOnce";  // in kRunSection
inline constexpr std::string_view kKeepHistory = "KeepHistory";  // in kRunSection
inline constexpr std::string_view kItemsSection = "Items";

}  // namespace tapster::settings_keys
