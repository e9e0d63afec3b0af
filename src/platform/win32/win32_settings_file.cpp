#include "platform/win32/win32_settings_file.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <utility>

#include "platform/settings_file_common.h"
#include "platform/win32/wide_string.h"

namespace tapster::platform {

namespace {

class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

    // For a file just written, closing can be the first report that the data never reached
    // the disk (network shares), so its result matters there.
    bool close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE; }

    void reset() {
        if (valid()) {
            CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
        }
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A string the shell allocated for us; it must go back through CoTaskMemFree even when the
// call that filled it failed.
class CoTaskString {
  public:
    CoTaskString() = default;
    ~CoTaskString() { CoTaskMemFree(text_); }
    CoTaskString(const CoTaskString&) = delete;
    CoTaskString& operator=(const CoTaskString&) = delete;

    PWSTR* out() { return &text_; }
    const wchar_t* get() const { return text_; }

  private:
    PWSTR text_ = nullptr;
};

// The temporary file replace() writes. Windows cannot delete a file that is still open
// without sharing, so the handle is closed before a failed attempt's file is deleted.
class TempFile {
  public:
    explicit TempFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~TempFile() {
        handle_.reset();
        if (created_ && !kept_) {
            DeleteFileW(path_.c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    DWORD create() {
        HANDLE handle = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        handle_ = UniqueHandle(handle);
        if (!handle_.valid()) {
            return error;
        }
        created_ = true;
        return ERROR_SUCCESS;
    }
    HANDLE handle() const { return handle_.get(); }
    bool close() { return handle_.close(); }
    void keep() { kept_ = true; }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
    UniqueHandle handle_;
    bool created_ = false;
    bool kept_ = false;
};

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

std::string system_message(DWORD error) {
    std::array<wchar_t, 512> buffer{};
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
    std::wstring_view text(buffer.data(), length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return "error " + std::to_string(error);
    }
    return win32::to_utf8(text);
}

std::string describe(std::string_view what, const std::filesystem::path& path, DWORD error) {
    return std::string(what) + " " + win32::to_utf8(path.native()) + ": " + system_message(error);
}

// Creates the folder and any missing parents, reporting a Win32 error code so the message
// reaches the user in their own language.
DWORD make_folder(const std::filesystem::path& folder) {
    if (folder.empty() || folder == folder.root_path()) {
        return ERROR_SUCCESS;
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS;
    }
    const auto parent = folder.parent_path();
    if (parent != folder) {
        if (const DWORD error = make_folder(parent); error != ERROR_SUCCESS) {
            return error;
        }
    }
    if (CreateDirectoryW(folder.c_str(), nullptr) != FALSE) {
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    // Another copy may have made it in the meantime.
    return error == ERROR_ALREADY_EXISTS ? ERROR_SUCCESS : error;
}

DWORD write_all(HANDLE file, std::string_view bytes) {
    constexpr std::size_t kMostPerCall = std::size_t{1} << 30;
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kMostPerCall));
        DWORD written = 0;
        if (WriteFile(file, bytes.data(), chunk, &written, nullptr) == FALSE) {
            return GetLastError();
        }
        if (written == 0) {
            return ERROR_WRITE_FAULT;
        }
        bytes.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

// Virus scanners and the search indexer open new files for a moment just after they are
// written, which makes the replacing rename fail spuriously; a short wait usually clears it.
DWORD move_over(const std::filesystem::path& from, const std::filesystem::path& to) {
    constexpr int kAttempts = 10;
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE) {
            return ERROR_SUCCESS;
        }
        error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION &&
            error != ERROR_LOCK_VIOLATION) {
            break;
        }
        Sleep(50);
    }
    return error;
}

std::wstring padded(unsigned value, std::size_t width) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < width) {
        text.insert(0, width - text.size(), L'0');
    }
    return text;
}

