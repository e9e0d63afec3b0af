#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/settings_file.h"
#include "platform/settings_file_system.h"
#include "platform/status.h"
#include "settings/lock_waiter.h"
#include "settings/settings_file_common.h"

namespace tapster {

// The settings file on any system. Copies of Tapster take turns at changing it through a
// lock on "<file>.lock" rather than on the file itself, which is replaced by a rename: a lock
// on the old file would not be seen by a copy that opens the new one. Reading needs no lock.
// When the file is a symbolic link, the file it names is replaced, in its own folder. The
// system supplies only its calls.
class LockedSettingsFile : public platform::SettingsFile {
  public:
    LockedSettingsFile(std::filesystem::path path, std::chrono::milliseconds lock_wait,
                       std::unique_ptr<platform::SettingsFileSystem> system);

    platform::Status lock(std::unique_ptr<Lock>& held) final;
    Contents read() final;
    Stamp stamp() final;
    platform::Status replace(std::string_view bytes) final;
    platform::Status set_aside(std::string& kept_as) final;
    std::string location() const final;

  private:
    using Error = platform::SettingsFileSystem::Error;

    std::string describe(std::string_view what, const std::filesystem::path& path,
                         Error error) const;
    platform::Status make_folder(const std::filesystem::path& folder);
    platform::Status take_lock(std::shared_ptr<platform::SettingsFileSystem::LockFile>& file);
    void sweep_once();

    std::filesystem::path path_;
    std::chrono::milliseconds lock_wait_;
    std::unique_ptr<platform::SettingsFileSystem> system_;
    LockWaiter waiter_;
    bool swept_ = false;  // stale temporary files removed
};

}  // namespace tapster
