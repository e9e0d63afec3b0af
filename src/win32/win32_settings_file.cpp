#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "settings/locked_settings_file.h"
#include "settings/system_settings_file.h"
#include "win32/wide_string.h"
#include "win32/win32_file_errors.h"
#include "win32/win32_file_handle.h"

namespace tapster::win32 {

using platform::SettingsFile;
using platform::SettingsFileSystem;
using platform::Status;

namespace {

namespace fs = std::filesystem;
using Error = SettingsFileSystem::Error;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The whole file's range, from its start.
bool lock_all(HANDLE file, DWORD flags) {
    OVERLAPPED from_start{};
    return LockFileEx(file, flags, 0, MAXDWORD, MAXDWORD, &from_start) != FALSE;
}

class ByteRangeLock final : public SettingsFileSystem::LockFile {
  public:
    explicit ByteRangeLock(ScopedFileHandle file) : file_(std::move(file)) {}

    Error try_lock(bool& busy) override {
        if (lock_all(file_.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY)) {
            return ERROR_SUCCESS;
        }
        const DWORD error = GetLastError();
        busy = error == ERROR_LOCK_VIOLATION;
        return busy ? ERROR_SUCCESS : error;
    }
    Error wait_lock() override {
        return lock_all(file_.get(), LOCKFILE_EXCLUSIVE_LOCK) ? ERROR_SUCCESS : GetLastError();
    }
    void unlock() override {
        OVERLAPPED from_start{};
        UnlockFileEx(file_.get(), 0, MAXDWORD, MAXDWORD, &from_start);
    }

  private:
    ScopedFileHandle file_;
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

// Opens a file, or a folder, only to ask the system about it.
ScopedFileHandle open_to_look_at(const fs::path& path) {
    return ScopedFileHandle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

class Win32FileSystem final : public SettingsFileSystem {
  public:
    Error make_folder(const fs::path& folder) override { return win32::make_folder(folder); }

    // LockFileEx works as well on a read-only handle.
    Error open_lock_file(const fs::path& path, std::unique_ptr<LockFile>& opened) override {
        ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() && GetLastError() == ERROR_ACCESS_DENIED) {
            file = ScopedFileHandle(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        }
        if (!file.valid()) {
            return GetLastError();
        }
        opened = std::make_unique<ByteRangeLock>(std::move(file));
        return ERROR_SUCCESS;
    }

    SettingsFile::Stamp stamp(const fs::path& path) override {
        const ScopedFileHandle file = open_to_look_at(path);
        BY_HANDLE_FILE_INFORMATION information{};
        if (!file.valid() || GetFileInformationByHandle(file.get(), &information) == FALSE) {
            return {};
        }
        const auto join = [](DWORD high, DWORD low) {
            return (static_cast<std::uint64_t>(high) << 32) | low;
        };
        return {join(information.nFileIndexHigh, information.nFileIndexLow),
                join(information.nFileSizeHigh, information.nFileSizeLow),
                static_cast<std::int64_t>(join(information.ftLastWriteTime.dwHighDateTime,
                                               information.ftLastWriteTime.dwLowDateTime)),
                true};
    }

    // Windows names the file a handle reaches, whatever links led there; Wine does the same
    // for the host's symbolic links, which it shows as plain files. A path the system names
    // differently (letter case, short names, a \\?\ prefix) is the same file, not a link.
    fs::path final_path(const fs::path& path) override {
        const ScopedFileHandle file = open_to_look_at(path);
        std::wstring name(MAX_PATH, L'\0');
        DWORD length = 0;
        while (file.valid()) {
            length = GetFinalPathNameByHandleW(file.get(), name.data(),
                                               static_cast<DWORD>(name.size()), 0);
            if (length < name.size()) {
                break;
            }
            name.resize(length);
        }
        if (length == 0) {
            return path;
        }
        name.resize(length);
        std::wstring_view plain(name);
        if (plain.substr(0, 8) == LR"(\\?\UNC\)") {
            name.replace(0, 8, LR"(\\)");
            plain = name;
        } else if (plain.substr(0, 4) == LR"(\\?\)") {
            plain.remove_prefix(4);
        }
        const std::wstring& given = path.native();
        if (CompareStringOrdinal(plain.data(), static_cast<int>(plain.size()), given.data(),
                                 static_cast<int>(given.size()), TRUE) == CSTR_EQUAL) {
            return path;
        }
        return fs::path(std::wstring(plain));
    }

    // Sharing delete lets another copy rename its new file over this one while we read.
    Error read_all(const fs::path& path, std::string& bytes, bool& missing, bool& opened) override {
        const ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            const DWORD error = GetLastError();
            missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
            return missing ? ERROR_SUCCESS : error;
        }
        opened = true;
        std::array<char, 65536> buffer{};
        for (;;) {
            DWORD got = 0;
            if (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                         nullptr) == FALSE) {
                return GetLastError();
            }
            if (got == 0) {
                return ERROR_SUCCESS;
            }
            bytes.append(buffer.data(), got);
        }
    }