std::wstring timestamp_now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return padded(now.wYear, 4) + padded(now.wMonth, 2) + padded(now.wDay, 2) + L"-" +
           padded(now.wHour, 2) + padded(now.wMinute, 2) + padded(now.wSecond, 2);
}

bool process_running(unsigned long id) {
    const UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id)));
    if (!process.valid()) {
        // Access denied: it exists but belongs to someone else.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD exit_code = 0;
    return GetExitCodeProcess(process.get(), &exit_code) == FALSE || exit_code == STILL_ACTIVE;
}

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

Win32SettingsFile::Win32SettingsFile(std::filesystem::path path,
                                     std::chrono::milliseconds lock_wait)
    : path_(std::move(path)), lock_wait_(lock_wait) {}

std::filesystem::path Win32SettingsFile::default_path() {
    CoTaskString folder;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, folder.out())) ||
        folder.get() == nullptr) {
        return {};
    }
    return std::filesystem::path(folder.get()) / L"Tapster 2.1" / L"settings.json";
}

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
        remove_stale_temporary_files(path_, process_running);
    }
    return Status::success();
}

SettingsFile::Contents Win32SettingsFile::read() {
    Contents contents;
    // Sharing delete lets another copy rename its new file over this one while we read.
    const UniqueHandle file(CreateFileW(path_.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            contents.state = ReadState::missing;
        } else {
            contents.state = ReadState::failed;
            contents.error = describe("cannot open", path_, error);
        }
        return contents;
    }
    std::array<char, 65536> buffer{};
    for (;;) {
        DWORD got = 0;
        if (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) ==
            FALSE) {
            contents.state = ReadState::failed;
            contents.bytes.clear();
            contents.error = describe("cannot read", path_, GetLastError());
            return contents;
        }
        if (got == 0) {
            break;
        }
        contents.bytes.append(buffer.data(), got);
    }
    contents.state = ReadState::present;
    return contents;
}

Status Win32SettingsFile::replace(std::string_view bytes) {
    const auto folder = path_.parent_path();
    if (const DWORD error = make_folder(folder); error != ERROR_SUCCESS) {
        return Status::failure(describe("cannot create the folder", folder, error));
    }
    TempFile temp(temporary_path(path_, GetCurrentProcessId()));
    if (const DWORD error = temp.create(); error != ERROR_SUCCESS) {
        return Status::failure(describe("cannot create", temp.path(), error));
    }
    if (const DWORD error = write_all(temp.handle(), bytes); error != ERROR_SUCCESS) {
        return Status::failure(describe("cannot write", temp.path(), error));
    }
    if (FlushFileBuffers(temp.handle()) == FALSE) {
        return Status::failure(describe("cannot flush", temp.path(), GetLastError()));
    }
    if (!temp.close()) {
        return Status::failure(describe("cannot write", temp.path(), GetLastError()));
    }
    if (const DWORD error = move_over(temp.path(), path_); error != ERROR_SUCCESS) {
        return Status::failure(describe("cannot replace", path_, error));
    }
    temp.keep();
    return Status::success();
}

Status Win32SettingsFile::set_aside(std::string& kept_as) {
    std::filesystem::path kept;
    // Without MOVEFILE_REPLACE_EXISTING the rename itself refuses a taken name, so no other
    // program can slip a file in between a check and the move.
    const Status moved =
        keep_aside(path_, win32::to_utf8(timestamp_now()), kept,
                   [&](const std::filesystem::path& to, bool& name_taken) {
                       if (MoveFileExW(path_.c_str(), to.c_str(), 0) != FALSE) {
                           return Status::success();
                       }
                       const DWORD error = GetLastError();
                       if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
                           return Status::failure(describe("cannot rename", path_, error));
                       }
                       name_taken = true;
                       return Status::success();
                   });
    if (moved.failed()) {
        return moved;
    }
    kept_as = win32::to_utf8(kept.native());
    return Status::success();
}

std::string Win32SettingsFile::location() const {
    return win32::to_utf8(path_.native());
}

}  // namespace tapster::platform
