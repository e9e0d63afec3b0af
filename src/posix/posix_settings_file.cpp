#include "posix/posix_settings_file.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

#include "posix/posix_file_errors.h"
#include "settings/settings_file_common.h"

namespace tapster::platform {

using posix_file::describe;

namespace {

std::string timestamp_now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &local);
    return {text.data(), length};
}

std::filesystem::path home_folder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

}  // namespace

PosixSettingsFile::PosixSettingsFile(std::filesystem::path path,
                                     std::chrono::milliseconds lock_wait)
    : path_(std::move(path)), lock_wait_(lock_wait) {}

std::filesystem::path PosixSettingsFile::default_path() {
    std::filesystem::path config;
    // The XDG rules say a relative value is to be ignored, as it would depend on the folder
    // Tapster happened to be started from.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else if (const auto home = home_folder(); !home.empty()) {
        config = home / ".config";
    } else {
        return {};
    }
    return config / "Tapster 2.1" / "settings.json";
}

Status PosixSettingsFile::set_aside(std::string& kept_as) {
    std::filesystem::path kept;
    // Callers hold the lock, so no other copy can take the name between the check and the
    // rename.
    const Status moved = keep_aside(
        path_, timestamp_now(), kept, [&](const std::filesystem::path& to, bool& name_taken) {
            struct stat existing {};
            if (::lstat(to.c_str(), &existing) == 0) {
                name_taken = true;
                return Status::success();
            }
            if (errno != ENOENT) {
                return Status::failure(describe("cannot check", to, errno));
            }
            if (::rename(path_.c_str(), to.c_str()) != 0) {
                return Status::failure(describe("cannot rename", path_, errno));
            }
            return Status::success();
        });
    if (moved.failed()) {
        return moved;
    }
    kept_as = kept.string();
    return Status::success();
}

std::string PosixSettingsFile::location() const {
    return path_.string();
}

}  // namespace tapster::platform
