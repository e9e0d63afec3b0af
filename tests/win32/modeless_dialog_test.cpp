// Tapster's own dialogs behave as modal ones over their owner, and the one message loop gives
// them the keys of any dialog: Tab, the access keys, Enter for the default button, Esc.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>

#include "win32/modeless_dialog.h"
#include "win32/scoped_handles.h"
#include "win32/window_procedure.h"

namespace tapster::win32 {
namespace {

constexpr int kNameLabel = 100;
constexpr int kName = 101;

class NameDialog : private ModelessDialog {
  public:
    using ModelessDialog::hwnd;
    using ModelessDialog::is_open;
    using ModelessDialog::item;

    void show(HWND owner) { open(owner, layout(), "the test dialog"); }

    bool throw_on_ok = false;
    int oks = 0;
    std::string name_at_ok;

  private:
    static DialogTemplate layout() {
        DialogTemplate layout("Name", 160, 60);
        layout.add(DialogClass::static_text, "&Name:", SS_LEFT, {7, 9, 30, 8}, kNameLabel);
        layout.add(DialogClass::edit, "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {40, 7, 113, 14},
                   kName);
        layout.add(DialogClass::button, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {49, 39, 50, 14},
                   IDOK);
        layout.add(DialogClass::button, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, {103, 39, 50, 14},
                   IDCANCEL);
        return layout;
    }
    void on_init() override { set_item_text(kName, "Ölfilter"); }
    void on_command(int id, int notification) override {
        if (id != IDOK) {
            ModelessDialog::on_command(id, notification);
            return;
        }
        ++oks;
        if (throw_on_ok) {
            throw std::runtime_error("the dialog's handler failed");
        }
        name_at_ok = item_text(kName);
        close();
    }
};

// A key as the message loop gets it, handed to the dialogs first.
bool route_key(UINT message, WPARAM key) {
    MSG delivered{};
    delivered.hwnd = GetFocus();
    delivered.message = message;
    delivered.wParam = key;
    delivered.lParam = message == WM_SYSCHAR ? (1 << 29) : 0;  // Alt held
    return ModelessDialog::route_message(delivered);
}

class ModelessDialogTest : public testing::Test {
  protected:
    ModelessDialogTest()
        : owner_(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    ScopedWindow owner_;
};

TEST_F(ModelessDialogTest, KeysWorkAsInAnyDialogAndTheOwnerIsDisabledUntilItCloses) {
    NameDialog dialog;
    dialog.show(owner_.get());
    ASSERT_TRUE(dialog.is_open());
    EXPECT_EQ(ModelessDialog::last_open(), dialog.hwnd());
    EXPECT_FALSE(IsWindowEnabled(owner_.get())) << "modal over its owner";
    EXPECT_EQ(GetWindow(dialog.hwnd(), GW_OWNER), owner_.get());

    EXPECT_EQ(GetFocus(), dialog.item(kName)) << "the first control with a Tab stop";
    ASSERT_TRUE(route_key(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(GetFocus(), dialog.item(IDOK));
    ASSERT_TRUE(route_key(WM_SYSCHAR, 'n'));
    EXPECT_EQ(GetFocus(), dialog.item(kName)) << "the label's access key";

    dialog.throw_on_ok = true;
    const ExceptionReport previous = set_exception_report([](const std::string&) {});
    ASSERT_TRUE(route_key(WM_KEYDOWN, VK_RETURN));
    set_exception_report(previous);
    EXPECT_EQ(dialog.oks, 1) << "Enter is the default button";
    EXPECT_TRUE(dialog.is_open()) << "an exception in a handler leaves the dialog as it was";
    EXPECT_FALSE(IsWindowEnabled(owner_.get()));

    dialog.throw_on_ok = false;
    ASSERT_TRUE(route_key(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(dialog.name_at_ok, "Ölfilter") << "UTF-8 both ways";
    EXPECT_FALSE(dialog.is_open());
    EXPECT_TRUE(IsWindowEnabled(owner_.get()));
    EXPECT_EQ(ModelessDialog::last_open(), nullptr);
}

TEST_F(ModelessDialogTest, EscAndEndingTheObjectCloseItAndGiveTheOwnerBack) {
    NameDialog escaped;
    escaped.show(owner_.get());
    ASSERT_TRUE(route_key(WM_KEYDOWN, VK_ESCAPE));
    EXPECT_FALSE(escaped.is_open());
    EXPECT_EQ(escaped.oks, 0);
    EXPECT_TRUE(IsWindowEnabled(owner_.get()));

    HWND window = nullptr;
    {
        NameDialog ended;
        ended.show(owner_.get());
        window = ended.hwnd();
        ended.show(owner_.get());
        EXPECT_EQ(ended.hwnd(), window) << "opened once";
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindowEnabled(owner_.get()));
    EXPECT_EQ(ModelessDialog::last_open(), nullptr);

    MSG elsewhere{};
    elsewhere.hwnd = owner_.get();
    elsewhere.message = WM_KEYDOWN;
    elsewhere.wParam = VK_ESCAPE;
    EXPECT_FALSE(ModelessDialog::route_message(elsewhere)) << "no dialog open: nothing taken";
}

}  // namespace
}  // namespace tapster::win32
