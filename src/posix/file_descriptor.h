#pragma once

#include <unistd.h>

#include "platform/owned_handle.h"

namespace tapster::posix {

struct FileDescriptorTraits {
    using Value = int;
    static constexpr int none() { return -1; }
    static bool valid(int fd) { return fd >= 0; }
    static bool close(int fd) { return ::close(fd) == 0; }
};

// Owns one open file descriptor.
using UniqueFd = platform::OwnedHandle<FileDescriptorTraits>;

}  // namespace tapster::posix
