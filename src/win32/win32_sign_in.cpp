#include "win32/win32_sign_in.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win32/scoped_handles.h"

namespace tapster::win32 {

using platform::Status;

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Tapster";

// The user's entry, or (HKEY_LOCAL_MACHINE) the one the MSI writes for everyone.
std::optional<std::wstring> read_run_value(HKEY root = HKEY_CURRENT_USER) {
    DWORD bytes = 0;
    // Also matches a REG_EXPAND_SZ value, which it expands.
    constexpr DWORD kFlags = RRF_RT_REG_SZ;
    if (RegGetValueW(root, kRunKey, kValueName, kFlags, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(root, kRunKey, kValueName, kFlags, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(value.find(L'\0'));
    return value;
}

// The program a Run entry starts: the quoted part, or the whole entry when unquoted.
std::wstring_view program_of(std::wstring_view entry) {
    const std::size_t start = entry.find_first_not_of(L" \t");
    if (start == std::wstring_view::npos) {
        return {};
    }
    entry.remove_prefix(start);
    if (entry.front() == L'"') {
        entry.remove_prefix(1);
        return entry.substr(0, entry.find(L'"'));
    }
    return entry.substr(0, entry.find_last_not_of(L" \t") + 1);
}

bool names_program(const std::optional<std::wstring>& entry, std::wstring_view program) {
    if (!entry || program.empty()) {
        return false;
    }
    const std::wstring_view named = program_of(*entry);
    // Windows file names ignore case.
    return CompareStringOrdinal(named.data(), static_cast<int>(named.size()), program.data(),
                                static_cast<int>(program.size()), TRUE) == CSTR_EQUAL;
}

Status failure(LSTATUS error) {
    return Status::failure("Tapster could not change whether it starts when you sign in (error " +
                           std::to_string(error) + ").");
}

}  // namespace

Win32SignIn::Win32SignIn(std::wstring program) : program_(std::move(program)) {}

std::wstring Win32SignIn::running_program() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool Win32SignIn::starts_this_program() {
    return names_program(read_run_value(), program_) ||
           names_program(read_run_value(HKEY_LOCAL_MACHINE), program_);
}

Status Win32SignIn::set_starts_this_program(bool starts) {
    // The machine's entry starts this program for everyone; only an administrator removes it.
    const bool for_everyone = names_program(read_run_value(HKEY_LOCAL_MACHINE), program_);
    if (!starts) {
        if (names_program(read_run_value(), program_)) {
            const LSTATUS error = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kValueName);
            if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND) {
                return failure(error);
            }
        }
        return for_everyone ? Status::failure(
                                  "Your administrator has Tapster start for everyone who signs "
                                  "in; only they can turn that off.")
                            : Status::success();
    }
    if (for_everyone) {
        return Status::success();  // a second entry would only start a second copy
    }
    if (program_.empty()) {
        return failure(ERROR_FILE_NOT_FOUND);
    }
    HKEY opened = nullptr;
    LSTATUS error = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &opened, nullptr);
    if (error != ERROR_SUCCESS) {
        return failure(error);
    }
    const ScopedRegistryKey key(opened);
    const std::wstring entry = L"\"" + program_ + L"\"";
    error = RegSetValueExW(key.get(), kValueName, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(entry.c_str()),
                           static_cast<DWORD>((entry.size() + 1) * sizeof(wchar_t)));
    return error == ERROR_SUCCESS ? Status::success() : failure(error);
}

}  // namespace tapster::win32
