#pragma once

#include <utility>

namespace tapster::platform {

// Owns one handle of the system (a file descriptor, a Win32 handle, font or menu) and closes
// it when it goes. `Traits` gives the handle's type as `Value`, which value means none
// (`none()`), whether a value is a real handle (`valid`), and how to close one (`close`, true
// when that worked).
template <typename Traits>
class OwnedHandle {
  public:
    using Value = typename Traits::Value;

    OwnedHandle() = default;
    explicit OwnedHandle(Value value) : value_(value) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : value_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Value get() const { return value_; }
    bool valid() const { return Traits::valid(value_); }
    explicit operator bool() const { return valid(); }

    // Gives the handle to a new owner, which closes it from then on.
    Value release() { return std::exchange(value_, Traits::none()); }

    // Closes the handle held, if any, and holds `value` from then on.
    void reset(Value value = Traits::none()) {
        const Value old = std::exchange(value_, value);
        if (Traits::valid(old)) {
            Traits::close(old);
        }
    }

    // For a file just written, closing can be the first report that the data never reached
    // the disk (NFS, quotas, network shares), so its result matters there. False too when
    // there was nothing to close.
    bool close() {
        const Value old = release();
        return Traits::valid(old) && Traits::close(old);
    }

  private:
    Value value_ = Traits::none();
};

}  // namespace tapster::platform
