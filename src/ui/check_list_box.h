#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ui/control.h"
#include "ui/control_visitor.h"
#include "ui/event.h"
#include "ui/mouse.h"

namespace tapster::ui {

// A list whose entries each carry a check mark, in the order they were appended, with at
// most one highlighted entry. The click event runs when the user moves the highlight or
// toggles a check mark; changes the program makes raise no event, so loading a list never
// looks like a click.
class CheckListBox : public Control {
  public:
    static constexpr int kNone = -1;

    struct Entry {
        std::string text;
        bool checked = false;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // The last change the program made to the entries, so a view can apply just that.
    struct Edit {
        // inserted: a new entry before others, which move down by one.
        enum class Kind { appended, inserted, removed, checked, retexted } kind = Kind::appended;
        int index = kNone;
    };

    using Control::Control;
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

    Event<> clicked;
    // The user changed an entry's check mark; raised before `clicked`.
    Event<int, bool> user_checked;
    Event<const MouseArgs&> mouse_down;
    // The user asked to open an entry: a double click on it, or Enter.
    Event<int> opened;

    int count() const { return static_cast<int>(entries_.size()); }
    const Entry& entry(int index) const { return entries_[position(index)]; }
    const std::string& text(int index) const { return entry(index).text; }
    bool checked(int index) const { return entry(index).checked; }
    const std::vector<Entry>& entries() const { return entries_; }

    void add(std::string text) {
        entries_.push_back(Entry{std::move(text), false});
        last_edit_ = {Edit::Kind::appended, count() - 1};
        notify(Change::entries);
    }
    // A new unchecked entry at this position; the highlight goes with its entry.
    void insert(int index, std::string text) {
        if (index == count()) {
            add(std::move(text));
            return;
        }
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position(index)),
                        Entry{std::move(text), false});
        const bool moved = highlighted_ >= index;
        highlighted_ += moved ? 1 : 0;
        last_edit_ = {Edit::Kind::inserted, index};
        notify(Change::entries);
        if (moved) {
            notify(Change::highlight);
        }
    }
    void set_checked(int index, bool checked) {
        Entry& target = entries_[position(index)];
        if (target.checked == checked) {
            return;
        }
        target.checked = checked;
        last_edit_ = {Edit::Kind::checked, index};
        notify(Change::entries);
    }
    // The entry keeps its place, check mark and highlight.
    void set_text(int index, std::string text) {
        Entry& target = entries_[position(index)];
        if (target.text == text) {
            return;
        }
        target.text = std::move(text);
        last_edit_ = {Edit::Kind::retexted, index};
        notify(Change::entries);
    }
    // Removes one entry; the ones after it move up and the highlight goes with its entry.
    void remove(int index) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position(index)));
        if (highlighted_ == index) {
            highlighted_ = kNone;
        } else if (highlighted_ > index) {
            --highlighted_;
        }
        last_edit_ = {Edit::Kind::removed, index};
        notify(Change::entries);
        notify(Change::highlight);
    }

    const Edit& last_edit() const { return last_edit_; }

    int highlighted() const { return highlighted_; }
    void set_highlighted(int index) {
        if (index != kNone) {
            position(index);
        }
        change(highlighted_, index, Change::highlight);
    }

    // What the view shows when the mouse pointer rests on an entry; nothing without one.
    void set_tip(std::function<std::string(int index)> tip) { tip_ = std::move(tip); }
    std::string tip(int index) const {
        return tip_ && index >= 0 && index < count() ? tip_(index) : std::string();
    }

    // Input reported by the view, which already shows it.
    void user_highlight(int index) {
        if (index < kNone || index >= count() || index == highlighted_) {
            return;
        }
        highlighted_ = index;
        clicked.raise();
    }
    void user_set_checked(int index, bool checked) {
        if (index < 0 || index >= count() || entries_[position(index)].checked == checked) {
            return;
        }
        entries_[position(index)].checked = checked;
        user_checked.raise(index, checked);
        clicked.raise();
    }

    void user_open(int index) {
        if (index >= 0 && index < count()) {
            opened.raise(index);
        }
    }

  private:
    // A position the program asks for must exist: asking for another is a fault in the
    // caller, reported as std::out_of_range.
    std::size_t position(int index) const {
        if (index < 0 || index >= count()) {
            throw std::out_of_range("list position " + std::to_string(index));
        }
        return static_cast<std::size_t>(index);
    }

    std::vector<Entry> entries_;
    std::function<std::string(int)> tip_;
    int highlighted_ = kNone;
    Edit last_edit_;
};

}  // namespace tapster::ui
