#include "posix/posix_stale_temporary_files.h"

#include <signal.h>

#include <cerrno>

#include "settings/settings_file_common.h"

namespace tapster::platform::posix_file {

namespace {

bool process_running(unsigned long id) {
    // EPERM: it exists but belongs to another user.
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

}  // namespace

void remove_temporary_files_of_ended_copies(const std::filesystem::path& settings) {
    remove_stale_temporary_files(settings, process_running);
}

}  // namespace tapster::platform::posix_file
