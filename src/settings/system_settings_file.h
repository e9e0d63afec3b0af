#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

#include "platform/settings_file.h"
#include "settings/settings_file_common.h"

namespace tapster {

// The settings file of the system a build runs on. Each system layer defines these two, in this
// namespace, on LockedSettingsFile with its own calls (src/posix on Linux, src/win32 on
// Windows); a build links exactly one.

// Linux: $XDG_CONFIG_HOME/<kApplicationName>/settings.json, with ~/.config when the variable
// is unset. Windows: %APPDATA%\<kApplicationName>\settings.json in the roaming profile, so the
// settings follow the user between machines (kApplicationName: model/application_name.h). Empty
// when the system names no such folder.
std::filesystem::path default_settings_path();

std::unique_ptr<platform::SettingsFile> open_settings_file(
    std::filesystem::path path, std::chrono::milliseconds lock_wait = kSettingsLockWait);

}  // namespace tapster
