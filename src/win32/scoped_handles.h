#pragma once

#include <windows.h>

#include "platform/owned_handle.h"

namespace tapster::win32 {

// Each kind of Win32 handle that Tapster owns, closed by the matching function. A null
// handle is none.
template <typename Handle>
struct NullMeansNone {
    using Value = Handle;
    static Handle none() { return nullptr; }
    static bool valid(Handle handle) { return handle != nullptr; }
};

struct FontTraits : NullMeansNone<HFONT> {
    static bool close(HFONT font) { return DeleteObject(font) != FALSE; }
};
struct BrushTraits : NullMeansNone<HBRUSH> {
    static bool close(HBRUSH brush) { return DeleteObject(brush) != FALSE; }
};
struct IconTraits : NullMeansNone<HICON> {
    static bool close(HICON icon) { return DestroyIcon(icon) != FALSE; }
};
struct MenuTraits : NullMeansNone<HMENU> {
    static bool close(HMENU menu) { return DestroyMenu(menu) != FALSE; }
};
struct WindowTraits : NullMeansNone<HWND> {
    static bool close(HWND window) { return DestroyWindow(window) != FALSE; }
};
struct KernelHandleTraits : NullMeansNone<HANDLE> {
    static bool close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};
struct RegistryKeyTraits : NullMeansNone<HKEY> {
    static bool close(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};

using ScopedFont = platform::OwnedHandle<FontTraits>;
using ScopedBrush = platform::OwnedHandle<BrushTraits>;
using ScopedIcon = platform::OwnedHandle<IconTraits>;
using ScopedMenu = platform::OwnedHandle<MenuTraits>;
using ScopedWindow = platform::OwnedHandle<WindowTraits>;
using ScopedHandle = platform::OwnedHandle<KernelHandleTraits>;
using ScopedRegistryKey = platform::OwnedHandle<RegistryKeyTraits>;

}  // namespace tapster::win32
