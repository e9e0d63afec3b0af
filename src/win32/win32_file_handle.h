#pragma once

#include <windows.h>

#include "platform/owned_handle.h"

namespace tapster::win32 {

// A handle from CreateFileW or OpenProcess, either of which may stand for "none".
struct FileHandleTraits {
    using Value = HANDLE;
    static HANDLE none() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    static bool close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};

using ScopedFileHandle = platform::OwnedHandle<FileHandleTraits>;

}  // namespace tapster::win32
