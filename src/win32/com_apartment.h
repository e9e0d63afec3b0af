#pragma once

#include <objbase.h>

namespace tapster::win32 {

// The calling thread's COM apartment, from construction to destruction.
class ComApartment {
  public:
    explicit ComApartment(DWORD model) : initialized_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
    ~ComApartment() {
        if (initialized_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool initialized() const { return initialized_; }

  private:
    bool initialized_;
};

}  // namespace tapster::win32
