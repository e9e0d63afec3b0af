#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/locale.h"

namespace tapster {

// Reads a number as the user would write it: blanks around it ignored, an optional sign,
// digits with the user's thousands separators, one decimal separator, an optional
// exponent. Nothing when the text is not such a number.
std::optional<double> parse_number(std::string_view text, const platform::NumberFormat& format);

// The nearest whole number, halves to the even neighbour (1.5 and 2.5 give 2); nothing when
// it does not fit 64 bits.
std::optional<std::int64_t> round_half_even(double value);

}  // namespace tapster
