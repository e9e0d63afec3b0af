#pragma once

#include <string>

namespace tapster::platform {

// How the user writes numbers.
struct NumberFormat {
    std::string decimal_separator = ".";
    std::string thousands_separator = ",";
};

// The user's regional settings, read when needed so a change applies at once.
class Locale {
  public:
    virtual ~Locale() = default;
    virtual NumberFormat number_format() = 0;
};

}  // namespace tapster::platform
