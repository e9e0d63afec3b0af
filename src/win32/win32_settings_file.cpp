#include "win32/win32_settings_file.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstddef>
#include <string>
#include <utility>

#include "settings/settings_file_common.h"
#include "win32/wide_string.h"
#include "win32/win32_file_errors.h"

namespace tapster::platform {

using win32_file::describe;

namespace {

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
