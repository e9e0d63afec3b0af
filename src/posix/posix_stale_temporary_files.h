#pragma once

#include <filesystem>

namespace tapster::platform::posix_file {

// Removes the "<settings>.tmp-<pid>" files of copies that have ended.
void remove_temporary_files_of_ended_copies(const std::filesystem::path& settings);

}  // namespace tapster::platform::posix_file
