#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/policy.h"

namespace tapster {

// The push cycle's interval as an administrator sets it: the DWORD value "Interval" of
// Software\Policies\Tapster, the machine's before the user's.
struct IntervalPolicy {
    // The milliseconds an administrator allows: what the push timer can take, without 0,
    // which would stop pressing.
    static constexpr unsigned kShortest = 1;
    static constexpr unsigned kLongest = 65535;

    bool known = true;                  // false: a key could not be read, what applies stays
    std::optional<unsigned> interval;   // set by the administrator
    std::vector<std::string> problems;  // values left out, each named with the reason
};

IntervalPolicy read_interval_policy(platform::Policy& policy);

}  // namespace tapster
