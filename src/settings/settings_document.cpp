#include "settings/settings_document.h"

#include <cstddef>

namespace tapster {

const SettingsDocument::Entries* SettingsDocument::section(std::string_view name) const {
    const Section* found = find_section(std::string(name));
    return found == nullptr ? nullptr : &found->entries();
}

const std::string* SettingsDocument::value(std::string_view section, std::string_view key) const {
    const Section* found = find_section(std::string(section));
    return found == nullptr ? nullptr : found->find(std::string(key));
}

bool SettingsDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    std::string name(section);
    Section* target = find_section(name);
    if (target == nullptr) {
        target = &fresh_section(std::move(name));
    }
    return target->set(std::string(key), std::string(value));
}

bool SettingsDocument::remove_section(std::string_view name) {
    const auto found = section_positions_.find(std::string(name));
    if (found == section_positions_.end()) {
        return false;
    }
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(found->second));
    section_positions_.clear();
    for (std::size_t position = 0; position < sections_.size(); ++position) {
        section_positions_.emplace(sections_[position].name(), position);
    }
    return true;
}

bool SettingsDocument::replace_section(std::string_view name, const Entries& entries) {
    if (entries.empty()) {
        return remove_section(name);
    }
    Section replacement{std::string(name)};
    for (const auto& [key, text] : entries) {
        replacement.set(key, text);
    }
    Section* existing = find_section(replacement.name());
    if (existing != nullptr && existing->entries() == replacement.entries()) {
        return false;
    }
    fresh_section(replacement.name()) = std::move(replacement);
    return true;
}

const std::string* SettingsDocument::Section::find(const std::string& key) const {
    const auto found = positions_.find(key);
    return found == positions_.end() ? nullptr : &entries_[found->second].second;
}

bool SettingsDocument::Section::set(std::string key, std::string value) {
    if (repeats_) {
        drop_repeats_of(key);
    }
    const auto found = positions_.find(key);
    if (found != positions_.end()) {
        std::string& stored = entries_[found->second].second;
        if (stored == value) {
            return false;
        }
        stored = std::move(value);
        return true;
    }
    positions_.emplace(key, entries_.size());
    entries_.emplace_back(std::move(key), std::move(value));
    return true;
}

void SettingsDocument::Section::add(std::string key, std::string value) {
    const auto [found, added] = positions_.try_emplace(key, entries_.size());
    if (!added) {
        found->second = entries_.size();
        repeats_ = true;
    }
    entries_.emplace_back(std::move(key), std::move(value));
}

void SettingsDocument::Section::drop_repeats_of(const std::string& key) {
    const std::string* last = find(key);
    if (last == nullptr) {
        return;
    }
    // The first place, with the value the key was read as.
    std::string value = *last;
    Entries kept;
    kept.reserve(entries_.size());
    bool seen = false;
    for (auto& entry : entries_) {
        if (entry.first == key) {
            if (seen) {
                continue;
            }
            seen = true;
            entry.second = std::move(value);
        }
        kept.push_back(std::move(entry));
    }
    entries_ = std::move(kept);
    positions_.clear();
    for (std::size_t position = 0; position < entries_.size(); ++position) {
        positions_[entries_[position].first] = position;
    }
}

SettingsDocument::Section* SettingsDocument::find_section(const std::string& name) {
    const auto found = section_positions_.find(name);
    return found == section_positions_.end() ? nullptr : &sections_[found->second];
}

const SettingsDocument::Section* SettingsDocument::find_section(const std::string& name) const {
    const auto found = section_positions_.find(name);
    return found == section_positions_.end() ? nullptr : &sections_[found->second];
}

SettingsDocument::Section& SettingsDocument::section_named(std::string name) {
    if (Section* existing = find_section(name)) {
        return *existing;
    }
    section_positions_.emplace(name, sections_.size());
    sections_.emplace_back(std::move(name));
    return sections_.back();
}

SettingsDocument::Section& SettingsDocument::fresh_section(std::string name) {
    Section& section = section_named(std::move(name));
    section = Section(section.name());
    return section;
}

}  // namespace tapster
