#include "app/settings_document.h"

#include <array>
#include <cstdint>

namespace tapster {

namespace {

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates, nothing past
// U+10FFFF, no sequence cut short.
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

// Reads the one shape the file has: braces, colons, commas and strings. Anything else, a
// number or an array included, is damage, so no general JSON reader is needed; strings are
// copied a run at a time rather than a byte at a time. Nesting is two levels by construction.
class SettingsDocument::Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool parse(SettingsDocument& document) {
        // A byte order mark from an editor.
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
            at_ = 3;
        }
        if (!take('{')) {
            return false;
        }
        if (!take('}')) {
            do {
                std::string name;
                if (!string(name) || !take(':') || !take('{')) {
                    return false;
                }
                Section& section = document.fresh_section(std::move(name));
                if (!take('}') && !entries(section)) {
                    return false;
                }
            } while (take(','));
            if (!take('}')) {
                return false;
            }
        }
        // A zero byte ends the text, as it always has here: a file whose end a crash filled
        // with zeros still reads.
        skip_blanks();
        return at_ == text_.size() || text_[at_] == '\0';
    }

  private:
    // After the opening brace: `"key": "text"` pairs up to and including the closing brace.
    bool entries(Section& section) {
        do {
            std::string key;
            std::string text;
            if (!string(key) || !take(':') || !string(text)) {
                return false;
            }
            section.set(std::move(key), std::move(text));
        } while (take(','));
        return take('}');
    }

    void skip_blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }
    // Takes `wanted` when it comes next, after any blanks.
    bool take(char wanted) {
        skip_blanks();
        if (at_ < text_.size() && text_[at_] == wanted) {
            ++at_;
            return true;
        }
        return false;
    }
    bool string(std::string& out) {
        if (!take('"')) {
            return false;
        }
        for (;;) {
            const std::size_t run_start = at_;
            while (at_ < text_.size() && text_[at_] != '"' && text_[at_] != '\\' &&
                   static_cast<unsigned char>(text_[at_]) >= 0x20) {
                ++at_;
            }
            const std::string_view run = text_.substr(run_start, at_ - run_start);
            if (!is_valid_utf8(run) || at_ == text_.size()) {
                return false;
            }
            out += run;
            const char stop = text_[at_++];
            if (stop == '"') {
                return true;
            }
            if (stop != '\\' || !escape(out)) {
                return false;
            }
        }
    }

    bool escape(std::string& out) {
        if (at_ == text_.size()) {
            return false;
        }
        switch (text_[at_++]) {
            case '"':
                out += '"';
                return true;
            case '\\':
                out += '\\';
                return true;
            case '/':
                out += '/';
                return true;
            case 'b':
                out += '\b';
                return true;
            case 'f':
                out += '\f';
                return true;
            case 'n':
                out += '\n';
                return true;
            case 'r':
                out += '\r';
                return true;
            case 't':
                out += '\t';
                return true;
            case 'u':
                return unicode_escape(out);
            default:
                return false;
        }
    }

    // After "\u": four hex digits, and for a high surrogate a "\u" low one to pair with it.
    bool unicode_escape(std::string& out) {
        std::uint32_t code = 0;
        if (!hex4(code) || (code >= 0xDC00 && code <= 0xDFFF)) {
            return false;
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (text_.substr(at_, 2) != "\\u") {
                return false;
            }
            at_ += 2;
            if (!hex4(low) || low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        append_utf8(out, code);
        return true;
    }

    bool hex4(std::uint32_t& code) {
        if (text_.size() - at_ < 4) {
            return false;
        }
        for (int digit = 0; digit < 4; ++digit) {
            const char c = text_[at_++];
            std::uint32_t value = 0;
            if (c >= '0' && c <= '9') {
                value = static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value = static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value = static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return false;
            }
            code = code * 16 + value;
        }
        return true;
    }

    static void append_utf8(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

std::optional<SettingsDocument> SettingsDocument::parse(std::string_view text) {
    SettingsDocument document;
    if (!Parser(text).parse(document)) {
        return std::nullopt;
    }
    return document;
}

const SettingsDocument::Entries* SettingsDocument::section(std::string_view name) const {
    const Section* found = find_section(std::string(name));
    return found == nullptr ? nullptr : &found->entries();
}

const std::string* SettingsDocument::value(std::string_view section, std::string_view key) const {
    const Section* found = find_section(std::string(section));
    return found == nullptr ? nullptr : found->find(std::string(key));
}

bool SettingsDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    std::string name(section);
    Section* target = find_section(name);
    if (target == nullptr) {
        target = &fresh_section(std::move(name));
    }
    return target->set(std::string(key), std::string(value));
}

bool SettingsDocument::remove_section(std::string_view name) {
    const auto found = section_positions_.find(std::string(name));
    if (found == section_positions_.end()) {
        return false;
    }
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(found->second));
    section_positions_.clear();
    for (std::size_t position = 0; position < sections_.size(); ++position) {
        section_positions_.emplace(sections_[position].name(), position);
    }
    return true;
}

bool SettingsDocument::replace_section(std::string_view name, const Entries& entries) {
    if (entries.empty()) {
        return remove_section(name);
    }
    Section replacement{std::string(name)};
    for (const auto& [key, text] : entries) {
        replacement.set(key, text);
    }
    Section* existing = find_section(replacement.name());
    if (existing != nullptr && existing->entries() == replacement.entries()) {
        return false;
    }
    fresh_section(replacement.name()) = std::move(replacement);
    return true;
}

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

const std::string* SettingsDocument::Section::find(const std::string& key) const {
    const auto found = positions_.find(key);
    return found == positions_.end() ? nullptr : &entries_[found->second].second;
}

bool SettingsDocument::Section::set(std::string key, std::string value) {
    const auto found = positions_.find(key);
    if (found != positions_.end()) {
        std::string& stored = entries_[found->second].second;
        if (stored == value) {
            return false;
        }
        stored = std::move(value);
        return true;
    }
    positions_.emplace(key, entries_.size());
    entries_.emplace_back(std::move(key), std::move(value));
    return true;
}

SettingsDocument::Section* SettingsDocument::find_section(const std::string& name) {
    const auto found = section_positions_.find(name);
    return found == section_positions_.end() ? nullptr : &sections_[found->second];
}

const SettingsDocument::Section* SettingsDocument::find_section(const std::string& name) const {
    const auto found = section_positions_.find(name);
    return found == section_positions_.end() ? nullptr : &sections_[found->second];
}

SettingsDocument::Section& SettingsDocument::fresh_section(std::string name) {
    if (Section* existing = find_section(name)) {
        *existing = Section(std::move(name));
        return *existing;
    }
    section_positions_.emplace(name, sections_.size());
    sections_.emplace_back(std::move(name));
    return sections_.back();
}

}  // namespace tapster
