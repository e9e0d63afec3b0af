#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string_view>
#include <utility>

namespace tapster::win32 {

// Owns one reference to a COM object.
template <typename Interface>
class ComPointer {
  public:
    ComPointer() = default;
    // Takes over a reference the caller holds.
    explicit ComPointer(Interface* adopted) : pointer_(adopted) {}
    ~ComPointer() { reset(); }
    ComPointer(const ComPointer& other) : pointer_(other.pointer_) {
        if (pointer_ != nullptr) {
            pointer_->AddRef();
        }
    }
    ComPointer(ComPointer&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPointer& operator=(ComPointer other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // Where a call that hands out a new reference puts it.
    Interface** receive() {
        reset();
        return &pointer_;
    }
    void** receive_void() { return reinterpret_cast<void**>(receive()); }
    void reset() {
        if (pointer_ != nullptr) {
            std::exchange(pointer_, nullptr)->Release();
        }
    }

  private:
    Interface* pointer_ = nullptr;
};

// A string handed out by a COM call, freed with it.
class ScopedBstr {
  public:
    ScopedBstr() = default;
    ~ScopedBstr() { SysFreeString(value_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;

    BSTR* receive() {
        SysFreeString(std::exchange(value_, nullptr));
        return &value_;
    }
    // The whole string as the other side sent it, NULs included.
    std::wstring_view view() const {
        return {value_, value_ == nullptr ? 0 : SysStringLen(value_)};
    }

  private:
    BSTR value_ = nullptr;
};

// A VARIANT that is cleared at the end: a string freed, an object released.
class ScopedVariant {
  public:
    ScopedVariant() { VariantInit(&value_); }
    ~ScopedVariant() { VariantClear(&value_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    ScopedVariant(ScopedVariant&& other) noexcept : value_(other.value_) {
        VariantInit(&other.value_);
    }

    VARIANT* receive() {
        VariantClear(&value_);
        return &value_;
    }
    const VARIANT& get() const { return value_; }

  private:
    VARIANT value_;
};

}  // namespace tapster::win32
