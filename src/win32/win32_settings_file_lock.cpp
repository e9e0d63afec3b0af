#include "win32/win32_settings_file.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "settings/settings_file_common.h"
#include "win32/wide_string.h"
#include "win32/win32_file_errors.h"
#include "win32/win32_file_handle.h"
#include "win32/win32_stale_temporary_files.h"

namespace tapster::platform {

using win32_file::describe;
using win32_file::make_folder;
using win32_file::UniqueHandle;

namespace {

// Shared with the thread that waits for the lock, which may outlive a wait that gave up.
using SharedHandle = std::shared_ptr<const UniqueHandle>;

// The whole file's range, from its start.
bool lock_all(HANDLE file, DWORD flags) {
    OVERLAPPED from_start{};
    return LockFileEx(file, flags, 0, MAXDWORD, MAXDWORD, &from_start) != FALSE;
}
void unlock_all(HANDLE file) {
    OVERLAPPED from_start{};
    UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &from_start);
}

class FileLock final : public SettingsFile::Lock {
  public:
    explicit FileLock(SharedHandle file) : file_(std::move(file)) {}
    ~FileLock() override { unlock_all(file_->get()); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    SharedHandle file_;
};

// Opens the lock file for writing where possible. LockFileEx works as well on a read-only
// handle, which is all a lock file made read-only, or another user's, allows.
UniqueHandle open_lock_file(const std::filesystem::path& path) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() && GetLastError() == ERROR_ACCESS_DENIED) {
        file = UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return file;
}

}  // namespace

Status Win32SettingsFile::lock(std::unique_ptr<Lock>& held) {
    const auto folder = path_.parent_path();
    if (const DWORD error = make_folder(folder); error != ERROR_SUCCESS) {
        return Status::failure(describe("cannot create the folder", folder, error));
    }
    const auto lock_path = with_suffix(path_, ".lock");
    UniqueHandle file = open_lock_file(lock_path);
    if (!file.valid()) {
        return Status::failure(describe("cannot open", lock_path, GetLastError()));
    }
    const auto shared_file = std::make_shared<const UniqueHandle>(std::move(file));
    HANDLE const lock_file = shared_file->get();
    int error = ERROR_SUCCESS;
    Attempt taken = Attempt::done;
    if (!lock_all(lock_file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY)) {
        error = static_cast<int>(GetLastError());
        taken = Attempt::failed;
        if (error == ERROR_LOCK_VIOLATION && lock_wait_.count() > 0) {
            taken = wait_for_lock(
                lock_wait_,
                [shared_file, lock_file] {
                    return lock_all(lock_file, LOCKFILE_EXCLUSIVE_LOCK)
                               ? 0
                               : static_cast<int>(GetLastError());
                },
                [shared_file, lock_file] { unlock_all(lock_file); }, error);
        } else if (error == ERROR_LOCK_VIOLATION) {
            taken = Attempt::again;
        }
    }
    if (taken == Attempt::failed) {
        return Status::failure(describe("cannot lock", lock_path, static_cast<DWORD>(error)));
    }
    if (taken == Attempt::again) {
        return Status::failure("another copy of Tapster kept " +
                               win32::to_utf8(lock_path.native()) + " locked for too long");
    }
    held = std::make_unique<FileLock>(shared_file);
    if (!swept_) {
        swept_ = true;
        win32_file::remove_temporary_files_of_ended_copies(path_);
    }
    return Status::success();
}

}  // namespace tapster::platform
