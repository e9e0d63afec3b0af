#include "win32/control_views.h"

#include "ui/captioned.h"
#include "win32/button_view.h"
#include "win32/check_box_view.h"
#include "win32/check_list_view.h"
#include "win32/frame_view.h"
#include "win32/label_view.h"
#include "win32/list_box_view.h"
#include "win32/picture_view.h"
#include "win32/text_box_view.h"

namespace tapster::win32 {

namespace {

constexpr int kFirstControlId = 1001;

std::unique_ptr<ControlView> make_view(ui::Control& control, HWND parent, int id) {
    if (auto* frame = dynamic_cast<ui::Frame*>(&control)) {
        return std::make_unique<FrameView>(*frame, parent, id);
    }
    if (auto* label = dynamic_cast<ui::Label*>(&control)) {
        return std::make_unique<LabelView>(*label, parent, id);
    }
    if (auto* check_box = dynamic_cast<ui::CheckBox*>(&control)) {
        return std::make_unique<CheckBoxView>(*check_box, parent, id);
    }
    if (auto* button = dynamic_cast<ui::Button*>(&control)) {
        return std::make_unique<ButtonView>(*button, parent, id);
    }
    if (auto* text_box = dynamic_cast<ui::TextBox*>(&control)) {
        return std::make_unique<TextBoxView>(*text_box, parent, id);
    }
    if (auto* picture = dynamic_cast<ui::PictureBox*>(&control)) {
        return std::make_unique<PictureView>(*picture, parent, id);
    }
    if (auto* check_list = dynamic_cast<ui::CheckListBox*>(&control)) {
        return std::make_unique<CheckListView>(*check_list, parent, id);
    }
    if (auto* list = dynamic_cast<ui::ListBox*>(&control)) {
        return std::make_unique<ListBoxView>(*list, parent, id);
    }
    return nullptr;
}

}  // namespace

void ControlViews::create(const std::vector<ui::Control*>& controls, HWND main_window) {
    std::map<const ui::Control*, HWND> containers;
    int id = kFirstControlId;
    for (ui::Control* control : controls) {
        const auto container = containers.find(control->container());
        const HWND parent = container != containers.end() ? container->second : main_window;
        std::unique_ptr<ControlView> view = make_view(*control, parent, id);
        if (view == nullptr) {
            continue;
        }
        if (dynamic_cast<ui::Frame*>(control) != nullptr) {
            containers[control] = view->hwnd();
        }
        by_id_[id++] = view.get();
        views_.push_back(std::move(view));
    }
    // Labels lie beneath everything, and the frames, shown on demand, above everything;
    // the keyboard's order is kept apart from this (see move_focus).
    for (const auto& view : views_) {
        if (dynamic_cast<ui::Label*>(&view->control()) != nullptr) {
            SetWindowPos(view->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        } else if (dynamic_cast<ui::Frame*>(&view->control()) != nullptr) {
            SetWindowPos(view->hwnd(), HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void ControlViews::clear() {
    by_id_.clear();
    views_.clear();
}

void ControlViews::apply_style(const ViewStyle& style) {
    for (const auto& view : views_) {
        view->apply_style(style);
    }
}

ControlView* ControlViews::by_id(int id) const {
    const auto found = by_id_.find(id);
    return found != by_id_.end() ? found->second : nullptr;
}

ControlView* ControlViews::by_window(HWND window) const {
    ControlView* view = by_id(GetDlgCtrlID(window));
    return view != nullptr && view->hwnd() == window ? view : nullptr;
}

void ControlViews::move_focus(const std::vector<ui::Control*>& order, bool backwards) const {
    std::vector<HWND> stops;
    for (ui::Control* control : order) {
        for (const auto& view : views_) {
            if (&view->control() == control) {
                stops.push_back(view->hwnd());
            }
        }
    }
    if (stops.empty()) {
        return;
    }
    const HWND focus = GetFocus();
    std::size_t current = stops.size() - 1;
    for (std::size_t index = 0; index < stops.size(); ++index) {
        if (stops[index] == focus || IsChild(stops[index], focus)) {
            current = index;
        }
    }
    const std::size_t count = stops.size();
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t next =
            backwards ? (current + count - step) % count : (current + step) % count;
        if (IsWindowVisible(stops[next]) && IsWindowEnabled(stops[next])) {
            SetFocus(stops[next]);
            wchar_t class_name[16] = {};
            GetClassNameW(stops[next], class_name, 16);
            if (lstrcmpiW(class_name, L"EDIT") == 0) {
                SendMessageW(stops[next], EM_SETSEL, 0, -1);
            }
            return;
        }
    }
}

}  // namespace tapster::win32
