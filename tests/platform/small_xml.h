#pragma once

#include <cctype>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tapster::testing {

// Just enough XML for the policy templates, strictly: one root element, matching end tags,
// quoted and unique attributes, the five named entities and character references, comments
// and processing instructions. Anything else is an error naming its offset.
struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<std::unique_ptr<XmlElement>> children;
    std::string text;

    std::string attribute(const std::string& key) const {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    // Every element below this one, depth first, this one included.
    void walk(const auto& visit) const {
        visit(*this);
        for (const auto& child : children) {
            child->walk(visit);
        }
    }
};

class SmallXmlReader {
  public:
    explicit SmallXmlReader(std::string_view text) : text_(text) {}

    std::unique_ptr<XmlElement> read() {
        skip_misc();
        auto root = element();
        skip_misc();
        if (at_ < text_.size()) {
            fail("content after the root element");
        }
        return root;
    }

  private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(what + " at offset " + std::to_string(at_));
    }
    bool starts(std::string_view prefix) const {
        return text_.substr(at_, prefix.size()) == prefix;
    }
    void skip_space() {
        while (at_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
    }
    void skip_past(std::string_view end) {
        const std::size_t found = text_.find(end, at_);
        if (found == std::string_view::npos) {
            fail("no " + std::string(end));
        }
        at_ = found + end.size();
    }
    // Comments and processing instructions between elements.
    void skip_misc() {
        for (;;) {
            skip_space();
            if (starts("<!--")) {
                skip_past("-->");
            } else if (starts("<?")) {
                skip_past("?>");
            } else {
                return;
            }
        }
    }
    std::string name() {
        const std::size_t begin = at_;
        while (at_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[at_])) != 0 ||
                std::string_view(":_-.").find(text_[at_]) != std::string_view::npos)) {
            ++at_;
        }
        if (at_ == begin) {
            fail("a name expected");
        }
        return std::string(text_.substr(begin, at_ - begin));
    }
    // Character data up to `end`, with its references replaced; a bare < or & is an error.
    std::string characters(char end) {
        std::string out;
        while (at_ < text_.size() && text_[at_] != end) {
            const char next = text_[at_];
            if (next == '<') {
                fail("a < in text");
            }
            if (next != '&') {
                out += next;
                ++at_;
                continue;
            }
            const std::size_t semicolon = text_.find(';', at_);
            if (semicolon == std::string_view::npos) {
                fail("an unended reference");
            }
            const std::string_view entity = text_.substr(at_ + 1, semicolon - at_ - 1);
            static const std::map<std::string_view, char> named = {
                {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
            if (const auto found = named.find(entity); found != named.end()) {
                out += found->second;
            } else if (entity.size() > 1 && entity[0] == '#') {
                out += '?';  // a character reference; its value does not matter here
            } else {
                fail("an unknown entity");
            }
            at_ = semicolon + 1;
        }
        return out;
    }
    std::unique_ptr<XmlElement> element() {
        if (!starts("<")) {
            fail("an element expected");
        }
        ++at_;
        auto made = std::make_unique<XmlElement>();
        made->name = name();
        for (;;) {
            skip_space();
            if (starts("/>")) {
                at_ += 2;
                return made;
            }
            if (starts(">")) {
                ++at_;
                break;
            }
            const std::string key = name();
            skip_space();
            if (!starts("=")) {
                fail("= expected");
            }
            ++at_;
            skip_space();
            if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) {
                fail("a quoted value expected");
            }
            const char quote = text_[at_++];
            std::string value = characters(quote);
            ++at_;
            if (!made->attributes.emplace(key, std::move(value)).second) {
                fail("attribute " + key + " twice");
            }
        }
        for (;;) {
            made->text += characters('<');
            if (at_ >= text_.size()) {
                fail("no end tag for " + made->name);
            }
            if (starts("</")) {
                at_ += 2;
                if (name() != made->name) {
                    fail("the end tag does not match " + made->name);
                }
                skip_space();
                if (!starts(">")) {
                    fail("> expected");
                }
                ++at_;
                return made;
            }
            if (starts("<!--") || starts("<?")) {
                skip_past(starts("<!--") ? "-->" : "?>");
                continue;
            }
            made->children.push_back(element());
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace tapster::testing
