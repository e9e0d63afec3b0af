#pragma once

#include <string>
#include <utility>

namespace tapster::platform {

// The outcome of an operation that can fail for reasons outside the program: a read-only
// folder, a full disk, a file another program holds. Failures carry a message for the user.
class [[nodiscard]] Status {
  public:
    static Status success() { return Status{}; }
    static Status failure(std::string message) {
        Status status;
        status.failed_ = true;
        status.message_ = std::move(message);
        return status;
    }

    explicit operator bool() const { return !failed_; }
    bool failed() const { return failed_; }
    const std::string& message() const { return message_; }

  private:
    bool failed_ = false;
    std::string message_;
};

}  // namespace tapster::platform
