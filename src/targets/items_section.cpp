#include "targets/items_section.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tapster {

namespace {

// One value for each repeat of a text, the first kept inline: most texts stand once.
template <typename Value>
class PerRepeat {
  public:
    void set(std::size_t repeat, Value value) {
        if (repeat == 0) {
            first_ = value;
            return;
        }
        if (rest_.size() < repeat) {
            rest_.resize(repeat);
        }
        rest_[repeat - 1] = value;
    }
    Value at(std::size_t repeat) const {
        if (repeat == 0) {
            return first_;
        }
        return repeat <= rest_.size() ? rest_[repeat - 1] : Value{};
    }

  private:
    Value first_{};
    std::vector<Value> rest_;
};

// What a save knows of one text: how often it stood in the list agreed on, in this copy's
// list and in the file, and the check marks this copy gave its repeats.
struct TextChanges {
    std::size_t agreed = 0;
    std::size_t mine = 0;
    std::size_t in_file = 0;
    std::size_t seen = 0;  // while walking a list
    // By repeat: the agreed check mark, and this copy's where it changed it.
    PerRepeat<bool> agreed_marks;
    PerRepeat<std::optional<bool>> marked;
};

}  // namespace

StoredList stored_list(const TargetList& targets) {
    StoredList list;
    list.reserve(static_cast<std::size_t>(targets.own_count()));
    for (int index = 0; index < targets.own_count(); ++index) {
        const TargetList::Entry& entry = targets.at(index);
        list.push_back({entry.text, entry.checked});
    }
    return list;
}

StoredList stored_list(const SettingsStore::Entries& items) {
    StoredList list;
    list.reserve(items.size());
    for (const auto& [key, value] : items) {
        list.push_back({value, is_checked_key(key)});
    }
    return list;
}

SettingsStore::Entries items_entries(const StoredList& list) {
    SettingsStore::Entries entries;
    entries.reserve(list.size());
    int position = 0;
    for (const StoredEntry& entry : list) {
        entries.emplace_back((entry.checked ? "c-" : "u-") + std::to_string(position++),
                             entry.text);
    }
    return entries;
}

SettingsStore::Entries items_entries(StoredList&& list) {
    SettingsStore::Entries entries;
    entries.reserve(list.size());
    int position = 0;
    for (StoredEntry& entry : list) {
        entries.emplace_back((entry.checked ? "c-" : "u-") + std::to_string(position++),
                             std::move(entry.text));
    }
    return entries;
}

bool is_checked_key(std::string_view key) {
    return !key.empty() && key.front() == 'c';
}

namespace {

std::string_view text_of(const StoredEntry& entry) {
    return entry.text;
}
bool checked_of(const StoredEntry& entry) {
    return entry.checked;
}
std::string_view text_of(const std::pair<std::string, std::string>& item) {
    return item.second;
}
bool checked_of(const std::pair<std::string, std::string>& item) {
    return is_checked_key(item.first);
}

template <typename FileList>
StoredList merge_into(const StoredList& agreed, const StoredList& mine, const FileList& file) {
    // Keyed by views into the lists, which outlive the map: a list of tens of thousands of
    // entries costs one map entry per text and no copies.
    std::unordered_map<std::string_view, TextChanges> texts;
    texts.reserve(agreed.size() + mine.size() / 8);
    for (const StoredEntry& entry : agreed) {
        TextChanges& text = texts[entry.text];
        text.agreed_marks.set(text.agreed++, entry.checked);
    }
    for (const StoredEntry& entry : mine) {
        TextChanges& text = texts[entry.text];
        const std::size_t repeat = text.mine++;
        if (repeat < text.agreed && text.agreed_marks.at(repeat) != entry.checked) {
            text.marked.set(repeat, entry.checked);
        }
    }
    for (const auto& entry : file) {
        if (const auto found = texts.find(text_of(entry)); found != texts.end()) {
            ++found->second.in_file;
        }
    }

    StoredList result;
    result.reserve(file.size() + mine.size());
    for (const auto& entry : file) {
        const auto found = texts.find(text_of(entry));
        if (found == texts.end()) {
            result.push_back({std::string(text_of(entry)), checked_of(entry)});  // another copy's
            continue;
        }
        TextChanges& text = found->second;
        const std::size_t repeat = text.seen++;
        // The repeats this copy removed are its last ones.
        const std::size_t removed = text.agreed > text.mine ? text.agreed - text.mine : 0;
        if (repeat + removed >= text.in_file && removed > 0) {
            continue;
        }
        StoredEntry& stored =
            result.emplace_back(StoredEntry{std::string(text_of(entry)), checked_of(entry)});
        if (const std::optional<bool> mark = text.marked.at(repeat)) {
            stored.checked = *mark;
        }
    }
    // Additions: the repeats of a text beyond those this copy agreed on, in its order.
    for (auto& [view, text] : texts) {
        text.seen = 0;
    }
    for (const StoredEntry& entry : mine) {
        TextChanges& text = texts.find(entry.text)->second;
        if (text.seen++ >= text.agreed) {
            result.push_back(entry);
        }
    }
    return result;
}

}  // namespace

StoredList merged(const StoredList& agreed, const StoredList& mine, const StoredList& file) {
    return merge_into(agreed, mine, file);
}

StoredList merged(const StoredList& agreed, const StoredList& mine,
                  const SettingsStore::Entries& file) {
    return merge_into(agreed, mine, file);
}

bool replace_entry(StoredList& list, const Replacement& replacement) {
    std::size_t seen = 0;
    for (StoredEntry& entry : list) {
        if (entry.text == replacement.from && seen++ == replacement.repeat) {
            entry.text = replacement.to;
            return true;
        }
    }
    return false;
}

StoredList merged(StoredList agreed, const StoredList& mine, StoredList file,
                  const std::vector<Replacement>& replacements) {
    // Made in both lists, the replacement is no change at all to the merge, and the entry
    // stays where the file has it; made in neither, the new text is an addition.
    for (const Replacement& replacement : replacements) {
        if (replace_entry(file, replacement)) {
            replace_entry(agreed, replacement);
        }
    }
    return merge_into(agreed, mine, file);
}

}  // namespace tapster
