#include "model/utf8_text.h"

#include <cstddef>

namespace tapster {

bool is_valid_utf8(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        std::size_t length = 0;
        unsigned char second_low = 0x80;
        unsigned char second_high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            second_low = lead == 0xE0 ? 0xA0 : 0x80;
            second_high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            second_low = lead == 0xF0 ? 0x90 : 0x80;
            second_high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (text.size() - at < length) {
            return false;
        }
        const auto second = static_cast<unsigned char>(text[at + 1]);
        if (second < second_low || second > second_high) {
            return false;
        }
        for (std::size_t next = 2; next < length; ++next) {
            const auto continuation = static_cast<unsigned char>(text[at + next]);
            if (continuation < 0x80 || continuation > 0xBF) {
                return false;
            }
        }
        at += length;
    }
    return true;
}

}  // namespace tapster
