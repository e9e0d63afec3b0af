// The settings file as the store loads it: any bytes, then a read, a section read and a
// write. Besides crashes, it checks the store against the JSON library it must agree with:
// the same files accepted, the same texts read, and the same bytes written back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "fakes/fake_settings_file.h"
#include "settings/settings_store.h"

namespace {

using Json = nlohmann::ordered_json;

// The library's reading of a settings file: nullopt unless it is an object of sections,
// each an object of strings. Every value in the text counts, including one that a repeated
// name later replaces: that is still something other than a text in a section.
std::optional<Json> library_reading(const std::string& bytes) {
    bool in_shape = true;
    Json document = Json::parse(
        bytes,
        [&](int depth, Json::parse_event_t event, Json& parsed) {
            if ((event == Json::parse_event_t::object_start && depth > 1) ||
                event == Json::parse_event_t::array_start ||
                (event == Json::parse_event_t::value && (depth != 2 || !parsed.is_string()))) {
                in_shape = false;
                return false;
            }
            return true;
        },
        /*allow_exceptions=*/false);
    if (!in_shape || document.is_discarded() || !document.is_object()) {
        return std::nullopt;
    }
    return document;
}

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    tapster::fakes::FakeSettingsFile file;
    file.bytes = bytes;
    int times_told = 0;
    tapster::SettingsStore store(file, [&](const std::string&) { ++times_told; });

    // The first section's name, when there is one, makes the reads hit something.
    std::optional<Json> expected = library_reading(bytes);
    if (bytes.find_first_not_of(" \t\r\n") == std::string::npos) {
        expected = Json::object();
    }
    const std::string section =
        expected && !expected->empty() ? expected->begin().key() : std::string("setit");

    tapster::SettingsStore::Entries entries;
    check(!store.try_read_section(section, entries).failed());
    check(expected.has_value() == file.set_aside_contents.empty());
    check(times_told == (expected ? 0 : 1));
    if (expected && expected->contains(section)) {
        tapster::SettingsStore::Entries library_entries;
        for (const auto& [key, text] : (*expected)[section].items()) {
            library_entries.emplace_back(key, text.get<std::string>());
        }
        check(entries == library_entries);
    }
    static_cast<void>(store.read(section, "textinterval", "1000"));
    static_cast<void>(store.read_section("Items"));

    const std::string key = "k" + std::to_string(size);
    const std::string value = bytes.substr(0, 16);
    const std::string before = file.bytes.value_or("");
    const tapster::Status written = store.write(section, key, value);
    Json after = expected.value_or(Json::object());
    if (after.contains(section) && after[section].value(key, std::string()) == value &&
        after[section].contains(key)) {
        // Nothing to change, so nothing is written.
        check(!written.failed() && file.bytes.value_or("") == before);
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
    check(file.unlocked_accesses == 0);
    return 0;
}
