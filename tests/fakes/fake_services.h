#pragma once

#include <filesystem>

#include "app/main_form.h"
#include "fakes/fake_accessible_buttons.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_policy.h"
#include "fakes/fake_target_dialog.h"
#include "fakes/fake_window_watch.h"
#include "settings/settings_store.h"

namespace tapster::fakes {

// Every system service a MainForm is given, faked, the settings store aside: the unit tests,
// the benchmarks and the fuzz targets build the form alike.
struct FakeServices {
    MainFormServices services(SettingsStore& store) {
        return {store,
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
                history_file};
    }

    Journal journal;
    FakeNotificationArea tray{journal};
    FakeMessageBoxes boxes;
    FakeShell shell{journal};
    FakeDispatcher dispatcher;
    FakeDesktop desktop;
    FakeLocale locale;
    FakeSignIn sign_in;
    FakeAccessibleButtons accessible_buttons;
    FakePolicy policy;
    FakeTopLevelWindows top_level_windows{desktop};
    FakeDesktopEvents events;
    FakeTargetDialog target_dialog;
    FakeRecordDialog record_dialog;
    FakeWallClock wall_clock;
    FakeHistoryView history_view;
    std::filesystem::path history_file;  // none: the form keeps no history
};

}  // namespace tapster::fakes