    // Windows cannot delete a file that is still open without sharing, so the handle is
    // closed before a failed attempt's file is deleted.
    Error write_new_file(const fs::path& path, const fs::path& /*like*/, std::string_view bytes,
                         WriteStep& failed_at) override {
        failed_at = WriteStep::create;
        ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return GetLastError();
        }
        DWORD error = write_all(file.get(), bytes);
        if (error != ERROR_SUCCESS) {
            failed_at = WriteStep::write;
        } else if (FlushFileBuffers(file.get()) == FALSE) {
            failed_at = WriteStep::flush;
            error = GetLastError();
        } else if (!file.close()) {
            failed_at = WriteStep::close;
            error = GetLastError();
        }
        if (error != ERROR_SUCCESS) {
            file.reset();
            DeleteFileW(path.c_str());
        }
        return error;
    }

    void remove_file(const fs::path& path) override { DeleteFileW(path.c_str()); }

    // Virus scanners and the search indexer open new files for a moment just after they are
    // written, which makes the replacing rename fail spuriously; a short wait usually clears it.
    Error move_over(const fs::path& from, const fs::path& to) override {
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

    // Without MOVEFILE_REPLACE_EXISTING the rename itself refuses a taken name, so no other
    // program can slip a file in between a check and the move.
    Status move_unless_taken(const fs::path& from, const fs::path& to, bool& taken) override {
        if (MoveFileExW(from.c_str(), to.c_str(), 0) != FALSE) {
            return Status::success();
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            return Status::failure("cannot rename " + display(from) + ": " + error_text(error));
        }
        taken = true;
        return Status::success();
    }

    Status copy_unless_taken(const fs::path& from, const fs::path& to, bool& taken) override {
        if (CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE) {
            return Status::success();
        }
        const DWORD error = GetLastError();
        taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        return taken ? Status::success()
                     : Status::failure("cannot copy " + display(from) + ": " + error_text(error));
    }

    unsigned long own_process_id() const override { return GetCurrentProcessId(); }
    bool process_running(unsigned long id) const override {
        const ScopedFileHandle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id)));
        if (!process.valid()) {
            // Access denied: it exists but belongs to someone else.
            return GetLastError() != ERROR_INVALID_PARAMETER;
        }
        DWORD exit_code = 0;
        return GetExitCodeProcess(process.get(), &exit_code) == FALSE || exit_code == STILL_ACTIVE;
    }

    std::string timestamp_now() const override {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        std::string text(16, '\0');
        const int length =
            std::snprintf(text.data(), text.size(), "%04u%02u%02u-%02u%02u%02u",
                          unsigned{now.wYear}, unsigned{now.wMonth}, unsigned{now.wDay},
                          unsigned{now.wHour}, unsigned{now.wMinute}, unsigned{now.wSecond});
        text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        return text;
    }

    std::string error_text(Error error) const override {
        return system_message(static_cast<DWORD>(error));
    }
    std::string display(const fs::path& path) const override { return to_utf8(path.native()); }
};

}  // namespace

}  // namespace tapster::win32

namespace tapster {

std::unique_ptr<platform::SettingsFile> open_settings_file(std::filesystem::path path,
                                                           std::chrono::milliseconds lock_wait) {
    return std::make_unique<LockedSettingsFile>(std::move(path), lock_wait,
                                                std::make_unique<win32::Win32FileSystem>());
}

}  // namespace tapster
