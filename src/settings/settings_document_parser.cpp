#include "settings/settings_document.h"

#include <cstddef>
#include <cstdint>

#include "model/utf8_text.h"

namespace tapster {

// Reads the one shape the file has: braces, colons, commas and strings, with a number or a
// boolean where a text belongs (someone editing the file by hand writes 1000 without quotes)
// taken as its text. Anything else, null or an array included, is damage, so no general JSON
// reader is needed; strings are copied a run at a time rather than a byte at a time. Nesting
// is two levels by construction.
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
                Section& section = document.section_named(std::move(name));
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
    // A repeated key is kept as an entry of its own: in a list of targets each is one.
    bool entries(Section& section) {
        do {
            std::string key;
            std::string text;
            if (!string(key) || !take(':') || !text_or_scalar(text)) {
                return false;
            }
            section.add(std::move(key), std::move(text));
        } while (take(','));
        return take('}');
    }

    bool text_or_scalar(std::string& out) {
        skip_blanks();
        for (const std::string_view literal : {"true", "false"}) {
            if (text_.substr(at_, literal.size()) == literal) {
                at_ += literal.size();
                out = literal;
                return true;
            }
        }
        if (at_ < text_.size() && (text_[at_] == '-' || (text_[at_] >= '0' && text_[at_] <= '9'))) {
            return number(out);
        }
        return string(out);
    }

    // A JSON number, kept as it is written: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    bool number(std::string& out) {
        const std::size_t start = at_;
        skip('-');
        if (!skip('0') && !digits()) {
            return false;
        }
        if (skip('.') && !digits()) {
            return false;
        }
        if (skip('e') || skip('E')) {
            if (!skip('+')) {
                skip('-');
            }
            if (!digits()) {
                return false;
            }
        }
        out.assign(text_.substr(start, at_ - start));
        return true;
    }
    // Takes `wanted` when it comes next, with nothing before it.
    bool skip(char wanted) {
        if (at_ < text_.size() && text_[at_] == wanted) {
            ++at_;
            return true;
        }
        return false;
    }
    // One or more decimal digits.
    bool digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            ++at_;
        }
        return at_ > start;
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

}  // namespace tapster
