#pragma once

#include <utility>

namespace tapster::platform {

// Owns one handle of the system: a file descriptor, a Win32 handle. `Traits` says which
// value means none, whether a value is a real handle, and how to close one (true when that
// worked).
template <typename Traits>
class OwnedHandle {
  public:
    using Value = typename Traits::Value;

    OwnedHandle() = default;
    explicit OwnedHandle(Value value) : value_(value) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept
        : value_(std::exchange(other.value_, Traits::none())) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            value_ = std::exchange(other.value_, Traits::none());
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Value get() const { return value_; }
    bool valid() const { return Traits::valid(value_); }

    // For a file just written, closing can be the first report that the data never reached
    // the disk (NFS, quotas, network shares), so its result matters there.
    bool close() { return Traits::close(std::exchange(value_, Traits::none())); }

    void reset() {
        if (valid()) {
            Traits::close(std::exchange(value_, Traits::none()));
        }
    }

  private:
    Value value_ = Traits::none();
};

}  // namespace tapster::platform
