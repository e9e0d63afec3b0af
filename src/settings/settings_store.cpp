#include "settings/settings_store.h"

#include <memory>
#include <string>
#include <utility>

namespace tapster {

using platform::Status;

namespace {

// Empty, blanks, a byte order mark, or one followed by blanks: what an editor saves for an
// empty file.
bool blank(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    return bytes.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

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

Status SettingsStore::read_section_copy(std::string_view section, SectionCopy& copy,
                                        bool set_damage_aside) {
    copy = SectionCopy{};
    copy.stamp = file_.stamp();
    return with_document(
        [&](SettingsDocument& document) {
            if (const Entries* stored = document.section(section)) {
                copy.entries = *stored;
            }
            return Status::success();
        },
        set_damage_aside ? Damage::set_aside : Damage::leave, &copy.damaged);
}

Status SettingsStore::merge_section(std::string_view section, const Merge& merge,
                                    SectionCopy& stored) {
    stored = SectionCopy{};
    return modify(
        [&](SettingsDocument& document, bool& changed) {
            static const Entries kNone;
            const Entries* now = document.section(section);
            Entries wanted = merge(now == nullptr ? kNone : *now, stored.damaged);
            changed = document.replace_section(section, wanted);
            stored.entries = std::move(wanted);
            return Status::success();
        },
        &stored.damaged, &stored.stamp);
}

Status SettingsStore::with_document(const std::function<Status(SettingsDocument&)>& use,
                                    Damage damage, bool* damaged) {
    SettingsDocument document;
    bool was_damaged = false;
    Status result = load(document, Damage::leave, was_damaged);
    if (!result.failed() && was_damaged && damage == Damage::set_aside) {
        std::unique_ptr<platform::SettingsFile::Lock> lock;
        result = take_lock(lock);
        if (!result.failed()) {
            result = load(document, Damage::set_aside, was_damaged);
        }
    }
    if (damaged != nullptr) {
        *damaged = was_damaged;
    }
    if (!result.failed()) {
        result = use(document);
    }
    deliver_message();
    return result;
}

Status SettingsStore::take_lock(std::unique_ptr<platform::SettingsFile::Lock>& lock) {
    if (Status locked = file_.lock(lock); locked.failed()) {
        return Status::failure("Tapster could not take its turn at the settings in " +
                               file_.location() + ": " + locked.message());
    }
    return Status::success();
}

Status SettingsStore::load(SettingsDocument& document, Damage damage, bool& damaged) {
    document = SettingsDocument{};
    damaged = false;
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

    // A blank file holds nothing worth keeping aside or warning about.
    if (blank(contents.bytes)) {
        return Status::success();
    }
    if (auto parsed = SettingsDocument::parse(contents.bytes)) {
        document = std::move(*parsed);
        return Status::success();
    }
    damaged = true;
    if (damage == Damage::leave) {
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

Status SettingsStore::modify(const std::function<Status(SettingsDocument&, bool&)>& edit,
                             bool* damaged, platform::SettingsFile::Stamp* stamp) {
    Status result = Status::success();
    {
        std::unique_ptr<platform::SettingsFile::Lock> lock;
        result = take_lock(lock);
        if (!result.failed()) {
            // Before reading: a change another program makes meanwhile shows in a later stamp.
            if (stamp != nullptr) {
                *stamp = file_.stamp();
            }
            SettingsDocument document;
            bool was_damaged = false;
            result = load(document, Damage::set_aside, was_damaged);
            if (damaged != nullptr) {
                *damaged = was_damaged;
            }
            bool changed = false;
            if (!result.failed()) {
                result = edit(document, changed);
            }
            if (!result.failed() && changed) {
                result = write(document);
                if (!result.failed() && stamp != nullptr) {
                    *stamp = file_.stamp();
                }
            }
        }
    }
    deliver_message();
    return result;
}

Status SettingsStore::write(const SettingsDocument& document) {
    const std::optional<std::string> bytes = document.serialize();
    if (!bytes) {
        return Status::failure("Tapster could not save a setting whose text is not valid UTF-8.");
    }
    if (Status replaced = file_.replace(*bytes); replaced.failed()) {
        return Status::failure("Tapster could not save its settings to " + file_.location() + ": " +
                               replaced.message());
    }
    return Status::success();
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
