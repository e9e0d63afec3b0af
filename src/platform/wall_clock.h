#pragma once

namespace tapster::platform {

// A moment as the user's clock showed it: the local date and time to the second, and how far
// that clock stood from UTC then (east positive), so that a record means the same moment
// wherever and whenever it is read.
struct LocalTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int utc_offset_minutes = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

class WallClock {
  public:
    virtual ~WallClock() = default;
    virtual LocalTime now() = 0;
};

}  // namespace tapster::platform
