#include "model/captured_title.h"

#include "model/target_string.h"

namespace tapster {

namespace {

// The UTF-16 units the UTF-8 sequence starting with this byte stands for: four-byte
// sequences are surrogate pairs; continuation bytes add nothing.
std::size_t utf16_units(unsigned char lead) {
    if ((lead & 0xC0U) == 0x80U) {
        return 0;
    }
    return lead >= 0xF0U ? 2 : 1;
}

}  // namespace

CapturedTitle record_title(std::string_view read, std::size_t buffer_chars) {
    const std::size_t kept_units = buffer_chars < 2 ? 0 : buffer_chars - 2;
    std::size_t units = 0;
    std::size_t kept_bytes = read.size();
    for (std::size_t index = 0; index < read.size(); ++index) {
        const std::size_t more = utf16_units(static_cast<unsigned char>(read[index]));
        if (more > 0 && units + more > kept_units && kept_bytes == read.size()) {
            kept_bytes = index;
        }
        units += more;
    }
    const bool cut = buffer_chars > 0 && units + 1 >= buffer_chars;
    std::string title = cut ? std::string(read.substr(0, kept_bytes)) + "*" : std::string(read);
    CapturedTitle captured;
    captured.recorded = std::string(trim_spaces(title));
    captured.lost_spaces = captured.recorded.size() != title.size();
    return captured;
}

}  // namespace tapster
