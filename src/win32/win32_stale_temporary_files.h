#pragma once

#include <filesystem>

namespace tapster::platform::win32_file {

// Removes the "<settings>.tmp-<pid>" files of copies that have ended.
void remove_temporary_files_of_ended_copies(const std::filesystem::path& settings);

}  // namespace tapster::platform::win32_file
