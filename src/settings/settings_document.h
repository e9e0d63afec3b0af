#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tapster {

// The settings file's contents: named sections of texts, both kept in the order they were
// first written and both found through a hash, so an Items list of tens of thousands of
// entries costs time in proportion to its length.
class SettingsDocument {
  public:
    using Entries = std::vector<std::pair<std::string, std::string>>;

    // Reads the file's text, which must be one JSON object of sections, each an object of
    // texts; a number or a boolean is read as the text it is written as. Anything else (other
    // JSON, deeper nesting, null) is a damaged file and gives nullopt. Parsing stops at the
    // first part out of shape, so no depth of nesting can exhaust the stack. A repeated key
    // is kept as an entry of its own, and a repeated section adds its entries to the first;
    // reading a repeated key gives its last value.
    static std::optional<SettingsDocument> parse(std::string_view text);

    // nullptr when there is no such section or key. A section's entries include every
    // repeat of a key.
    const Entries* section(std::string_view name) const;
    const std::string* value(std::string_view section, std::string_view key) const;

    // Each tells whether the document changed. Setting a repeated key leaves one entry, in
    // the first one's place.
    bool set(std::string_view section, std::string_view key, std::string_view value);
    bool remove_section(std::string_view name);
    // An empty list removes the section; otherwise it takes the section's place, or goes last.
    bool replace_section(std::string_view name, const Entries& entries);

    // Pretty-printed with two-space indents and a final newline, text kept as UTF-8; nullopt
    // when some text is not valid UTF-8 and so cannot be written as JSON.
    std::optional<std::string> serialize() const;

  private:
    class Parser;

    class Section {
      public:
        explicit Section(std::string name) : name_(std::move(name)) {}

        const std::string& name() const { return name_; }
        const Entries& entries() const { return entries_; }
        const std::string* find(const std::string& key) const;
        bool set(std::string key, std::string value);
        // Adds the entry even when the key is there already, as the file may hold it.
        void add(std::string key, std::string value);

      private:
        void drop_repeats_of(const std::string& key);

        std::string name_;
        Entries entries_;
        // Where each key was last seen.
        std::unordered_map<std::string, std::size_t> positions_;
        bool repeats_ = false;
    };

    Section* find_section(const std::string& name);
    const Section* find_section(const std::string& name) const;
    // The existing section of that name emptied, or a new one at the end.
    Section& fresh_section(std::string name);
    // The existing section of that name as it is, or a new one at the end.
    Section& section_named(std::string name);

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> section_positions_;
};

}  // namespace tapster
