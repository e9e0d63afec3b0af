// The desktop under Wine with real windows made by a thread of their own, so that every read
// crosses threads as it would cross processes: the window finder beside FindWindowW, the
// letter case rule beside FindWindowW's, and reads from a window that lies about its text.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "model/title_pattern.h"
#include "pressing/window_finder.h"
#include "win32/wide_string.h"
#include "win32/win32_desktop.h"

namespace tapster::win32 {
namespace {

constexpr wchar_t kBoxClass[] = L"TapsterFinderBox";
constexpr wchar_t kUnicodeClass[] = L"TapsterÄrgerBox";
constexpr wchar_t kLiarClass[] = L"TapsterLiar";
constexpr int kLiarId = 1;

// Copies "OK" but answers that it copied 5000 characters.
LRESULT CALLBACK liar_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_GETTEXT) {
        auto* buffer = reinterpret_cast<wchar_t*>(lparam);
        lstrcpynW(buffer, L"OK", static_cast<int>(wparam));
        return 5000;
    }
    if (message == WM_GETTEXTLENGTH) {
        return 5000;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Registers the test classes once for the process.
void register_classes() {
    static const bool registered = [] {
        for (const auto& [name, procedure] :
             {std::pair{kBoxClass, &DefWindowProcW}, std::pair{kUnicodeClass, &DefWindowProcW},
              std::pair{kLiarClass, &liar_procedure}}) {
            WNDCLASSW window_class{};
            window_class.lpfnWndProc = procedure;
            window_class.hInstance = GetModuleHandleW(nullptr);
            window_class.lpszClassName = name;
            RegisterClassW(&window_class);
        }
        return true;
    }();
    (void)registered;
}

HWND make(const wchar_t* window_class, const wchar_t* title, DWORD style = WS_POPUP,
          HWND parent = nullptr, int id = 0) {
    return CreateWindowExW(0, window_class, title, style, 0, 0, 20, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

// Makes windows on a thread of its own and pumps their messages until it is destroyed.
class WindowThread {
  public:
    explicit WindowThread(std::function<void()> make_windows) {
        thread_ = std::thread([this, make_windows] {
            thread_id_ = GetCurrentThreadId();
            register_classes();
            make_windows();
            MSG message{};
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here
            ready_ = true;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
        });
        while (!ready_) {
            Sleep(5);
        }
    }
    ~WindowThread() {
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

  private:
    std::thread thread_;
    std::atomic<bool> ready_{false};
    std::atomic<DWORD> thread_id_{0};
};

// Waits until the top-level windows keep one order for a while: showing a window lets the
// system restack windows a moment later, and a comparison made meanwhile would compare two
// different desktops.
void wait_until_stacking_settles() {
    const auto stacking = [] {
        std::vector<HWND> order;
        EnumWindows(
            [](HWND window, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&order));
        return order;
    };
    std::vector<HWND> before = stacking();
    for (int attempt = 0; attempt < 30; ++attempt) {
        Sleep(100);
        std::vector<HWND> now = stacking();
        if (now == before) {
            return;
        }
        before = std::move(now);
    }
}

struct Query {
    const wchar_t* window_class;
    const wchar_t* title;
    bool found;
};

TEST(Win32WindowFinderTest, FindsWhatFindWindowFindsAmongRealWindows) {
    WindowThread windows([] {
        const DWORD shown = WS_POPUP | WS_VISIBLE;
        make(kBoxClass, L"Nag", shown);
        make(kBoxClass, L"Nag", shown);  // the same title again, now the topmost
        make(kBoxClass, L"Ärger straße", shown);
        make(kBoxClass, L"Σίσυφος", shown);
        make(kBoxClass, L"確認しますか", shown);
        make(kBoxClass, L"Hidden one");
        make(kUnicodeClass, L"x", shown);
        HWND host = make(kBoxClass, L"Host", shown);
        make(kBoxClass, L"Child only", WS_CHILD | WS_VISIBLE, host, 5);
        make(kBoxClass, L"Message only", 0, HWND_MESSAGE);
    });
    wait_until_stacking_settles();
    Win32Desktop desktop;
    WindowFinder finder(desktop);

    const Query queries[] = {
        {kBoxClass, L"Nag", true},
        {L"tapsterfinderbox", L"NAG", true},
        {L"TAPSTERFINDERBOX", L"nAg", true},
        {kBoxClass, L"Nag ", false},
        {kBoxClass, L"ÄRGER STRAßE", true},
        {kBoxClass, L"ärger straße", true},
        {kBoxClass, L"ärger strasse", false},
        {kBoxClass, L"σίσυφος", true},
        {kBoxClass, L"確認しますか", true},
        {kBoxClass, L"Hidden one", true},
        {L"tapsterärgerbox", L"X", true},
        {L"TAPSTERÄRGERBOX", L"x", true},
        {kBoxClass, L"Child only", false},
        {kBoxClass, L"Absent", false},
        {L"#32770", L"Nag", false},
        {L"", L"Nag", false},
    };
    for (int tick = 0; tick < 2; ++tick) {
        finder.start_tick();
        for (const Query& query : queries) {
            const HWND expected = FindWindowW(query.window_class, query.title);
            const platform::WindowHandle found = finder.find(
                to_utf8(query.window_class), TitlePattern(desktop.fold_case(to_utf8(query.title))));
            EXPECT_EQ(found, reinterpret_cast<platform::WindowHandle>(expected))
                << to_utf8(query.window_class) << " / " << to_utf8(query.title);
            EXPECT_EQ(found != 0, query.found)
                << to_utf8(query.window_class) << " / " << to_utf8(query.title);
        }
        // FindWindowW goes on to message-only windows after the top-level ones, as documented;
        // the finder does not: such a window shows no button, so no target names one, and
        // a stand-in of the same names must not receive a target's command.
        EXPECT_EQ(finder.find(to_utf8(kBoxClass), TitlePattern(desktop.fold_case("Message only"))),
                  0U);
        EXPECT_NE(FindWindowW(kBoxClass, L"Message only"), nullptr);
    }
}

TEST(Win32WindowFinderTest, APatternFindsTheTopmostMatchWithTheSameCaseRule) {
    HWND lower = nullptr;
    HWND upper = nullptr;
    WindowThread windows([&] {
        lower = make(kBoxClass, L"Fehler 4711 in Ärger", WS_POPUP | WS_VISIBLE);
        upper = make(kBoxClass, L"FEHLER 12 IN ÄRGER", WS_POPUP | WS_VISIBLE);
        make(kBoxClass, L"Warnung 4711 in Ärger", WS_POPUP | WS_VISIBLE);
    });
    wait_until_stacking_settles();
    Win32Desktop desktop;
    WindowFinder finder(desktop);
    finder.start_tick();

    EXPECT_EQ(finder.find("TapsterFinderBox", TitlePattern(desktop.fold_case("fehler * in ärger"))),
              reinterpret_cast<platform::WindowHandle>(upper));
    EXPECT_EQ(
        finder.find("TapsterFinderBox", TitlePattern(desktop.fold_case("*4711 in Ärger"))),
        reinterpret_cast<platform::WindowHandle>(FindWindowW(kBoxClass, L"Warnung 4711 in Ärger")));
    EXPECT_NE(lower, nullptr);
}

// Every character whose case the system maps, against its mapped form: FindWindowW takes the
// one for the other exactly when both fold alike.
TEST(Win32DesktopTest, FoldCaseFollowsFindWindowsRuleAcrossTheBasicPlane) {
    register_classes();
    HWND window = make(kBoxClass, L"");
    Win32Desktop desktop;
    std::vector<std::string> disagreements;
    for (unsigned code = 0x41; code < 0xFFFE; ++code) {
        if (code >= 0xD800 && code < 0xE000) {
            continue;
        }
        const std::wstring title(1, static_cast<wchar_t>(code));
        SetWindowTextW(window, title.c_str());
        for (const DWORD mapping : {LCMAP_LOWERCASE, LCMAP_UPPERCASE}) {
            wchar_t mapped[4] = {};
            if (LCMapStringEx(LOCALE_NAME_INVARIANT, mapping, title.c_str(), 1, mapped, 4, nullptr,
                              nullptr, 0) != 1 ||
                mapped[0] == title[0]) {
                continue;
            }
            const bool found = FindWindowW(kBoxClass, mapped) == window;
            const bool folded_alike =
                desktop.fold_case(to_utf8(title)) == desktop.fold_case(to_utf8(mapped));
            if (found != folded_alike) {
                disagreements.push_back(std::to_string(code));
            }
        }
    }
    DestroyWindow(window);
    EXPECT_TRUE(disagreements.empty())
        << disagreements.size() << " characters, first " << disagreements.front();
}

TEST(Win32DesktopTest, ReadsStopAtTheBufferWhenAWindowClaimsMoreText) {
    HWND liar = nullptr;
    HWND host = nullptr;
    WindowThread windows([&] {
        host = make(kBoxClass, L"Liar's host", WS_POPUP | WS_VISIBLE);
        make(kLiarClass, L"", WS_CHILD | WS_VISIBLE, host, kLiarId);
        liar = make(kLiarClass, L"", WS_POPUP | WS_VISIBLE);
    });
    Win32Desktop desktop;

    EXPECT_EQ(desktop.control_text(reinterpret_cast<platform::WindowHandle>(host), kLiarId, 100),
              "OK");
    EXPECT_EQ(desktop.window_text(reinterpret_cast<platform::WindowHandle>(liar), 100), "OK");
    EXPECT_EQ(desktop.control_text(reinterpret_cast<platform::WindowHandle>(host), kLiarId, 2),
              "O");
}

TEST(Win32DesktopTest, AWindowsVisibleChildrenAreItsOwnShownOnesInOrderAndMakeItsMessage) {
    HWND host = nullptr;
    std::vector<HWND> shown;
    WindowThread windows([&] {
        host = make(kBoxClass, L"Host", WS_POPUP | WS_VISIBLE);
        shown.push_back(make(L"Static", L"Save the", WS_CHILD | WS_VISIBLE, host, 1));
        make(L"Static", L"hidden", WS_CHILD, host, 2);
        shown.push_back(make(L"Button", L"OK", WS_CHILD | WS_VISIBLE, host, 3));
        make(L"Static", L"inside the button", WS_CHILD | WS_VISIBLE, shown.back(), 4);
        shown.push_back(make(L"Static", L"report?", WS_CHILD | WS_VISIBLE, host, 5));
    });
    Win32Desktop desktop;
    const auto handle = reinterpret_cast<platform::WindowHandle>(host);

    std::vector<platform::WindowHandle> expected;
    for (HWND child : shown) {
        expected.push_back(reinterpret_cast<platform::WindowHandle>(child));
    }
    EXPECT_EQ(desktop.visible_children(handle), expected);
    EXPECT_EQ(desktop.static_texts(handle, 100),
              (std::optional<std::vector<std::string>>{{"Save the", "report?"}}));
}

}  // namespace
}  // namespace tapster::win32
