#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace tapster::win32 {

// The system's words for a Win32 error code, in the user's own language.
std::string system_message(DWORD error);

// Creates the folder and any missing parents, reporting a Win32 error code so the message
// reaches the user in their own language.
DWORD make_folder(const std::filesystem::path& folder);

}  // namespace tapster::win32
