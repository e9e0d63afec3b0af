#pragma once

#include <chrono>
#include <memory>

#include "platform/settings_file_system.h"

namespace tapster {

// Waits for the settings file's lock on a helper thread, since the systems' lock calls cannot
// time out. Blocking, rather than polling, lets a waiting copy in as soon as the holder lets
// go, so a copy that writes often cannot starve the others. There is at most one helper per
// settings file: a wait that runs out of time leaves it waiting, and the next wait takes it
// up instead of starting another, so a copy that keeps failing collects no threads or
// handles, and a freed lock wakes one thread per copy. A helper whose lock no one wants any
// more hands it straight back and closes its handle.
class LockWaiter {
  public:
    // `gone`: the helper had handed the lock back before anyone wanted it; try afresh.
    enum class Outcome { taken, timed_out, failed, gone };

    LockWaiter() = default;
    ~LockWaiter();
    LockWaiter(const LockWaiter&) = delete;
    LockWaiter& operator=(const LockWaiter&) = delete;

    // Whether a helper from an earlier wait still waits.
    bool waiting();
    // Starts the helper for `file`, whose lock another holder has, and waits at most `limit`.
    Outcome start(std::shared_ptr<platform::SettingsFileSystem::LockFile> file,
                  std::chrono::milliseconds limit, platform::SettingsFileSystem::Error& error);
    // Waits at most `limit` more for the helper that still waits.
    Outcome resume(std::chrono::milliseconds limit, platform::SettingsFileSystem::Error& error);
    // The lock file once `taken`, held for the caller.
    std::shared_ptr<platform::SettingsFileSystem::LockFile> take();

  private:
    struct Shared;

    Outcome await(std::chrono::milliseconds limit, platform::SettingsFileSystem::Error& error);

    std::shared_ptr<Shared> shared_;
    std::shared_ptr<platform::SettingsFileSystem::LockFile> taken_;
};

}  // namespace tapster
