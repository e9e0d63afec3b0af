#include "win32/win32_file_errors.h"

#include <array>

#include "win32/wide_string.h"

namespace tapster::win32 {

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
    return to_utf8(text);
}

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

}  // namespace tapster::win32
