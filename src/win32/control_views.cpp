#include "win32/control_views.h"

#include <utility>

#include "ui/captioned.h"
#include "ui/check_box.h"
#include "ui/check_list_box.h"
#include "ui/control_visitor.h"
#include "ui/list_box.h"
#include "ui/picture_box.h"
#include "ui/text_box.h"
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

// Where a view's window lies among its siblings. Labels lie beneath everything, and the
// frames, shown on demand, above everything; the keyboard's order is kept apart from this
// (see move_focus).
enum class ViewLayer { as_made, beneath, above };

// Makes the view of one control, of the control's own kind.
class ViewMaker final : public ui::ControlVisitor {
  public:
    ViewMaker(HWND parent, int id) : parent_(parent), id_(id) {}

    std::unique_ptr<ControlView> view;  // none for a control without a window
    ViewLayer layer = ViewLayer::as_made;
    bool contains_others = false;  // a frame: the parent of the controls it contains

    void visit(ui::Frame& frame) override {
        make<FrameView>(frame);
        layer = ViewLayer::above;
        contains_others = true;
    }
    void visit(ui::Label& label) override {
        make<LabelView>(label);
        layer = ViewLayer::beneath;
    }
    void visit(ui::Button& button) override { make<ButtonView>(button); }
    void visit(ui::CheckBox& check_box) override { make<CheckBoxView>(check_box); }
    void visit(ui::TextBox& text_box) override { make<TextBoxView>(text_box); }
    void visit(ui::PictureBox& picture) override { make<PictureView>(picture); }
    void visit(ui::ListBox& list) override { make<ListBoxView>(list); }
    void visit(ui::CheckListBox& list) override { make<CheckListView>(list); }

  private:
    template <typename View, typename Kind>
    void make(Kind& control) {
        view = std::make_unique<View>(control, parent_, id_);
    }

    HWND parent_;
    int id_;
};

}  // namespace

void ControlViews::create(const std::vector<ui::Control*>& controls, HWND main_window) {
    std::map<const ui::Control*, HWND> containers;
    std::vector<std::pair<HWND, ViewLayer>> layers;
    int id = kFirstControlId;
    for (ui::Control* control : controls) {
        const auto container = containers.find(control->container());
        const HWND parent = container != containers.end() ? container->second : main_window;
        ViewMaker maker(parent, id);
        control->accept(maker);
        if (maker.view == nullptr) {
            continue;
        }
        if (maker.contains_others) {
            containers[control] = maker.view->hwnd();
        }
        if (maker.layer != ViewLayer::as_made) {
            layers.emplace_back(maker.view->hwnd(), maker.layer);
        }
        by_id_[id++] = maker.view.get();
        views_.push_back(std::move(maker.view));
    }
    for (const auto& [window, layer] : layers) {
        SetWindowPos(window, layer == ViewLayer::beneath ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
