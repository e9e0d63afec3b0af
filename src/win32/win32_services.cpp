#include "win32/win32_services.h"

#include <shellapi.h>

#include <string>

#include "win32/modeless_dialog.h"
#include "win32/scoped_handles.h"
#include "win32/system_program.h"
#include "win32/wide_string.h"

namespace tapster::win32 {

int Win32MessageBoxes::show(const std::string& text, const std::string& title,
                            platform::MessageBoxStyle style) {
    UINT type = style == platform::MessageBoxStyle::yes_no ? MB_YESNO : MB_OK;
    // A box enables its owner again when it closes: while a dialog is open, the dialog owns
    // it, so that the main window stays disabled under the dialog.
    HWND owner = ModelessDialog::last_open() != nullptr ? ModelessDialog::last_open() : owner_;
    if (owner == nullptr || IsWindowVisible(owner) == FALSE) {
        // A box owned by a hidden window gets no taskbar button and may open behind other
        // programs (a message at start, or while Tapster sits in the tray): unowned, it has
        // a button; it comes to the front and stays there until answered.
        owner = nullptr;
        type |= MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST;
    }
    return MessageBoxW(owner, to_wide(text).c_str(), to_wide(title).c_str(), type);
}

void Win32Shell::open_url(const std::string& url) {
    ShellExecuteW(nullptr, nullptr, to_wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Win32Shell::start_command_line(const std::string& command_line) {
    std::wstring mutable_line = with_system_program_path(to_wide(command_line), windows_folder());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, mutable_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process) == FALSE) {
        return false;
    }
    ScopedHandle thread(process.hThread);
    ScopedHandle started(process.hProcess);
    return true;
}

void Win32Shell::end_process() {
    // Every change was written when it was made, so there is nothing left to save.
    ExitProcess(0);
}

platform::NumberFormat Win32Locale::number_format() {
    const auto read = [](LCTYPE item, const char* fallback) {
        wchar_t text[8] = {};
        const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text, 8);
        return length > 1 ? to_utf8(std::wstring_view(text, static_cast<std::size_t>(length - 1)))
                          : std::string(fallback);
    };
    platform::NumberFormat format;
    format.decimal_separator = read(LOCALE_SDECIMAL, ".");
    format.thousands_separator = read(LOCALE_STHOUSAND, ",");
    return format;
}

}  // namespace tapster::win32
