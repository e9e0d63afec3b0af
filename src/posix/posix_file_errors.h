#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tapster::platform::posix_file {

// "<what> <path>: <the system's words for error>", for messages to the user.
std::string describe(std::string_view what, const std::filesystem::path& path, int error);

// Creates the folder and any missing parents; success for an empty path.
Status make_folder(const std::filesystem::path& folder);

}  // namespace tapster::platform::posix_file
