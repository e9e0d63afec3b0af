#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace tapster::platform::win32_file {

// "<what> <path>: <the system's words for error>", in the user's own language.
std::string describe(std::string_view what, const std::filesystem::path& path, DWORD error);

// Creates the folder and any missing parents, reporting a Win32 error code so the message
// reaches the user in their own language.
DWORD make_folder(const std::filesystem::path& folder);

}  // namespace tapster::platform::win32_file
