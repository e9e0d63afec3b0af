// The number reader on any text, with separators chosen by the first two bytes among those
// users have: a number read is finite, and rounding it moves it by half at most.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::string_view kSeparators[] = {
        ".", ",", " ", "'", "\xC2\xA0", "\xE2\x80\xAF", "\xD9\xAB", "",
    };
    constexpr std::size_t kChoices = std::size(kSeparators);
    if (size < 2) {
        return 0;
    }
    tapster::platform::NumberFormat format;
    format.decimal_separator = kSeparators[data[0] % kChoices];
    format.thousands_separator = kSeparators[data[1] % kChoices];
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    const auto value = tapster::parse_number(text, format);
    if (!value) {
        return 0;
    }
    if (!std::isfinite(*value)) {
        std::abort();
    }
    if (const auto rounded = tapster::round_half_even(*value)) {
        if (std::fabs(static_cast<double>(*rounded) - *value) > 0.5) {
            std::abort();
        }
    }
    return 0;
}
