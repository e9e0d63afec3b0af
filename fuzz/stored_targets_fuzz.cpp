// The Items section as StoredTargets loads it: any section, written as the library prints
// it or as raw bytes, then a target added and the list saved. Besides crashes: whatever the
// store read from the section before is still stored after the save, and so is the addition,
// and the list shows what the file holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings_file.h"
#include "model/target_list.h"
#include "settings/settings_store.h"
#include "targets/stored_targets.h"
#include "ui/save_failure_notice.h"

namespace {

using Json = nlohmann::ordered_json;

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// The first byte chooses: odd, the rest are raw bytes spliced in as the section's value;
// even, lines alternating between keys and values, printed by the library.
std::string settings_text(const std::string& bytes) {
    if (bytes.empty()) {
        return "{}";
    }
    const std::string rest = bytes.substr(1);
    if ((static_cast<unsigned char>(bytes[0]) & 1U) != 0) {
        return R"({"setit": {"textinterval": "1000"}, "Items": )" + rest + "}";
    }
    Json items = Json::object();
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('\n', start), rest.size());
        lines.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    for (std::size_t index = 0; index + 1 < lines.size(); index += 2) {
        items[lines[index]] = lines[index + 1];
    }
    return Json{{"Items", items}}.dump(2, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tapster::fakes::FakeSettingsFile file;
    file.bytes = settings_text(std::string(reinterpret_cast<const char*>(data), size));
    tapster::SettingsStore store(file, [](const std::string&) {});
    tapster::SettingsStore::Entries before;
    const bool readable = !store.try_read_section("Items", before).failed();

    tapster::fakes::FakeMessageBoxes boxes;
    tapster::fakes::FakeDispatcher dispatcher;
    tapster::ui::SaveFailureNotice save_failures(boxes);
    tapster::TargetList targets;
    tapster::StoredTargets stored(store, targets, dispatcher, boxes, save_failures);
    stored.load();
    dispatcher.run_all();
    const std::string added = "Added **** #32770 **** OK **** 1 **** 1 **** False";
    targets.append(added);
    stored.save();

    tapster::SettingsStore::Entries after;
    check(!store.try_read_section("Items", after).failed());
    std::vector<std::string> values_after;
    for (const auto& [key, value] : after) {
        values_after.push_back(value);
    }
    std::vector<std::string> expected;
    if (readable) {
        for (const auto& [key, value] : before) {
            expected.push_back(value);
        }
    }
    expected.push_back(added);
    std::sort(values_after.begin(), values_after.end());
    std::sort(expected.begin(), expected.end());
    check(
        std::includes(values_after.begin(), values_after.end(), expected.begin(), expected.end()));
    // And the list shows what the file holds, as far as the list goes.
    tapster::StoredList shown = tapster::stored_list(after);
    shown.resize(std::min(shown.size(), std::size_t{tapster::TargetList::kMostEntries}));
    check(tapster::stored_list(targets) == shown);
    check(file.unlocked_changes == 0);
    return 0;
}
