#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_form.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_policy.h"
#include "fakes/fake_settings_file.h"
#include "settings/settings_store.h"

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
            form_ = std::make_unique<MainForm>(MainFormServices{store, tray, boxes, shell, loop,
                                                                desktop, locale, sign_in, policy});
        }
        return *form_;
    }

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
    FakeEventLoop loop;
    FakeDesktop desktop;
    FakeLocale locale;
    FakeSignIn sign_in;
    FakePolicy policy;

  private:
    std::unique_ptr<MainForm> form_;
};

}  // namespace tapster::fakes
