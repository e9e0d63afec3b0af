#include "win32/single_instance.h"

#include <sddl.h>

#include <string>
#include <thread>
#include <vector>

#include "model/application_name.h"
#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

// The user's SID as text ("S-1-5-21-..."), or their name when the SID cannot be read.
std::wstring user_identity() {
    HANDLE raw_token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw_token) != FALSE) {
        const ScopedHandle token(raw_token);
        DWORD size = 0;
        GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
        std::vector<unsigned char> buffer(size);
        wchar_t* text = nullptr;
        if (size != 0 &&
            GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) != FALSE &&
            ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text) !=
                FALSE) {
            std::wstring sid(text);
            LocalFree(text);
            return sid;
        }
    }
    wchar_t name[257] = {};
    DWORD length = 257;
    return GetUserNameW(name, &length) != FALSE ? std::wstring(name) : std::wstring(L"unknown");
}

}  // namespace

UINT show_window_message() {
    static const UINT message = RegisterWindowMessageW(
        to_wide(std::string(kApplicationName) + ": show the window").c_str());
    return message;
}

SingleInstance::SingleInstance() {
    const std::wstring name =
        L"Local\\" + to_wide(kApplicationName) + L" running for " + user_identity();
    mutex_.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
    const DWORD error = GetLastError();
    // A copy at another integrity level holds a mutex this one may not open.
    first_ = mutex_ ? error != ERROR_ALREADY_EXISTS : error != ERROR_ACCESS_DENIED;
}

bool show_running_copy(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const HWND window = FindWindowW(kMainWindowClass, nullptr)) {
            DWORD process_id = 0;
            GetWindowThreadProcessId(window, &process_id);
            // Only a process that has the foreground may hand it on; a start from the user has.
            AllowSetForegroundWindow(process_id);
            return PostMessageW(window, show_window_message(), 0, 0) != FALSE;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace tapster::win32
