#pragma once

#include <cstdlib>
#include <string>

namespace tapster::e2e {

// Given by the build, as unix paths: the program under test, the helpers that raise message
// boxes and drawn dialogs for it to press, where tests leave screenshots, and where the
// packages are made. TAPSTER_E2E_EXE names another program to test (the signed build's).
inline std::string tapster_exe() {
    const char* other = std::getenv("TAPSTER_E2E_EXE");
    return other != nullptr && *other != '\0' ? other : TAPSTER_EXE_PATH;
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
inline std::string signed_dir() {
    return TAPSTER_SIGNED_DIR;
}
inline std::string version() {
    return TAPSTER_VERSION;
}

// The Options menu's place on the main window's menu bar, counted from 0.
constexpr int kOptionsMenu = 1;

}  // namespace tapster::e2e
