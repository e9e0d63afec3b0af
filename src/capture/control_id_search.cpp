#include "capture/control_id_search.h"

#include <cstdint>

namespace tapster {

int find_control_id(platform::Desktop& desktop, platform::WindowHandle inspected) {
    const platform::WindowHandle parent = desktop.parent(inspected);
    // Handles are compared as the 32-bit values they are on every Windows.
    const auto parent_value = static_cast<std::uint32_t>(parent);
    if (parent == 0 || parent_value >= kSearchedHandles || parent_value != parent) {
        return 0;
    }
    const int identifier = desktop.control_id(inspected);
    if (identifier < 0 || identifier >= kSearchedIdentifiers) {
        return 0;
    }
    return desktop.dialog_item(parent, identifier) == inspected ? identifier : 0;
}

}  // namespace tapster
