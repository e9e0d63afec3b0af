#include "pressing/drawn_button_search.h"

#include <optional>

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

// Each element before its children, as the search for a button goes.
void collect_static_texts(AccessibleElement& element, int depth, AccessibleSearchLimits limits,
                          std::size_t& visited, std::vector<std::string>& texts) {
    ++visited;
    if (element.role() == AccessibleElement::kStaticTextRole) {
        texts.push_back(element.name());
    }
    if (depth >= limits.deepest || visited >= limits.most_elements) {
        return;
    }
    for (const auto& child : element.children(limits.most_elements - visited)) {
        if (visited >= limits.most_elements) {
            return;
        }
        collect_static_texts(*child, depth + 1, limits, visited, texts);
    }
}

}  // namespace

std::vector<std::string> drawn_static_texts(AccessibleElement& root,
                                            AccessibleSearchLimits limits) {
    std::vector<std::string> texts;
    std::size_t visited = 0;
    if (limits.most_elements > 0) {
        collect_static_texts(root, 0, limits, visited, texts);
    }
    return texts;
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
