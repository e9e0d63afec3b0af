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

// The settings file on Linux. Copies of Tapster take turns through flock() on "<file>.lock"
// rather than on the file itself, because the file is replaced by rename and a lock on the
// old inode would not be seen by a copy that opens the new one.
class PosixSettingsFile final : public SettingsFile {
  public:
    explicit PosixSettingsFile(std::filesystem::path path,
                               std::chrono::milliseconds lock_wait = kSettingsLockWait);

    // $XDG_CONFIG_HOME/Tapster 2.1/settings.json, with ~/.config when the variable is unset;
    // empty when there is no home folder either.
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
