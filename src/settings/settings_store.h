#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/settings_file.h"
#include "platform/status.h"
#include "settings/settings_document.h"

namespace tapster {

// The settings file holds only texts; numbers and switches are stored in these forms.
std::string number_text(long long value);
std::string boolean_text(bool value);
// "True"/"False" in any letter case, or a decimal number (non-zero is true); nullopt for
// anything else, so the caller can fall back to its default.
std::optional<bool> parse_boolean(std::string_view text);

// The per-user settings: texts addressed by section and key, kept in one JSON file that two
// running copies may share. Every call reads the file afresh. A change reads, edits and
// writes under the file's lock and changes only what it was asked to, so one copy never
// undoes another copy's change; a change that cannot take the lock fails rather than risk
// that. A read takes no lock, since a change replaces the file whole: a folder where no lock
// can be had still reads.
class SettingsStore {
  public:
    using Entries = SettingsDocument::Entries;
    using TellUser = std::function<void(const std::string& message)>;

    // `tell_user` hears, at most once for this store, that a damaged file was set aside. It is
    // called after the lock is released, so another copy never waits behind a message box.
    SettingsStore(platform::SettingsFile& file, TellUser tell_user);

    // The stored text, or `default_text` when there is none or the file cannot be read.
    std::string read(std::string_view section, std::string_view key, std::string_view default_text);
    platform::Status write(std::string_view section, std::string_view key, std::string_view value);

    // The section's entries in the order they were first written; nullopt when it has none.
    std::optional<Entries> read_section(std::string_view section);
    // The section's entries in file order; an absent section gives ok and no entries. Fails
    // when the file cannot be read or locked, so a caller can tell "nothing stored" from
    // "could not look".
    platform::Status try_read_section(std::string_view section, Entries& entries);
    // Fails, leaving the file alone, when there is no such section.
    platform::Status delete_section(std::string_view section);
    // Swaps in the whole section at once, so a reader never sees half a list; an empty list
    // removes the section.
    platform::Status replace_section(std::string_view section, const Entries& entries);

    // A section as a caller that keeps its own copy, and follows the file, sees it.
    struct SectionCopy {
        Entries entries;
        // Of the file as read; taken before reading, so a change made meanwhile shows later.
        platform::SettingsFile::Stamp stamp;
        // The file could not be understood: it holds nothing for the caller.
        bool damaged = false;
    };
    // Reads a section. A damaged file is set aside, and the user told, only when
    // `set_damage_aside`; otherwise it is left alone, since another program may not have
    // finished writing it.
    platform::Status read_section_copy(std::string_view section, SectionCopy& copy,
                                       bool set_damage_aside);
    // One locked read-modify-write of a section: `merge` gets the section as the file holds
    // it now (`damaged`: the file was set aside first, and holds nothing) and gives what to
    // store. Nothing is written when that is what the file holds. `stored` is then the
    // section as the file holds it.
    using Merge = std::function<Entries(const Entries& now, bool damaged)>;
    platform::Status merge_section(std::string_view section, const Merge& merge,
                                   SectionCopy& stored);
    // Cheap: tells whether the file changed since a copy was taken.
    platform::SettingsFile::Stamp stamp() { return file_.stamp(); }

  private:
    enum class Damage { leave, set_aside };
    // Reads the document without the lock and hands it to `use`. A damaged file is read again
    // under the lock before it is set aside: a copy may just have replaced it.
    platform::Status with_document(const std::function<platform::Status(SettingsDocument&)>& use,
                                   Damage damage = Damage::set_aside, bool* damaged = nullptr);
    // Fails when the file exists but cannot be read, or, held locked, put aside.
    platform::Status load(SettingsDocument& document, Damage damage, bool& damaged);
    // Takes the lock, loads the document, applies `edit` and writes the result back unless
    // the edit failed or changed nothing. A message for the user waits until the lock is
    // released.
    platform::Status modify(
        const std::function<platform::Status(SettingsDocument&, bool& changed)>& edit,
        bool* damaged = nullptr, platform::SettingsFile::Stamp* stamp = nullptr);
    platform::Status write(const SettingsDocument& document);
    platform::Status take_lock(std::unique_ptr<platform::SettingsFile::Lock>& lock);
    void deliver_message();

    platform::SettingsFile& file_;
    TellUser tell_user_;
    bool told_ = false;
    std::optional<std::string> message_;  // for the user, once the lock is released
};

}  // namespace tapster
