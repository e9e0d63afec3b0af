// The push cycle natively, against a desktop whose calls cost next to nothing: what is left
// is the engine's own work per entry.
#include <cstdlib>
#include <string>

#include "push_cycle_bench.h"

namespace {

// Windows 1 to n, of whatever class is asked for, titled as the present targets' windows.
class BenchDesktop : public tapster::platform::Desktop {
  public:
    explicit BenchDesktop(int windows) : windows_(windows) {}

    tapster::platform::WindowHandle find_window(std::string_view, std::string_view) override {
        return windows_ > 0 ? 1 : 0;
    }
    tapster::platform::WindowHandle next_top_level_window(
        std::string_view, tapster::platform::WindowHandle after) override {
        return after < static_cast<tapster::platform::WindowHandle>(windows_) ? after + 1 : 0;
    }
    std::string window_title(tapster::platform::WindowHandle window, std::size_t) override {
        return tapster::bench::window_title(true, static_cast<int>(window) - 1);
    }
    std::string fold_case(std::string_view text) override { return std::string(text); }
    std::string control_text(tapster::platform::WindowHandle, int, std::size_t) override {
        return "OK";
    }
    void send_command(tapster::platform::WindowHandle, int) override { ++commands; }
    std::string program_of(tapster::platform::WindowHandle) override { return "bench.exe"; }
    std::optional<std::vector<std::string>> static_texts(tapster::platform::WindowHandle window,
                                                         std::size_t /*max_chars*/) override {
        return std::vector<std::string>{
            tapster::bench::window_message(static_cast<int>(window) - 1)};
    }
    std::vector<tapster::platform::WindowHandle> visible_children(
        tapster::platform::WindowHandle) override {
        return {};
    }
    std::string window_text(tapster::platform::WindowHandle, std::size_t) override { return {}; }
    std::string class_name(tapster::platform::WindowHandle, std::size_t) override { return {}; }
    int control_id(tapster::platform::WindowHandle) override { return 0; }
    tapster::platform::WindowHandle dialog_item(tapster::platform::WindowHandle, int) override {
        return 0;
    }
    tapster::platform::WindowHandle parent(tapster::platform::WindowHandle) override { return 0; }
    tapster::platform::WindowHandle window_at(tapster::platform::Point) override { return 0; }
    tapster::platform::Point cursor_position() override { return {}; }
    void set_cursor_position(tapster::platform::Point) override {}
    void click_at(tapster::platform::Point /*screen_point*/) override {}
    tapster::platform::Size primary_screen_size() override { return {1024, 768}; }
    bool equal_ignoring_case(std::string_view first, std::string_view second) override {
        return first.size() == second.size();
    }

    long long commands = 0;

  private:
    int windows_;
};

}  // namespace

int main() {
    using namespace tapster::bench;
    print_header("native, fake desktop");
    for (const Targets targets : {Targets::absent, Targets::present}) {
        for (const int entries : {1, 100, 1000}) {
            BenchDesktop desktop(targets == Targets::present ? entries : 0);
            run_scenario(desktop, "#32770", entries, targets, entries == 1 ? 20001 : 201);
        }
    }
    BenchDesktop no_windows(0);
    run_scenario(no_windows, "#32770", 100, Targets::absent_patterns, 201);
    BenchDesktop boxes(100);
    run_scenario(boxes, "#32770", 100, Targets::present, 201);
    run_scenario(boxes, "#32770", 100, Targets::present_messages, 201);
    BenchDesktop other_windows(100);
    run_scenario(other_windows, "#32770", 100, Targets::absent_patterns, 201);
    return EXIT_SUCCESS;
}
