#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/status.h"
#include "settings/settings_document.h"
#include "settings/settings_file.h"

namespace tapster {

// The settings file holds only texts; numbers and switches are stored in these forms.
std::string number_text(long long value);
std::string boolean_text(bool value);
// "True"/"False" in any letter case, or a decimal number (non-zero is true); nullopt for
// anything else, so the caller can fall back to its default.
std::optional<bool> parse_boolean(std::string_view text);

// The per-user settings: texts addressed by section and key, kept in one JSON file that two
// running copies may share. Every call reads the file afresh under the file's lock and
// changes only what it was asked to, so one copy never undoes another copy's change. A call
// that cannot take the lock fails rather than risk losing the other copy's change.
class SettingsStore {
  public:
    using Entries = SettingsDocument::Entries;
    using TellUser = std::function<void(const std::string& message)>;

    // `tell_user` hears, at most once for this store, that a damaged file was set aside. It is
    // called after the lock is released, so another copy never waits behind a message box.
    SettingsStore(platform::SettingsFile& file, TellUser tell_user);

    // The stored text, or `default_text` when there is none or the file cannot be read.
    std::string read(std::string_view section, std::string_view key, std::string_view default_text);
    Status write(std::string_view section, std::string_view key, std::string_view value);

    // The section's entries in the order they were first written; nullopt when it has none.
    std::optional<Entries> read_section(std::string_view section);
    // The section's entries in file order; an absent section gives ok and no entries. Fails
    // when the file cannot be read or locked, so a caller can tell "nothing stored" from
    // "could not look".
    Status try_read_section(std::string_view section, Entries& entries);
    // Fails, leaving the file alone, when there is no such section.
    Status delete_section(std::string_view section);
    // Swaps in the whole section at once, so a reader never sees half a list; an empty list
    // removes the section.
    Status replace_section(std::string_view section, const Entries& entries);

  private:
    // Takes the lock, loads the document and hands it to `use`; a message for the user waits
    // until the lock is released.
    Status with_document(const std::function<Status(SettingsDocument&)>& use);
    // Fails when the file exists but cannot be read or put aside.
    Status load(SettingsDocument& document);
    // Applies `edit` and writes the result back unless the edit failed or changed nothing.
    Status modify(const std::function<Status(SettingsDocument&, bool& changed)>& edit);
    void deliver_message();

    platform::SettingsFile& file_;
    TellUser tell_user_;
    bool told_ = false;
    std::optional<std::string> message_;  // for the user, once the lock is released
};

}  // namespace tapster
