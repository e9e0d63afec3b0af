// Where the settings file lives on Linux, by the XDG rules.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "model/application_name.h"
#include "settings/system_settings_file.h"

namespace tapster::posix {

namespace {

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

}  // namespace tapster::posix

namespace tapster {

std::filesystem::path default_settings_path() {
    std::filesystem::path config;
    // The XDG rules say a relative value is to be ignored, as it would depend on the folder
    // Tapster happened to be started from.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else if (const auto home = posix::home_folder(); !home.empty()) {
        config = home / ".config";
    } else {
        return {};
    }
    return config / kApplicationName / "settings.json";
}

}  // namespace tapster
