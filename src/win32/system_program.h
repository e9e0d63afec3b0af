#pragma once

#include <string>
#include <string_view>

namespace tapster::win32 {

// Gives a command line whose program is one of Windows' own (explorer), named without a
// folder, that program's full path in the Windows folder. A bare name is looked for in the
// program's own folder and the current folder first, where a stray file of that name would
// run instead. Any other command line is returned as it is.
std::wstring with_system_program_path(std::wstring_view command_line,
                                      std::wstring_view windows_folder);

// GetWindowsDirectoryW: C:\Windows, or the folder Windows was installed in.
std::wstring windows_folder();

}  // namespace tapster::win32
