#include "settings/settings_document.h"

#include <array>
#include <cstddef>

#include "model/utf8_text.h"

namespace tapster {

namespace {

// The escapes JSON requires and nothing more, so the file stays readable in an editor.
bool append_quoted(std::string& out, std::string_view text) {
    if (!is_valid_utf8(text)) {
        return false;
    }
    static constexpr std::array<char, 16> kHex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                  '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += "\\u00";
                    out += kHex[static_cast<unsigned char>(c) >> 4];
                    out += kHex[static_cast<unsigned char>(c) & 0x0F];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return true;
}

}  // namespace

std::optional<std::string> SettingsDocument::serialize() const {
    if (sections_.empty()) {
        return "{}\n";
    }
    std::string out = "{\n";
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        const Section& current = sections_[s];
        out += s == 0 ? "  " : ",\n  ";
        if (!append_quoted(out, current.name())) {
            return std::nullopt;
        }
        if (current.entries().empty()) {
            out += ": {}";
            continue;
        }
        out += ": {\n";
        for (std::size_t e = 0; e < current.entries().size(); ++e) {
            const auto& [key, text] = current.entries()[e];
            out += e == 0 ? "    " : ",\n    ";
            if (!append_quoted(out, key)) {
                return std::nullopt;
            }
            out += ": ";
            if (!append_quoted(out, text)) {
                return std::nullopt;
            }
        }
        out += "\n  }";
    }
    out += "\n}\n";
    return out;
}

}  // namespace tapster
