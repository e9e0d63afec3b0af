#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tapster::platform {

// Names a desktop window; 0 means none.
using WindowHandle = std::uintptr_t;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
};

// Other programs' windows, the cursor and the mouse as the desktop offers them. Texts are
// UTF-8; lengths are counted in characters as the platform counts them.
class Desktop {
  public:
    virtual ~Desktop() = default;

    // A top-level window whose class name and title equal the given texts, or 0.
    virtual WindowHandle find_window(std::string_view class_name, std::string_view title) = 0;
    // The next top-level window of the class below `after` (0: the topmost) in Z-order, hidden
    // ones included, or 0 after the last; the class name compared as find_window compares
    // it. Neither child nor message-only windows.
    virtual WindowHandle next_top_level_window(std::string_view class_name, WindowHandle after) = 0;
    // A top-level window's title as the system keeps it, the text find_window compares, read
    // without asking the window; at most max_chars - 1 characters.
    virtual std::string window_title(WindowHandle window, std::size_t max_chars) = 0;
    // The text with its letter case folded by the rule find_window compares titles with, so
    // two texts fold alike exactly when find_window would take one for the other. Characters
    // without case, `*` among them, stay as they are. Safe on any thread.
    virtual std::string fold_case(std::string_view text) = 0;
    // The text of the window's child control with this identifier, at most max_chars - 1
    // characters; empty when there is no such control, it has no text or does not answer.
    virtual std::string control_text(WindowHandle window, int control_id,
                                     std::size_t max_chars) = 0;
    // The command message that a click on the control would send: WM_COMMAND with the
    // identifier and BN_CLICKED, sent to the top-level window. Gives up on a window that
    // does not answer.
    virtual void send_command(WindowHandle window, int control_id) = 0;
    // Whether the last control_text or send_command failed because the other program refused
    // the message: it runs with higher rights than this one, and the system lets no message of
    // ours reach it. Each of those two calls sets it anew. A desktop without such rights never
    // refuses.
    virtual bool last_message_refused() { return false; }

    // The file name of the executable of the program that owns the window, without its
    // folder; empty when it cannot be read.
    virtual std::string program_of(WindowHandle window) = 0;
    // The texts of the window's visible static controls, its own children in their order, each
    // at most max_chars - 1 characters. Nothing when one of them does not answer, or there are
    // more than kMostStaticTexts: what the window says is then not known.
    static constexpr std::size_t kMostStaticTexts = 64;
    virtual std::optional<std::vector<std::string>> static_texts(WindowHandle window,
                                                                 std::size_t max_chars) = 0;

    // The window's own child windows whose style shows them, in the order GetDlgItem walks
    // them; none for a window that is gone. Asks the system, never the window.
    virtual std::vector<WindowHandle> visible_children(WindowHandle window) = 0;

    virtual std::string window_text(WindowHandle window, std::size_t max_chars) = 0;
    virtual std::string class_name(WindowHandle window, std::size_t max_chars) = 0;
    virtual int control_id(WindowHandle window) = 0;
    virtual WindowHandle dialog_item(WindowHandle parent, int control_id) = 0;
    virtual WindowHandle parent(WindowHandle window) = 0;
    virtual WindowHandle window_at(Point screen_point) = 0;

    virtual Point cursor_position() = 0;
    // The platform confines the cursor to the screen.
    virtual void set_cursor_position(Point screen_point) = 0;
    // Moves the cursor there and presses and releases the left button, in one batch of input
    // that no other input can come between.
    virtual void click_at(Point screen_point) = 0;

    virtual Size primary_screen_size() = 0;  // in pixels

    // Whether two texts are equal when letter case is ignored, by the system's own rules,
    // so that letters beyond ASCII compare as the user expects.
    virtual bool equal_ignoring_case(std::string_view first, std::string_view second) = 0;
};

}  // namespace tapster::platform
