#include "pressing/wanted_classes.h"

#include <iterator>
#include <utility>

namespace tapster {

WantedClasses::WantedClasses(TargetList& targets, WindowWatch& watch,
                             platform::TopLevelWindows& windows)
    : targets_(targets), watch_(watch), windows_(windows) {
    for (int index = 0; index < targets.count(); ++index) {
        counted_.push_back(counted_class(index));
        count(counted_.back());
    }
    targets.observe([this](const TargetList::Change& change) { on_changed(change); });
}

void WantedClasses::on_changed(const TargetList::Change& change) {
    const auto position = std::next(counted_.begin(), change.index);
    switch (change.kind) {
        case TargetList::Change::Kind::added:
            count(*counted_.insert(position, counted_class(change.index)));
            break;
        case TargetList::Change::Kind::removed:
            uncount(*position);
            counted_.erase(position);
            break;
        case TargetList::Change::Kind::checked:
        case TargetList::Change::Kind::replaced: {
            std::optional<std::string> now = counted_class(change.index);
            uncount(*position);
            count(now);
            *position = std::move(now);
            break;
        }
    }
}

std::optional<std::string> WantedClasses::counted_class(int index) const {
    const TargetList::Entry& entry = targets_.at(index);
    if (!entry.checked || !entry.target.pressable()) {
        return std::nullopt;
    }
    return entry.target.window_class;
}

void WantedClasses::count(const std::optional<std::string>& window_class) {
    if (!window_class) {
        return;
    }
    Named& named = by_name_[*window_class];
    if (named.targets++ == 0) {
        named.folded = windows_.fold_class_name(*window_class);
        watch_.want(named.folded);
    }
}

void WantedClasses::uncount(const std::optional<std::string>& window_class) {
    if (!window_class) {
        return;
    }
    const auto named = by_name_.find(*window_class);
    if (named != by_name_.end() && --named->second.targets == 0) {
        watch_.unwant(named->second.folded);
        by_name_.erase(named);
    }
}

}  // namespace tapster
