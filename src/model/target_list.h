#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/target.h"

namespace tapster {

// The recorded targets while the program runs: each entry's text (what the list shows and
// the file stores), the target read from it, and its check mark, which enables it. The
// check-box list on screen and the stored Items section are both copies of this list;
// observers hear of every change.
class TargetList {
  public:
    static constexpr int kNone = -1;
    // Positions are 16-bit numbers in the stored keys: the list never holds more.
    static constexpr int kMostEntries = 32767;

    struct Entry {
        std::string text;
        Target target;
        bool checked = false;
    };

    struct Change {
        enum class Kind { appended, removed, checked } kind = Kind::appended;
        int index = kNone;
    };
    using Observer = std::function<void(const Change&)>;

    int count() const { return static_cast<int>(entries_.size()); }
    bool full() const { return count() >= kMostEntries; }
    const Entry& at(int index) const;
    const std::vector<Entry>& entries() const { return entries_; }

    void append(std::string text, bool checked = false);
    void remove(int index);
    void set_checked(int index, bool checked);

    void observe(Observer observer) { observers_.push_back(std::move(observer)); }

  private:
    std::size_t position(int index) const;
    void notify(Change::Kind kind, int index) const;

    std::vector<Entry> entries_;
    std::vector<Observer> observers_;
};

}  // namespace tapster
