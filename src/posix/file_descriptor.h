#pragma once

#include <unistd.h>

#include "platform/owned_handle.h"

namespace tapster::platform::posix_file {

struct FileDescriptorTraits {
    using Value = int;
    static constexpr int none() { return -1; }
    static bool valid(int fd) { return fd >= 0; }
    static bool close(int fd) { return ::close(fd) == 0; }
};

// Owns one open file descriptor.
using UniqueFd = OwnedHandle<FileDescriptorTraits>;

}  // namespace tapster::platform::posix_file
