#pragma once

#include <filesystem>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "fakes/fake_services.h"
#include "fakes/fake_settings_file.h"
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
class FormFixture : public ::testing::Test, protected FakeServices {
  protected:
    FormFixture()
        : store(file, [this](const std::string& message) { corrupt_reports.push_back(message); }) {}

    MainForm& form() {
        if (!form_) {
            form_ = std::make_unique<MainForm>(services(store));
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

    FakeSettingsFile file;
    std::vector<std::string> corrupt_reports;
    SettingsStore store;

  private:
    std::unique_ptr<MainForm> form_;
};

}  // namespace tapster::fakes
