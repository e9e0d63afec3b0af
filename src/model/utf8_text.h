#pragma once

#include <string_view>

namespace tapster {

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates, nothing past
// U+10FFFF, no sequence cut short. The settings file's reader and writer both insist on it,
// since JSON text is UTF-8 and an editor would mangle anything else.
bool is_valid_utf8(std::string_view text);

}  // namespace tapster
