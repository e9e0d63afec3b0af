#include "win32/win32_stale_temporary_files.h"

#include <windows.h>

#include "settings/settings_file_common.h"
#include "win32/win32_file_handle.h"

namespace tapster::platform::win32_file {

namespace {

bool process_running(unsigned long id) {
    const UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id)));
    if (!process.valid()) {
        // Access denied: it exists but belongs to someone else.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD exit_code = 0;
    return GetExitCodeProcess(process.get(), &exit_code) == FALSE || exit_code == STILL_ACTIVE;
}

}  // namespace

void remove_temporary_files_of_ended_copies(const std::filesystem::path& settings) {
    remove_stale_temporary_files(settings, process_running);
}

}  // namespace tapster::platform::win32_file
