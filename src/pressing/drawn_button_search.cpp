#include "pressing/drawn_button_search.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "model/target_string.h"

namespace tapster {

namespace {

using platform::AccessibleElement;

class Search {
  public:
    Search(std::string_view name, AccessibleSearchLimits limits) : name_(name), limits_(limits) {}

    // The outcome once a button was found; nothing while the search goes on.
    std::optional<DrawnButtonPress> visit(AccessibleElement& element, int depth) {
        ++visited_;
        if (is_pressable_button(element, name_)) {
            return element.do_default_action() ? DrawnButtonPress::pressed
                                               : DrawnButtonPress::action_failed;
        }
        if (depth >= limits_.deepest || visited_ >= limits_.most_elements) {
            return std::nullopt;
        }
        for (const auto& child : element.children(limits_.most_elements - visited_)) {
            if (visited_ >= limits_.most_elements) {
                break;
            }
            if (const auto outcome = visit(*child, depth + 1)) {
                return outcome;
            }
        }
        return std::nullopt;
    }

  private:
    std::string_view name_;
    AccessibleSearchLimits limits_;
    std::size_t visited_ = 0;
};

// The names of the elements of one role, each element before its children, as the search for
// a button goes.
void collect_names(AccessibleElement& element, long role, int depth, AccessibleSearchLimits limits,
                   std::size_t& visited, std::vector<std::string>& names) {
    ++visited;
    if (element.role() == role) {
        names.push_back(element.name());
    }
    if (depth >= limits.deepest || visited >= limits.most_elements) {
        return;
    }
    for (const auto& child : element.children(limits.most_elements - visited)) {
        if (visited >= limits.most_elements) {
            return;
        }
        collect_names(*child, role, depth + 1, limits, visited, names);
    }
}

std::vector<std::string> names_of_role(AccessibleElement& root, long role,
                                       AccessibleSearchLimits limits) {
    std::vector<std::string> names;
    std::size_t visited = 0;
    if (limits.most_elements > 0) {
        collect_names(root, role, 0, limits, visited, names);
    }
    return names;
}

}  // namespace

std::vector<std::string> drawn_static_texts(AccessibleElement& root,
                                            AccessibleSearchLimits limits) {
    return names_of_role(root, AccessibleElement::kStaticTextRole, limits);
}

std::vector<std::string> drawn_button_names(AccessibleElement& root,
                                            AccessibleSearchLimits limits) {
    std::vector<std::string> names;
    for (std::string& name : names_of_role(root, AccessibleElement::kPushButtonRole, limits)) {
        // A press takes the first button of a name: a second of the same name is never pressed.
        const bool named_before = std::ranges::any_of(names, [&](const std::string& earlier) {
            return trim_spaces(earlier) == trim_spaces(name);
        });
        if (!named_before) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

bool is_pressable_button(AccessibleElement& element, std::string_view name) {
    // The role first: most elements are no buttons, and their names are never asked for.
    return element.role() == AccessibleElement::kPushButtonRole &&
           trim_spaces(element.name()) == trim_spaces(name) &&
           (element.state() & AccessibleElement::kUnavailableState) == 0;
}

DrawnButtonPress press_drawn_button(AccessibleElement& root, std::string_view name,
                                    AccessibleSearchLimits limits) {
    if (limits.most_elements == 0) {
        return DrawnButtonPress::not_found;
    }
    return Search(name, limits).visit(root, 0).value_or(DrawnButtonPress::not_found);
}

}  // namespace tapster
