#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "capture/capture_session.h"
#include "capture/window_inspector.h"
#include "platform/accessible_buttons.h"
#include "platform/desktop.h"
#include "platform/record_dialog.h"
#include "platform/top_level_windows.h"

namespace tapster {

// The top-level windows now open that hold a button, for recording a target without a drag:
// each with its title, its program and the start of its message, and its buttons. Classic
// buttons are read from their windows at once. A window without any is asked, as the capture
// asks, for the buttons its program draws, and joins the list when it answers. One that does
// not answer within kTicksToAnswer ticks is left out, so a hung program never holds the list
// up. This program's own windows are never listed, nor windows without a title, which a
// capture never completes with.
class OpenWindows final : public platform::RecordChoices {
  public:
    // The dialog ticks every half second: five seconds, beyond the capture's 1.5 s for the
    // window's accessible object, with room for a loaded machine.
    static constexpr int kTicksToAnswer = 10;
    // Questions about drawn buttons out at one time; the others wait for a free one.
    static constexpr std::size_t kAskedAtOnce = 4;
    // Characters of the message a window's line shows.
    static constexpr std::size_t kMessageStart = 40;

    struct Button {
        std::string text;
        platform::WindowHandle control = 0;  // 0 for a drawn button, known by its name
    };
    struct Window {
        platform::WindowHandle handle = 0;
        std::string title;
        std::string program;
        std::string message;
        std::vector<Button> buttons;
        std::vector<std::string> static_texts;  // what a drawn window shows screen readers
        std::size_t place = 0;                  // in the desktop's order when listed
    };

    OpenWindows(platform::Desktop& desktop, platform::TopLevelWindows& top_level_windows,
                platform::AccessibleButtons& accessible_buttons, CaptureSession& capture);

    // Lists the windows anew; those with drawn buttons join as they answer.
    void refresh() override;
    // Gives up on the windows that have not answered for kTicksToAnswer ticks.
    void tick() override;

    const std::vector<Window>& windows() const { return windows_; }
    std::vector<std::string> window_lines() const override;
    // What the user is told about the list: still asking, windows left out, none found.
    std::string status() const override;
    // The window's line in the list: its title, its program and the start of its message.
    static std::string describe(const Window& window);

    // Whether the window is still open; one that closed is left out, and the status says so.
    bool still_open(std::size_t window);
    std::optional<std::vector<std::string>> buttons_of(std::size_t window) override;
    // Fills the capture fields from the button as a drag onto it would. False when its window
    // or the button has gone meanwhile: the window is left out, and the status says so.
    bool record(std::size_t window, std::size_t button) override;
    void on_change(std::function<void()> changed) override { changed_ = std::move(changed); }

  private:
    struct Question {
        platform::WindowHandle handle = 0;
        std::size_t place = 0;
        int ticks = 0;
    };

    std::vector<Button> classic_buttons(platform::WindowHandle window);
    void ask_more();
    void answered(platform::WindowHandle handle,
                  const std::optional<platform::AccessibleButtons::WindowButtons>& answer);
    void add(Window window);
    bool gone(platform::WindowHandle window);
    void leave_out(std::size_t window);
    void changed() const;

    platform::Desktop& desktop_;
    platform::TopLevelWindows& top_level_windows_;
    platform::AccessibleButtons& accessible_buttons_;
    CaptureSession& capture_;
    WindowInspector inspector_;

    std::vector<Window> windows_;
    std::vector<Question> waiting_;
    std::vector<Question> asking_;
    int unanswered_ = 0;
    std::string closed_title_;
    std::function<void()> changed_;
};

}  // namespace tapster
