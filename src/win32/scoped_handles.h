#pragma once

#include <windows.h>

#include <utility>

namespace tapster::win32 {

// Owns one Win32 handle and releases it with the matching function.
template <typename Handle, typename Traits>
class Scoped {
  public:
    Scoped() = default;
    explicit Scoped(Handle handle) : handle_(handle) {}
    ~Scoped() { reset(); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, Traits::invalid())) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, Traits::invalid()));
        }
        return *this;
    }

    Handle get() const { return handle_; }
    // Gives the handle to a new owner, which releases it from then on.
    Handle release() { return std::exchange(handle_, Traits::invalid()); }
    explicit operator bool() const { return handle_ != Traits::invalid(); }
    void reset(Handle handle = Traits::invalid()) {
        if (handle_ != Traits::invalid()) {
            Traits::close(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Traits::invalid();
};

struct FontTraits {
    static HFONT invalid() { return nullptr; }
    static void close(HFONT font) { DeleteObject(font); }
};
struct BrushTraits {
    static HBRUSH invalid() { return nullptr; }
    static void close(HBRUSH brush) { DeleteObject(brush); }
};
struct IconTraits {
    static HICON invalid() { return nullptr; }
    static void close(HICON icon) { DestroyIcon(icon); }
};
struct MenuTraits {
    static HMENU invalid() { return nullptr; }
    static void close(HMENU menu) { DestroyMenu(menu); }
};
struct KernelHandleTraits {
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE handle) { CloseHandle(handle); }
};
struct RegistryKeyTraits {
    static HKEY invalid() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};

using ScopedFont = Scoped<HFONT, FontTraits>;
using ScopedBrush = Scoped<HBRUSH, BrushTraits>;
using ScopedIcon = Scoped<HICON, IconTraits>;
using ScopedMenu = Scoped<HMENU, MenuTraits>;
using ScopedHandle = Scoped<HANDLE, KernelHandleTraits>;
using ScopedRegistryKey = Scoped<HKEY, RegistryKeyTraits>;

}  // namespace tapster::win32
