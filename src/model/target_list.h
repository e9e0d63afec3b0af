#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/target.h"

namespace tapster {

// The recorded targets while the program runs: each entry's text (what the list shows and
// the file stores), the target read from it, and its check mark, which enables it. The
// check-box list on screen and the stored Items section are both copies of this list;
// observers hear of every change.
//
// The user's own entries come first; after them come the entries an administrator set by
// policy ("managed"), which are always checked and never stored. Both share the limit.
//
// Each entry's target is read, its title folded by the list's fold_case, once as the entry
// comes, so that a tick only looks. An entry's check mark changes, and the user's own entry
// may be replaced whole in place (its text and target read anew); nothing else changes it.
class TargetList {
  public:
    static constexpr int kNone = -1;
    // Positions are 16-bit numbers in the stored keys: the list never holds more.
    static constexpr int kMostEntries = 32767;

    // A list made without a fold_case keeps the titles' letter case: one that is never pressed.
    TargetList() = default;
    explicit TargetList(FoldCase fold_case) : fold_case_(std::move(fold_case)) {}

    struct Entry {
        std::string text;
        Target target;
        bool checked = false;
        bool managed = false;
    };

    struct Change {
        // added: a new entry at `index`; the ones from there on move down by one. replaced: the
        // entry at `index` has another text and target, its place and check mark kept.
        enum class Kind { added, removed, checked, replaced } kind = Kind::added;
        int index = kNone;
        bool managed = false;
    };
    using Observer = std::function<void(const Change&)>;

    int count() const { return static_cast<int>(entries_.size()); }
    // The user's own entries, positions 0 to own_count() - 1.
    int own_count() const { return count() - managed_count_; }
    bool full() const { return count() >= kMostEntries; }
    const Entry& at(int index) const;
    const std::vector<Entry>& entries() const { return entries_; }

    // Adds one of the user's entries after the user's others.
    void append(std::string text, bool checked = false);
    void remove(int index);
    // A managed entry stays checked.
    void set_checked(int index, bool checked);
    // The user's own entry gets another text; a managed entry is never replaced (false).
    bool replace(int index, std::string text);
    // Makes the managed entries these texts: entries that stay keep their place, the others
    // go, new ones come last, as many as the list has room for. Repeated texts count once.
    // Returns how many of the texts found no room.
    std::size_t set_managed(const std::vector<std::string>& texts);

    void observe(Observer observer) { observers_.push_back(std::move(observer)); }

  private:
    std::size_t position(int index) const;
    void notify(Change::Kind kind, int index, bool managed) const;

    FoldCase fold_case_;
    std::vector<Entry> entries_;
    int managed_count_ = 0;
    std::vector<Observer> observers_;
};

}  // namespace tapster
