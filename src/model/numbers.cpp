#include "model/numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tapster {

namespace {

bool is_blank(char character) {
    return character == ' ' || character == '\t';
}

bool starts_with(std::string_view text, std::size_t at, std::string_view part) {
    return !part.empty() && text.substr(at, part.size()) == part;
}

}  // namespace

std::optional<double> parse_number(std::string_view text, const platform::NumberFormat& format) {
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }

    // Rewritten in the one form that from_chars reads: "-1234.5e3".
    std::string plain;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        if (text[at] == '-') {
            plain += '-';
        }
        ++at;
    }
    bool digits = false;
    bool decimal_seen = false;
    while (at < text.size()) {
        const char character = text[at];
        if (character >= '0' && character <= '9') {
            plain += character;
            digits = true;
            ++at;
        } else if (!decimal_seen && starts_with(text, at, format.decimal_separator)) {
            plain += '.';
            decimal_seen = true;
            at += format.decimal_separator.size();
        } else if (!decimal_seen && digits && starts_with(text, at, format.thousands_separator)) {
            at += format.thousands_separator.size();
        } else {
            break;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        plain += 'e';
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            plain += text[at++];
        }
        const std::size_t exponent_start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            plain += text[at++];
        }
        if (at == exponent_start) {
            return std::nullopt;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc{} || end != plain.data() + plain.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> round_half_even(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (rounded < -9.2e18 || rounded > 9.2e18) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(rounded);
}

}  // namespace tapster
