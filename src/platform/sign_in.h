#pragma once

#include "platform/status.h"

namespace tapster::platform {

// Whether the system starts this program when the user signs in. The installer can set the
// same thing; the entry counts only when it names this copy of the program.
class SignIn {
  public:
    virtual ~SignIn() = default;
    virtual bool starts_this_program() = 0;
    // Turning it off removes only an entry that names this copy; another copy's stays.
    virtual Status set_starts_this_program(bool starts) = 0;
};

}  // namespace tapster::platform
