#pragma once

#include "platform/wall_clock.h"

namespace tapster::win32 {

// The user's clock, in the time zone the system is set to.
class Win32WallClock final : public platform::WallClock {
  public:
    platform::LocalTime now() override;
};

}  // namespace tapster::win32
