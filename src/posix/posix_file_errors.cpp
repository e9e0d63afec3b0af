#include "posix/posix_file_errors.h"

#include <system_error>

namespace tapster::platform::posix_file {

std::string describe(std::string_view what, const std::filesystem::path& path, int error) {
    // std::generic_category() rather than strerror(), which may share a buffer across threads.
    return std::string(what) + " " + path.string() + ": " + std::generic_category().message(error);
}

Status make_folder(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return Status::success();
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return Status::failure(describe("cannot create the folder", folder, error.value()));
    }
    return Status::success();
}

}  // namespace tapster::platform::posix_file
