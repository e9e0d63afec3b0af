#pragma once

#include <windows.h>

#include <string>

#include "ui/control.h"

namespace tapster::win32 {

// The shared resources of one display scale: the fonts every control draws with.
struct ViewStyle {
    int dpi = 96;
    HFONT font = nullptr;
};

// The real window of one core control. It mirrors every change of the control and turns the
// user's input on it into the control's `user_` calls. The parent window destroys the HWND;
// the view only stops observing.
class ControlView {
  public:
    explicit ControlView(ui::Control& control)
        : control_(control), connection_(control.state_changed.connect([this](ui::Change change) {
              control_changed(change);
          })) {}
    virtual ~ControlView() { control_.state_changed.disconnect(connection_); }
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    HWND hwnd() const { return hwnd_; }
    ui::Control& control() const { return control_; }

    // Places the window at the control's twips rectangle and sets its font, for this scale.
    virtual void apply_style(const ViewStyle& style);

    // WM_COMMAND and WM_NOTIFY from this control, routed by the main window.
    virtual void on_command(int /*notification*/) {}
    virtual LRESULT on_notify(const NMHDR& /*header*/) { return 0; }

  protected:
    // creation_parameter: the window's WindowProcedure, for classes Tapster registers.
    void create(const wchar_t* window_class, const std::string& text, DWORD style, DWORD ex_style,
                HWND parent, int id, void* creation_parameter = nullptr);
    // Kind-specific properties; visibility, enabling and the rectangle are handled here.
    virtual void mirror(ui::Change /*change*/) {}

    int dpi() const { return dpi_; }

  private:
    void control_changed(ui::Change change);
    void place();

    ui::Control& control_;
    ui::Event<ui::Change>::Connection connection_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
};

// Sets a window's text unless it already shows it, so no change notification comes back.
void set_window_text(HWND window, const std::string& utf8);
std::string window_text(HWND window);

}  // namespace tapster::win32
