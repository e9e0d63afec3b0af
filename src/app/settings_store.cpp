#include "app/settings_store.h"

#include <algorithm>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

namespace tapster {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kSpaces = " \t\r\n";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kSpaces);
    return text.substr(first, last - first + 1);
}

bool equals_ignoring_case(std::string_view text, std::string_view lower_word) {
    return std::equal(
        text.begin(), text.end(), lower_word.begin(), lower_word.end(), [](char a, char b) {
            const char lowered = (a >= 'A' && a <= 'Z') ? static_cast<char>(a - 'A' + 'a') : a;
            return lowered == b;
        });
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Accepts [+-]digits[.digits] (either side of the point may be empty, not both) and tells
// whether any digit is non-zero. Checking digits rather than converting keeps huge numbers
// from overflowing into the wrong answer.
std::optional<bool> decimal_is_nonzero(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    bool any_digit = false;
    bool nonzero = false;
    bool seen_point = false;
    for (const char c : text) {
        if (is_digit(c)) {
            any_digit = true;
            nonzero = nonzero || c != '0';
        } else if (c == '.' && !seen_point) {
            seen_point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!any_digit) {
        return std::nullopt;
    }
    return nonzero;
}

// A hand-edited file may hold 1000 or true where Tapster writes "1000" or "True"; those read
// as their JSON text. Objects, arrays and null carry no usable text.
std::optional<std::string> scalar_text(const Json& value) {
    if (value.is_string()) {
        return value.get_ref<const std::string&>();
    }
    if (value.is_number() || value.is_boolean()) {
        return value.dump();
    }
    return std::nullopt;
}

const Json* find_section(const Json& document, std::string_view section) {
    const auto found = document.find(std::string(section));
    if (found == document.end() || !found->is_object()) {
        return nullptr;
    }
    return &*found;
}

}  // namespace

std::string number_text(long long value) {
    return std::to_string(value);
}

std::string boolean_text(bool value) {
    return value ? "True" : "False";
}

std::optional<bool> parse_boolean(std::string_view text) {
    text = trim(text);
    if (equals_ignoring_case(text, "true")) {
        return true;
    }
    if (equals_ignoring_case(text, "false")) {
        return false;
    }
    return decimal_is_nonzero(text);
}

SettingsStore::SettingsStore(platform::SettingsFile& file, TellUser tell_user)
    : file_(file), tell_user_(std::move(tell_user)) {}

std::string SettingsStore::read(std::string_view section, std::string_view key,
                                std::string_view default_text) {
    try {
        const auto lock = file_.lock();
        Json document;
        if (load(document).failed()) {
            return std::string(default_text);
        }
        if (const Json* entries = find_section(document, section)) {
            const auto found = entries->find(std::string(key));
            if (found != entries->end()) {
                if (auto text = scalar_text(*found)) {
                    return std::move(*text);
                }
            }
        }
    } catch (const Json::exception&) {
        // Falls through to the default: a setting that cannot be read is one never made.
    }
    return std::string(default_text);
}

std::optional<SettingsStore::Entries> SettingsStore::read_section(std::string_view section) {
    Entries entries;
    if (try_read_section(section, entries).failed() || entries.empty()) {
        return std::nullopt;
    }
    return entries;
}

Status SettingsStore::try_read_section(std::string_view section, Entries& entries) {
    entries.clear();
    try {
        const auto lock = file_.lock();
        Json document;
        if (Status loaded = load(document); loaded.failed()) {
            return loaded;
        }
        if (const Json* stored = find_section(document, section)) {
            for (const auto& [key, value] : stored->items()) {
                if (auto text = scalar_text(value)) {
                    entries.emplace_back(key, std::move(*text));
                }
            }
        }
        return Status::success();
    } catch (const Json::exception& error) {
        entries.clear();
        return Status::failure(error.what());
    }
}

Status SettingsStore::write(std::string_view section, std::string_view key,
                            std::string_view value) {
    return modify([&](Json& document) {
        // operator[] appends a missing member and leaves an existing one where it is, which
        // is what keeps sections and keys in the order they were first written.
        Json& entries = document[std::string(section)];
        if (!entries.is_object()) {
            entries = Json::object();
        }
        entries[std::string(key)] = std::string(value);
        return Status::success();
    });
}

Status SettingsStore::delete_section(std::string_view section) {
    return modify([&](Json& document) {
        if (document.erase(std::string(section)) == 0) {
            return Status::failure("The settings have no section \"" + std::string(section) +
                                   "\" to delete.");
        }
        return Status::success();
    });
}

Status SettingsStore::replace_section(std::string_view section, const Entries& entries) {
    return modify([&](Json& document) {
        const std::string name(section);
        if (entries.empty()) {
            document.erase(name);
            return Status::success();
        }
        Json fresh = Json::object();
        for (const auto& [key, value] : entries) {
            fresh[key] = value;
        }
        document[name] = std::move(fresh);
        return Status::success();
    });
}

Status SettingsStore::load(Json& document) {
    const platform::SettingsFile::Contents contents = file_.read();
    switch (contents.state) {
        case platform::SettingsFile::ReadState::missing:
            document = Json::object();
            return Status::success();
        case platform::SettingsFile::ReadState::failed:
            return Status::failure("Tapster could not read its settings from " + file_.location() +
                                   ": " + contents.error);
        case platform::SettingsFile::ReadState::present:
            break;
    }

    // An empty file holds nothing worth keeping aside or warning about.
    if (trim(contents.bytes).empty()) {
        document = Json::object();
        return Status::success();
    }
    document = Json::parse(contents.bytes, nullptr, /*allow_exceptions=*/false);
    if (!document.is_discarded() && document.is_object()) {
        return Status::success();
    }

    // Writing over a file we cannot understand would destroy whatever the user had in it, so
    // it is moved out of the way first and the user is told where it went.
    std::string kept_as;
    const Status moved = file_.set_aside(kept_as);
    if (moved.failed()) {
        return Status::failure("The settings file " + file_.location() +
                               " is damaged and could not be moved aside: " + moved.message());
    }
    tell_once("Tapster could not read its settings from " + file_.location() +
              ". The damaged file was kept as " + kept_as +
              ", and Tapster starts with empty settings.");
    document = Json::object();
    return Status::success();
}

Status SettingsStore::modify(const std::function<Status(Json&)>& edit) {
    try {
        const auto lock = file_.lock();
        Json document;
        if (Status loaded = load(document); loaded.failed()) {
            return loaded;
        }
        const Json before = document;
        if (Status edited = edit(document); edited.failed()) {
            return edited;
        }
        if (document == before) {
            return Status::success();
        }
        std::string bytes;
        try {
            bytes = document.dump(2, ' ', /*ensure_ascii=*/false, Json::error_handler_t::strict);
        } catch (const Json::type_error&) {
            return Status::failure(
                "Tapster could not save a setting whose text is not valid "
                "UTF-8.");
        }
        bytes += '\n';
        if (Status replaced = file_.replace(bytes); replaced.failed()) {
            return Status::failure("Tapster could not save its settings to " + file_.location() +
                                   ": " + replaced.message());
        }
        return Status::success();
    } catch (const Json::exception& error) {
        return Status::failure(std::string("Tapster could not change its settings: ") +
                               error.what());
    }
}

void SettingsStore::tell_once(const std::string& message) {
    if (told_) {
        return;
    }
    told_ = true;
    if (tell_user_) {
        tell_user_(message);
    }
}

}  // namespace tapster
