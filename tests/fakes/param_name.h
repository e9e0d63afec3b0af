#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace tapster::fakes {

// Names a parameterised case after a text of its own, so that CTest lists readable names;
// the position keeps names unique where two cases share a text.
inline std::string param_name(std::size_t index, std::string_view text) {
    std::string name;
    for (const char character : text) {
        name += std::isalnum(static_cast<unsigned char>(character)) != 0 ? character : '_';
    }
    return (name.empty() ? "empty" : name) + "_" + std::to_string(index);
}

}  // namespace tapster::fakes
