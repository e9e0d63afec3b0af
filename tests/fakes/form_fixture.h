#pragma once

#include <filesystem>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
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

namespace tapster {

// The modules of a MainForm, for the tests that arrange or check what its controls do not
// show: the target list and its storage, the capture's state, the calibration panel.
class MainFormProbe {
  public:
    explicit MainFormProbe(MainForm& form) : form_(form) {}
    TargetList& targets() { return form_.targets_; }
    StoredTargets& stored_targets() { return form_.stored_targets_; }
    CaptureSession& capture() { return form_.capture_; }
    OpenWindows& open_windows() { return form_.open_windows_; }
    CapturedTitle& captured_title() { return form_.captured_title_; }
    CapturedConditions& captured_conditions() { return form_.captured_conditions_; }
    CalibrationPanel& calibration() { return form_.calibration_; }
    PushCycle& push_cycle() { return form_.push_cycle_; }
    PressHistory& history() { return form_.history_; }

  private:
    MainForm& form_;
};

}  // namespace tapster

namespace tapster::fakes {

// A headless MainForm over fakes, with the settings file in memory.
class FormFixture : public ::testing::Test {
  protected:
    FormFixture()
        : store(file, [this](const std::string& message) { corrupt_reports.push_back(message); }),
          tray(journal),
          shell(journal) {}

    MainForm& form() {
        if (!form_) {
            form_ = std::make_unique<MainForm>(MainFormServices{
                store, tray, boxes, shell, dispatcher, desktop, locale, sign_in, accessible_buttons,
                policy, top_level_windows, events, target_dialog, record_dialog, wall_clock,
                history_view, history_file});
            // Time stands still: a load goes in one step unless a test lets time pass.
            MainFormProbe(*form_).stored_targets().set_clock(
                [] { return std::chrono::steady_clock::time_point{}; });
        }
        return *form_;
    }
    WindowControls& controls() { return form().controls(); }
    TargetList& targets() { return MainFormProbe(form()).targets(); }
    StoredTargets& stored_targets() { return MainFormProbe(form()).stored_targets(); }
    CaptureSession& capture() { return MainFormProbe(form()).capture(); }
    OpenWindows& open_windows() { return MainFormProbe(form()).open_windows(); }
    CapturedTitle& captured_title() { return MainFormProbe(form()).captured_title(); }
    CapturedConditions& captured_conditions() {
        return MainFormProbe(form()).captured_conditions();
    }
    CalibrationPanel& calibration() { return MainFormProbe(form()).calibration(); }

    // Puts a value into the file as another program would have left it.
    void stored(const std::string& section, const std::string& key, const std::string& value) {
        ASSERT_TRUE(store.write(section, key, value));
    }
    std::string read(const std::string& section, const std::string& key) {
        return store.read(section, key, "<missing>");
    }

    Journal journal;
    FakeSettingsFile file;
    std::vector<std::string> corrupt_reports;
    SettingsStore store;
    FakeNotificationArea tray;
    FakeMessageBoxes boxes;
    FakeShell shell;
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

  private:
    std::unique_ptr<MainForm> form_;
};

}  // namespace tapster::fakes
