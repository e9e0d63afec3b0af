#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/accessible_element.h"

namespace tapster {

// How far a search goes into another program's accessible tree: a tree that is deep, wide or
// leads back into itself costs at most this many elements.
struct AccessibleSearchLimits {
    int deepest = 32;  // levels below the root
    std::size_t most_elements = 2000;
};

enum class DrawnButtonPress { pressed, not_found, action_failed };

// Depth first from the root, each element before its children: the first push button whose
// name is `name` (surrounding spaces aside on both, as a stored target keeps none) and that is
// not unavailable gets its default action. A disabled button of that name is passed over.
DrawnButtonPress press_drawn_button(platform::AccessibleElement& root, std::string_view name,
                                    AccessibleSearchLimits limits = {});

// The names of the static texts in the tree, in the search's order and within its limits.
std::vector<std::string> drawn_static_texts(platform::AccessibleElement& root,
                                            AccessibleSearchLimits limits = {});

// The names of the push buttons in the tree, in the search's order and within its limits, each
// name (surrounding spaces aside) once: the buttons a press could find.
std::vector<std::string> drawn_button_names(platform::AccessibleElement& root,
                                            AccessibleSearchLimits limits = {});

// Whether the search would press this element for the name.
bool is_pressable_button(platform::AccessibleElement& element, std::string_view name);

}  // namespace tapster
