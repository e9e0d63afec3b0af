#include "model/target_list.h"

#include <stdexcept>
#include <unordered_set>
#include <utility>

namespace tapster {

const TargetList::Entry& TargetList::at(int index) const {
    return entries_[position(index)];
}

void TargetList::append(std::string text, bool checked) {
    Target target = parse_target(text, fold_case_);
    const int index = own_count();
    entries_.insert(entries_.begin() + index, Entry{std::move(text), std::move(target), checked});
    notify(Change::Kind::added, index, false);
}

void TargetList::remove(int index) {
    const auto entry = entries_.begin() + static_cast<std::ptrdiff_t>(position(index));
    const bool managed = entry->managed;
    managed_count_ -= managed ? 1 : 0;
    entries_.erase(entry);
    notify(Change::Kind::removed, index, managed);
}

void TargetList::set_checked(int index, bool checked) {
    Entry& entry = entries_[position(index)];
    if (entry.checked == checked || entry.managed) {
        return;
    }
    entry.checked = checked;
    notify(Change::Kind::checked, index, false);
}

bool TargetList::replace(int index, std::string text) {
    Entry& entry = entries_[position(index)];
    if (entry.managed) {
        return false;
    }
    if (entry.text != text) {
        entry.target = parse_target(text, fold_case_);
        entry.text = std::move(text);
        notify(Change::Kind::replaced, index, false);
    }
    return true;
}

std::size_t TargetList::set_managed(const std::vector<std::string>& texts) {
    const std::unordered_set<std::string> wanted(texts.begin(), texts.end());
    std::unordered_set<std::string> present;
    for (int index = count() - 1; index >= own_count(); --index) {
        if (wanted.count(entries_[static_cast<std::size_t>(index)].text) == 0) {
            remove(index);
        } else {
            present.insert(entries_[static_cast<std::size_t>(index)].text);
        }
    }
    std::size_t no_room = 0;
    for (const std::string& text : texts) {
        if (!present.insert(text).second) {
            continue;
        }
        if (full()) {
            ++no_room;
            continue;
        }
        entries_.push_back(Entry{text, parse_target(text, fold_case_), true, true});
        ++managed_count_;
        notify(Change::Kind::added, count() - 1, true);
    }
    return no_room;
}

std::size_t TargetList::position(int index) const {
    // Asking for a position that does not exist is a fault in the caller.
    if (index < 0 || index >= count()) {
        throw std::out_of_range("target list position " + std::to_string(index));
    }
    return static_cast<std::size_t>(index);
}

void TargetList::notify(Change::Kind kind, int index, bool managed) const {
    for (const Observer& observer : observers_) {
        observer(Change{kind, index, managed});
    }
}

}  // namespace tapster
