// The settings file as the store loads it: any bytes, then a read, a section read and a
// write. Besides crashes, it checks the store against the JSON library it must agree with:
// the same files accepted, the same texts read, and the same bytes written back. Where the
// store reads more than texts (a number or a boolean, read as its text) or keeps what the
// library drops (a repeated key or section), the library's events are the reference.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "fakes/fake_settings_file.h"
#include "settings/settings_store.h"

namespace {

using Json = nlohmann::ordered_json;

// Sections in the order first seen, a repeated one adding to the first; every entry kept.
struct Section {
    std::string name;
    std::vector<std::pair<std::string, Json>> entries;
};
using Model = std::vector<Section>;

Section& section_named(Model& model, const std::string& name) {
    for (Section& section : model) {
        if (section.name == name) {
            return section;
        }
    }
    return model.emplace_back(Section{name, {}});
}

// The library's events, taken as the store must: an object of objects of scalars other
// than null.
class Reading : public nlohmann::json_sax<Json> {
  public:
    Model model;

    bool null() override { return false; }
    bool boolean(bool value) override { return scalar(value); }
    bool number_integer(number_integer_t value) override { return scalar(value); }
    bool number_unsigned(number_unsigned_t value) override { return scalar(value); }
    bool number_float(number_float_t value, const string_t&) override { return scalar(value); }
    bool string(string_t& value) override { return scalar(value); }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override {
        if (depth_ == 1) {
            current_ = &section_named(model, key_);
        }
        return ++depth_ <= 2;
    }
    bool key(string_t& value) override {
        key_ = value;
        return true;
    }
    bool end_object() override {
        --depth_;
        return true;
    }
    bool start_array(std::size_t) override { return false; }
    bool end_array() override { return false; }
    // The library refuses a number too large for a double, which is still JSON.
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        number_overflow = error.id == 406;
        return false;
    }
    bool number_overflow = false;

  private:
    bool scalar(Json value) {
        if (depth_ != 2) {
            return false;
        }
        current_->entries.emplace_back(key_, std::move(value));
        return true;
    }

    int depth_ = 0;
    std::string key_;
    Section* current_ = nullptr;
};

// nullopt: damage; `unknown` when the library cannot tell.
std::optional<Model> library_reading(const std::string& bytes, bool& unknown) {
    std::string_view rest(bytes);
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") {
        rest.remove_prefix(3);
    }
    if (rest.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return Model{};
    }
    Reading reading;
    if (!Json::sax_parse(bytes, &reading)) {
        unknown = reading.number_overflow;
        return std::nullopt;
    }
    return std::move(reading.model);
}

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// A text the store read for a value: the value itself, or the number or boolean it spells.
bool reads_as(const std::string& text, const Json& value) {
    if (value.is_string()) {
        return text == value.get<std::string>();
    }
    return Json::parse(text, nullptr, false) == value;
}

bool has_repeats(const Model& model) {
    for (const Section& section : model) {
        for (std::size_t a = 0; a < section.entries.size(); ++a) {
            for (std::size_t b = a + 1; b < section.entries.size(); ++b) {
                if (section.entries[a].first == section.entries[b].first) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    tapster::fakes::FakeSettingsFile file;
    file.bytes = bytes;
    int times_told = 0;
    tapster::SettingsStore store(file, [&](const std::string&) { ++times_told; });

    // The first section's name, when there is one, makes the reads hit something.
    bool unknown = false;
    std::optional<Model> expected = library_reading(bytes, unknown);
    if (unknown) {
        tapster::SettingsStore::Entries entries;
        static_cast<void>(store.try_read_section("setit", entries));
        static_cast<void>(store.write("setit", "k", "v"));
        return 0;
    }
    const std::string section =
        expected && !expected->empty() ? expected->front().name : std::string("setit");

    tapster::SettingsStore::Entries entries;
    check(!store.try_read_section(section, entries).failed());
    check(expected.has_value() == file.set_aside_contents.empty());
    check(times_told == (expected ? 0 : 1));
    if (expected && !expected->empty()) {
        const Section& model = expected->front();
        check(entries.size() == model.entries.size());
        for (std::size_t index = 0; index < entries.size(); ++index) {
            check(entries[index].first == model.entries[index].first);
            check(reads_as(entries[index].second, model.entries[index].second));
        }
    }
    static_cast<void>(store.read(section, "textinterval", "1000"));
    static_cast<void>(store.read_section("Items"));

    // What is printed after a write: byte for byte the library's print, wherever the file
    // held only texts and no repeats.
    const std::string key = "k" + std::to_string(size);
    const std::string value = bytes.substr(0, 16);
    const tapster::platform::Status written = store.write(section, key, value);
    check(file.unlocked_changes == 0);
    if (!expected || has_repeats(*expected)) {
        return 0;
    }
    Json after = Json::object();
    for (const Section& one : *expected) {
        Json& printed_section = after[one.name] = Json::object();
        for (const auto& [entry_key, entry_value] : one.entries) {
            if (!entry_value.is_string()) {
                return 0;
            }
            printed_section[entry_key] = entry_value;
        }
    }
    if (after.contains(section) && after[section].contains(key) && after[section][key] == value) {
        // Nothing to change, so nothing is written.
        check(!written.failed() && file.bytes == bytes);
        return 0;
    }
    after[section][key] = value;
    std::optional<std::string> printed;
    try {
        printed = after.dump(2, ' ', false, Json::error_handler_t::strict) + "\n";
    } catch (const Json::type_error&) {
    }
    check(written.failed() == !printed.has_value());
    if (printed) {
        check(file.bytes == printed);
    }
    return 0;
}
