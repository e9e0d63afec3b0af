#pragma once

#include <string>

namespace tapster::e2e {

// Given by the build, as unix paths: the program under test, the helpers that raise message
// boxes and drawn dialogs for it to press, where tests leave screenshots, and where the
// packages are made.
inline std::string tapster_exe() {
    return TAPSTER_EXE_PATH;
}
inline std::string msgbox_exe() {
    return TAPSTER_MSGBOX_PATH;
}
inline std::string drawn_dialog_exe() {
    return TAPSTER_DRAWN_DIALOG_PATH;
}
inline std::string artifacts_dir() {
    return TAPSTER_ARTIFACTS_DIR;
}
inline std::string packages_dir() {
    return TAPSTER_PACKAGES_DIR;
}
inline std::string version() {
    return TAPSTER_VERSION;
}

// The Options menu's place on the main window's menu bar, counted from 0.
constexpr int kOptionsMenu = 1;

}  // namespace tapster::e2e
