#include "win32/win32_wall_clock.h"

#include <windows.h>

namespace tapster::win32 {

namespace {

long long filetime_ticks(const SYSTEMTIME& time) {
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return static_cast<long long>((static_cast<unsigned long long>(file.dwHighDateTime) << 32) |
                                  file.dwLowDateTime);
}

}  // namespace

platform::LocalTime Win32WallClock::now() {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    SYSTEMTIME local = utc;
    // The offset that held at this moment, summer time included.
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    constexpr long long kTicksPerMinute = 600000000;  // of 100 ns
    const long long offset = filetime_ticks(local) - filetime_ticks(utc);
    return {local.wYear,
            local.wMonth,
            local.wDay,
            local.wHour,
            local.wMinute,
            local.wSecond,
            static_cast<int>((offset + (offset >= 0 ? 1 : -1) * kTicksPerMinute / 2) /
                             kTicksPerMinute)};
}

}  // namespace tapster::win32
