#pragma once

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tapster::fakes {

// A desktop of windows that tests open and close, with parents, identifiers and texts; a
// cursor confined to a screen; and a journal of everything the program did, in order.
class FakeDesktop : public platform::Desktop {
  public:
    struct Node {
        std::string class_name;
        std::string text;
        int id = 0;
        platform::WindowHandle parent = 0;
        // Titles the window shows from one read to the next.
        std::vector<std::string> later_texts = {};
    };
    // A top-level window with buttons: identifier -> text.
    struct Window {
        std::string class_name;
        std::string title;
        std::map<int, std::string> controls;
    };

    // Journal entries: "command <window> <id>", "cursor <x>,<y>", "left down", "left up".
    std::vector<std::string> journal;
    int lookups = 0;
    int enumerations = 0;  // walks through the top-level windows begun
    int title_reads = 0;
    platform::Size screen{1024, 768};
    platform::Point cursor{100, 100};
    platform::WindowHandle window_under_cursor = 0;
    // Top-level windows of programs with higher rights: they take no message from us.
    std::set<platform::WindowHandle> elevated;
    // Windows made but not shown yet.
    std::set<platform::WindowHandle> hidden;

    // Adds a window; children come in the order they were added, as GetDlgItem finds them.
    platform::WindowHandle add(Node node, platform::WindowHandle handle = 0) {
        if (handle == 0) {
            handle = next_handle_++;
        }
        nodes_[handle] = std::move(node);
        order_.push_back(handle);
        return handle;
    }
    platform::WindowHandle open(const Window& window) {
        const platform::WindowHandle top = add({window.class_name, window.title, 0, 0});
        for (const auto& [id, text] : window.controls) {
            add({"Button", text, id, top});
        }
        return top;
    }
    void close(platform::WindowHandle handle) {
        nodes_.erase(handle);
        std::erase(order_, handle);
    }
    Node& node(platform::WindowHandle handle) { return nodes_.at(handle); }
    std::vector<platform::WindowHandle> top_level_windows() const {
        std::vector<platform::WindowHandle> top;
        std::copy_if(
            order_.begin(), order_.end(), std::back_inserter(top),
            [this](platform::WindowHandle handle) { return nodes_.at(handle).parent == 0; });
        return top;
    }
    bool visible(platform::WindowHandle handle) const {
        return nodes_.contains(handle) && !hidden.contains(handle);
    }

    std::vector<std::string> commands() const {
        std::vector<std::string> sent;
        std::copy_if(journal.begin(), journal.end(), std::back_inserter(sent),
                     [](const std::string& entry) { return entry.rfind("command", 0) == 0; });
        return sent;
    }
    static std::string command(platform::WindowHandle window, int id) {
        return "command " + std::to_string(window) + " " + std::to_string(id);
    }

    platform::WindowHandle find_window(std::string_view class_name,
                                       std::string_view title) override {
        ++lookups;
        for (const platform::WindowHandle handle : order_) {
            const Node& node = nodes_.at(handle);
            if (node.parent == 0 && node.class_name == class_name && node.text == title) {
                return handle;
            }
        }
        return 0;
    }
    platform::WindowHandle next_top_level_window(std::string_view class_name,
                                                 platform::WindowHandle after) override {
        enumerations += after == 0 ? 1 : 0;
        auto window = after == 0 ? order_.begin() : std::find(order_.begin(), order_.end(), after);
        if (after != 0 && window != order_.end()) {
            ++window;
        }
        window = std::find_if(window, order_.end(), [&](platform::WindowHandle handle) {
            const Node& node = nodes_.at(handle);
            return node.parent == 0 && fold_case(node.class_name) == fold_case(class_name);
        });
        return window == order_.end() ? 0 : *window;
    }
    // Shows the window's later texts one after the other, as while it is being made.
    std::string window_title(platform::WindowHandle window, std::size_t max_chars) override {
        ++title_reads;
        std::string title = window_text(window, max_chars);
        const auto found = nodes_.find(window);
        if (found != nodes_.end() && !found->second.later_texts.empty()) {
            std::vector<std::string>& later = found->second.later_texts;
            found->second.text = later.front();
            later.erase(later.begin());
        }
        return title;
    }
    // Upper case, ASCII letters only.
    std::string fold_case(std::string_view text) override {
        std::string folded(text);
        std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char letter) {
            return static_cast<char>(std::toupper(letter));
        });
        return folded;
    }
    std::string control_text(platform::WindowHandle window, int control_id,
                             std::size_t max_chars) override {
        const platform::WindowHandle control = dialog_item(window, control_id);
        refused_ = control != 0 && elevated.contains(window);
        return control == 0 || refused_ ? std::string() : window_text(control, max_chars);
    }
    void send_command(platform::WindowHandle window, int control_id) override {
        refused_ = elevated.contains(window);
        if (!refused_) {
            journal.push_back(command(window, control_id));
        }
    }
    bool last_message_refused() override { return refused_; }
    // Each window's program; a window without one has none that can be read.
    std::map<platform::WindowHandle, std::string> programs;
    int program_reads = 0;
    int message_reads = 0;
    std::string program_of(platform::WindowHandle window) override {
        ++program_reads;
        const auto found = programs.find(window);
        return found == programs.end() ? std::string() : found->second;
    }
    // The window's children of class Static, in their order; nothing for a window whose
    // message does not answer.
    std::set<platform::WindowHandle> silent_messages;
    std::optional<std::vector<std::string>> static_texts(platform::WindowHandle window,
                                                         std::size_t max_chars) override {
        ++message_reads;
        if (silent_messages.contains(window)) {
            return std::nullopt;
        }
        std::vector<std::string> texts;
        for (const platform::WindowHandle handle : order_) {
            const Node& node = nodes_.at(handle);
            if (node.parent == window && node.class_name == "Static" && visible(handle)) {
                texts.push_back(window_text(handle, max_chars));
            }
        }
        return texts;
    }
    std::vector<platform::WindowHandle> visible_children(platform::WindowHandle window) override {
        std::vector<platform::WindowHandle> children;
        std::copy_if(order_.begin(), order_.end(), std::back_inserter(children),
                     [&](platform::WindowHandle handle) {
                         return nodes_.at(handle).parent == window && visible(handle);
                     });
        return children;
    }
    std::string window_text(platform::WindowHandle window, std::size_t max_chars) override {
        const auto found = nodes_.find(window);
        return found == nodes_.end() || max_chars == 0
                   ? std::string()
                   : found->second.text.substr(0, max_chars - 1);
    }
    std::string class_name(platform::WindowHandle window, std::size_t max_chars) override {
        const auto found = nodes_.find(window);
        return found == nodes_.end() || max_chars == 0
                   ? std::string()
                   : found->second.class_name.substr(0, max_chars - 1);
    }
    int control_id(platform::WindowHandle window) override {
        const auto found = nodes_.find(window);
        return found == nodes_.end() ? 0 : found->second.id;
    }
    platform::WindowHandle dialog_item(platform::WindowHandle parent, int control_id) override {
        ++dialog_item_calls;
        if (parent == 0) {
            return 0;
        }
        for (const platform::WindowHandle handle : order_) {
            const Node& node = nodes_.at(handle);
            if (node.parent == parent && node.id == control_id) {
                return handle;
            }
        }
        return 0;
    }
    platform::WindowHandle parent(platform::WindowHandle window) override {
        const auto found = nodes_.find(window);
        return found == nodes_.end() ? 0 : found->second.parent;
    }
    platform::WindowHandle window_at(platform::Point) override { return window_under_cursor; }
    platform::Point cursor_position() override { return cursor; }
    void set_cursor_position(platform::Point point) override {
        cursor.x = std::clamp(point.x, 0, screen.width - 1);
        cursor.y = std::clamp(point.y, 0, screen.height - 1);
        journal.push_back("cursor " + std::to_string(cursor.x) + "," + std::to_string(cursor.y));
    }
    void click_at(platform::Point point) override {
        cursor.x = std::clamp(point.x, 0, screen.width - 1);
        cursor.y = std::clamp(point.y, 0, screen.height - 1);
        journal.push_back("click at " + std::to_string(cursor.x) + "," + std::to_string(cursor.y));
    }
    platform::Size primary_screen_size() override { return screen; }
    bool equal_ignoring_case(std::string_view first, std::string_view second) override {
        return std::equal(
            first.begin(), first.end(), second.begin(), second.end(),
            [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
    }

    long long dialog_item_calls = 0;

  private:
    std::map<platform::WindowHandle, Node> nodes_;
    std::vector<platform::WindowHandle> order_;
    platform::WindowHandle next_handle_ = 0x100;
    bool refused_ = false;
};

}  // namespace tapster::fakes
