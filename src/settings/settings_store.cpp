#include "settings/settings_store.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace tapster {

namespace {

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
    std::string text(default_text);
    // A setting that cannot be read is one never made, so a failure leaves the default.
    static_cast<void>(with_document([&](SettingsDocument& document) {
        if (const std::string* stored = document.value(section, key)) {
            text = *stored;
        }
        return Status::success();
    }));
    return text;
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
    return with_document([&](SettingsDocument& document) {
        if (const Entries* stored = document.section(section)) {
            entries = *stored;
        }
        return Status::success();
    });
}

Status SettingsStore::write(std::string_view section, std::string_view key,
                            std::string_view value) {
    return modify([&](SettingsDocument& document, bool& changed) {
        changed = document.set(section, key, value);
        return Status::success();
    });
}

Status SettingsStore::delete_section(std::string_view section) {
    return modify([&](SettingsDocument& document, bool& changed) {
        changed = document.remove_section(section);
        if (!changed) {
            return Status::failure("The settings have no section \"" + std::string(section) +
                                   "\" to delete.");
        }
        return Status::success();
    });
}

Status SettingsStore::replace_section(std::string_view section, const Entries& entries) {
    return modify([&](SettingsDocument& document, bool& changed) {
        changed = document.replace_section(section, entries);
        return Status::success();
    });
}

Status SettingsStore::with_document(const std::function<Status(SettingsDocument&)>& use) {
    Status result = Status::success();
    {
        std::unique_ptr<platform::SettingsFile::Lock> lock;
        if (Status locked = file_.lock(lock); locked.failed()) {
            result = Status::failure("Tapster could not take its turn at the settings in " +
                                     file_.location() + ": " + locked.message());
        } else {
            SettingsDocument document;
            result = load(document);
            if (!result.failed()) {
                result = use(document);
            }
        }
    }
    deliver_message();
    return result;
}

Status SettingsStore::load(SettingsDocument& document) {
    const platform::SettingsFile::Contents contents = file_.read();
    switch (contents.state) {
        case platform::SettingsFile::ReadState::missing:
            return Status::success();
        case platform::SettingsFile::ReadState::failed:
            return Status::failure("Tapster could not read its settings from " + file_.location() +
                                   ": " + contents.error);
        case platform::SettingsFile::ReadState::present:
            break;
    }

    // An empty file holds nothing worth keeping aside or warning about.
    if (trim(contents.bytes).empty()) {
        return Status::success();
    }
    if (auto parsed = SettingsDocument::parse(contents.bytes)) {
        document = std::move(*parsed);
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
    if (!told_) {
        told_ = true;
        message_ = "Tapster could not read its settings from " + file_.location() +
                   ". The damaged file was kept as " + kept_as +
                   ", and Tapster starts with empty settings.";
    }
    return Status::success();
}

Status SettingsStore::modify(const std::function<Status(SettingsDocument&, bool&)>& edit) {
    return with_document([&](SettingsDocument& document) {
        bool changed = false;
        if (Status edited = edit(document, changed); edited.failed() || !changed) {
            return edited;
        }
        const std::optional<std::string> bytes = document.serialize();
        if (!bytes) {
            return Status::failure(
                "Tapster could not save a setting whose text is not valid UTF-8.");
        }
        if (Status replaced = file_.replace(*bytes); replaced.failed()) {
            return Status::failure("Tapster could not save its settings to " + file_.location() +
                                   ": " + replaced.message());
        }
        return Status::success();
    });
}

void SettingsStore::deliver_message() {
    if (!message_) {
        return;
    }
    const std::string message = std::move(*message_);
    message_.reset();
    if (tell_user_) {
        tell_user_(message);
    }
}

}  // namespace tapster
