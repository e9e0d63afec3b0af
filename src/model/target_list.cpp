#include "model/target_list.h"

#include <stdexcept>
#include <utility>

namespace tapster {

const TargetList::Entry& TargetList::at(int index) const {
    return entries_[position(index)];
}

void TargetList::append(std::string text, bool checked) {
    Target target = parse_target(text);
    entries_.push_back(Entry{std::move(text), std::move(target), checked});
    notify(Change::Kind::appended, count() - 1);
}

void TargetList::remove(int index) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position(index)));
    notify(Change::Kind::removed, index);
}

void TargetList::set_checked(int index, bool checked) {
    Entry& entry = entries_[position(index)];
    if (entry.checked == checked) {
        return;
    }
    entry.checked = checked;
    notify(Change::Kind::checked, index);
}

std::size_t TargetList::position(int index) const {
    // Asking for a position that does not exist is a fault in the caller.
    if (index < 0 || index >= count()) {
        throw std::out_of_range("target list position " + std::to_string(index));
    }
    return static_cast<std::size_t>(index);
}

void TargetList::notify(Change::Kind kind, int index) const {
    for (const Observer& observer : observers_) {
        observer(Change{kind, index});
    }
}

}  // namespace tapster
