// The settings file as the store loads it, followed by the whole start-up of the main form
// over the test fakes and one tick of the push cycle. Besides crashes: a file the store can
// read keeps its stored targets through the start-up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/main_form.h"
#include "fakes/fake_accessible_buttons.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_policy.h"
#include "fakes/fake_settings_file.h"
#include "fakes/fake_target_dialog.h"
#include "fakes/fake_window_watch.h"
#include "settings/settings_store.h"

namespace {

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tapster;
    fakes::FakeSettingsFile file;
    file.bytes = std::string(reinterpret_cast<const char*>(data), size);
    SettingsStore store(file, [](const std::string&) {});
    SettingsStore::Entries before;
    const bool readable = !store.try_read_section("Items", before).failed();

    fakes::Journal journal;
    fakes::FakeNotificationArea tray(journal);
    fakes::FakeMessageBoxes boxes;
    fakes::FakeShell shell(journal);
    fakes::FakeDispatcher dispatcher;
    fakes::FakeDesktop desktop;
    fakes::FakeLocale locale;
    fakes::FakeSignIn sign_in;
    fakes::FakeTopLevelWindows top_level_windows(desktop);
    fakes::FakeDesktopEvents events;
    fakes::FakeAccessibleButtons accessible_buttons;
    const platform::WindowHandle box = desktop.add({"#32770", "Nag", 0, 0});
    desktop.add({"Button", "OK", 1, box});
    fakes::FakePolicy policy;
    fakes::FakeTargetDialog target_dialog;
    fakes::FakeRecordDialog record_dialog;
    fakes::FakeWallClock wall_clock;
    fakes::FakeHistoryView history_view;
    MainForm form(MainFormServices{store,
                                   tray,
                                   boxes,
                                   shell,
                                   dispatcher,
                                   desktop,
                                   locale,
                                   sign_in,
                                   accessible_buttons,
                                   policy,
                                   top_level_windows,
                                   events,
                                   target_dialog,
                                   record_dialog,
                                   wall_clock,
                                   history_view,
                                   {}});
    form.start();
    dispatcher.run_all();
    form.timer_ticked(WindowTimer::push);

    SettingsStore::Entries after;
    check(!store.try_read_section("Items", after).failed());
    if (readable && file.set_aside_contents.empty()) {
        check(after == before);
    }
    check(file.unlocked_changes == 0);
    return 0;
}
