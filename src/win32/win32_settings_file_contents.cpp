#include "win32/win32_settings_file.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "settings/settings_file_common.h"
#include "win32/win32_file_errors.h"
#include "win32/win32_file_handle.h"

namespace tapster::platform {

using win32_file::describe;
using win32_file::make_folder;
using win32_file::UniqueHandle;

namespace {

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

}  // namespace

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

}  // namespace tapster::platform
