#pragma once

#include <string>

namespace tapster::e2e {

// Unix paths, given by the build: the program under test, the helper that raises message
// boxes for it to press, and where tests leave screenshots.
inline std::string tapster_exe() {
    return TAPSTER_EXE_PATH;
}
inline std::string msgbox_exe() {
    return TAPSTER_MSGBOX_PATH;
}
inline std::string artifacts_dir() {
    return TAPSTER_ARTIFACTS_DIR;
}

}  // namespace tapster::e2e
