// The control-id search, computed directly, against the exhaustive scan it replaces.
#include <gtest/gtest.h>

#include "capture/control_id_search.h"
#include "fakes/fake_desktop.h"

namespace tapster {
namespace {

using fakes::FakeDesktop;

// Every identifier below 50, and for each every handle value from 1 to 66,999, asking which
// window holds the inspected one as its child with that identifier.
int scan_for_control_id(platform::Desktop& desktop, platform::WindowHandle inspected) {
    for (int identifier = 0; identifier < kSearchedIdentifiers; ++identifier) {
        for (platform::WindowHandle handle = 1; handle < kSearchedHandles; ++handle) {
            if (desktop.dialog_item(handle, identifier) == inspected) {
                return identifier;
            }
        }
    }
    return 0;
}

struct SearchCase {
    const char* name;
    platform::WindowHandle parent_handle;  // 0: the button has no parent
    int identifier;
    bool sibling_first;  // another child with the same identifier comes earlier
    int expected;
};

class ControlIdSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(ControlIdSearch, AgreesWithTheExhaustiveScan) {
    const SearchCase& search = GetParam();
    FakeDesktop desktop;
    if (search.parent_handle != 0) {
        desktop.add({"#32770", "Nag", 0, 0}, search.parent_handle);
        if (search.sibling_first) {
            desktop.add({"Static", "label", search.identifier, search.parent_handle});
        }
    }
    const platform::WindowHandle button =
        desktop.add({"Button", "OK", search.identifier, search.parent_handle}, 90000);

    EXPECT_EQ(find_control_id(desktop, button), search.expected);
    EXPECT_EQ(scan_for_control_id(desktop, button), search.expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, ControlIdSearch,
                         ::testing::Values(SearchCase{"found", 0x1234, 2, false, 2},
                                           SearchCase{"identifier_zero", 0x1234, 0, false, 0},
                                           SearchCase{"highest_identifier", 66999, 49, false, 49},
                                           SearchCase{"identifier_50", 0x1234, 50, false, 0},
                                           SearchCase{"negative_identifier", 0x1234, -3, false, 0},
                                           SearchCase{"parent_handle_67000", 67000, 1, false, 0},
                                           SearchCase{"sibling_first", 0x1234, 1, true, 0},
                                           SearchCase{"no_parent", 0, 1, false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tapster
