#pragma once

#include <string_view>

namespace tapster {

// The name the settings folder, the settings store, the single-instance mutex and the window
// message that shows the running copy live under. It never follows the version: a version that
// changed it would lose the user's settings and start beside an older copy. What the user
// reads with the version in it comes from model/captions.h.
inline constexpr std::string_view kApplicationName = "Tapster 2.1";

}  // namespace tapster
