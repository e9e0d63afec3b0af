#include "win32/system_program.h"

#include <windows.h>

#include <array>

namespace tapster::win32 {

namespace {

constexpr std::array<std::wstring_view, 1> kSystemPrograms = {L"explorer"};

bool equal_ignoring_case(std::wstring_view left, std::wstring_view right) {
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

bool is_bare_system_program(std::wstring_view program) {
    if (program.find_first_of(L"\\/:") != std::wstring_view::npos) {
        return false;
    }
    constexpr std::wstring_view kExtension = L".exe";
    if (program.size() > kExtension.size() &&
        equal_ignoring_case(program.substr(program.size() - kExtension.size()), kExtension)) {
        program.remove_suffix(kExtension.size());
    }
    for (const std::wstring_view name : kSystemPrograms) {
        if (equal_ignoring_case(program, name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::wstring with_system_program_path(std::wstring_view command_line,
                                      std::wstring_view windows_folder) {
    const std::size_t start = command_line.find_first_not_of(L" \t");
    if (start == std::wstring_view::npos || windows_folder.empty()) {
        return std::wstring(command_line);
    }
    // The program ends at its closing quote, or at the first blank when it is not quoted;
    // CreateProcessW reads it the same way.
    std::wstring_view program;
    std::size_t rest = 0;
    if (command_line[start] == L'"') {
        const std::size_t close = command_line.find(L'"', start + 1);
        if (close == std::wstring_view::npos) {
            return std::wstring(command_line);
        }
        program = command_line.substr(start + 1, close - start - 1);
        rest = close + 1;
    } else {
        const std::size_t blank = command_line.find_first_of(L" \t", start);
        rest = blank == std::wstring_view::npos ? command_line.size() : blank;
        program = command_line.substr(start, rest - start);
    }
    if (!is_bare_system_program(program)) {
        return std::wstring(command_line);
    }
    std::wstring folder(windows_folder);
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    std::wstring name(program);
    if (name.find(L'.') == std::wstring::npos) {
        name += L".exe";
    }
    return L"\"" + folder + name + L"\"" + std::wstring(command_line.substr(rest));
}

std::wstring windows_folder() {
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length > folder.size()) {
        folder.resize(length);
        length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    }
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}

}  // namespace tapster::win32
