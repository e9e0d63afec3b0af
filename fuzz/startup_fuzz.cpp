// The settings file as the store loads it, followed by the whole start-up of the main form
// over the test fakes and one tick of the push cycle. Besides crashes: a file the store can
// read keeps its stored targets through the start-up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/main_form.h"
#include "fakes/fake_services.h"
#include "fakes/fake_settings_file.h"
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

    fakes::FakeServices faked;
    const platform::WindowHandle box = faked.desktop.add({"#32770", "Nag", 0, 0});
    faked.desktop.add({"Button", "OK", 1, box});
    MainForm form(faked.services(store));
    form.start();
    faked.dispatcher.run_all();
    form.timer_ticked(WindowTimer::push);

    SettingsStore::Entries after;
    check(!store.try_read_section("Items", after).failed());
    if (readable && file.set_aside_contents.empty()) {
        check(after == before);
    }
    check(file.unlocked_changes == 0);
    return 0;
}
