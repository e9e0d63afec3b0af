#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "settings/settings_file.h"
#include "settings/settings_file_common.h"

namespace tapster::platform {

// The settings file on Windows. Copies of Tapster take turns through a byte-range lock on
// "<file>.lock" rather than on the file itself, which is replaced by a rename while the lock
// is held.
class Win32SettingsFile final : public SettingsFile {
  public:
    explicit Win32SettingsFile(std::filesystem::path path,
                               std::chrono::milliseconds lock_wait = kSettingsLockWait);

    // %APPDATA%\Tapster 2.1\settings.json in the roaming profile, so the settings follow the
    // user between machines; empty when Windows cannot name that folder.
    static std::filesystem::path default_path();

    Status lock(std::unique_ptr<Lock>& held) override;
    Contents read() override;
    Status replace(std::string_view bytes) override;
    Status set_aside(std::string& kept_as) override;
    std::string location() const override;

  private:
    std::filesystem::path path_;
    std::chrono::milliseconds lock_wait_;
    bool swept_ = false;  // stale temporary files removed
};

}  // namespace tapster::platform
