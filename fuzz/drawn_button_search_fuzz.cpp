// The search for a drawn button over an accessible tree that another program made up: any
// roles, states and names (bytes that need not be UTF-8), any number of children, children that
// lead back to their own ancestors, and any bounds. Besides crashes: the search asks for no
// more elements and no deeper than its bounds, presses at most once, and presses exactly the
// first element it looked at that is an enabled push button of the name, if there is one. The
// walk for a window's static texts keeps the same bounds, presses nothing, and gives the names
// of the static texts it looked at, in its order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "model/target_string.h"
#include "pressing/drawn_button_search.h"

namespace {

using tapster::platform::AccessibleElement;

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

struct Node {
    long role = 0;
    std::uint32_t state = 0;
    std::string name;
    std::vector<std::size_t> children;
};

struct Visit {
    std::size_t node = 0;
    int depth = 0;
};

struct Record {
    const std::vector<Node>& nodes;
    std::vector<Visit> visits;  // in the order their roles were asked
    std::vector<std::size_t> actions;
    std::size_t most_children_asked = 0;
};

class View : public AccessibleElement {
  public:
    View(std::size_t node, int depth, Record& record)
        : node_(node), depth_(depth), record_(record) {}

    long role() override {
        record_.visits.push_back({node_, depth_});
        return record_.nodes[node_].role;
    }
    std::uint32_t state() override { return record_.nodes[node_].state; }
    std::string name() override { return record_.nodes[node_].name; }
    std::vector<std::unique_ptr<AccessibleElement>> children(std::size_t most) override {
        record_.most_children_asked = std::max(record_.most_children_asked, most);
        std::vector<std::unique_ptr<AccessibleElement>> views;
        for (const std::size_t child : record_.nodes[node_].children) {
            if (views.size() == most) {
                break;
            }
            views.push_back(std::make_unique<View>(child, depth_ + 1, record_));
        }
        return views;
    }
    bool do_default_action() override {
        record_.actions.push_back(node_);
        return node_ % 2 == 0;
    }

  private:
    std::size_t node_;
    int depth_;
    Record& record_;
};

bool qualifies(const Node& node, const std::string& name) {
    return node.role == AccessibleElement::kPushButtonRole &&
           tapster::trim_spaces(node.name) == tapster::trim_spaces(name) &&
           (node.state & AccessibleElement::kUnavailableState) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const tapster::AccessibleSearchLimits limits{input.ConsumeIntegralInRange<int>(0, 40),
                                                 input.ConsumeIntegralInRange<std::size_t>(0, 300)};
    const std::string wanted = input.ConsumeRandomLengthString(40);
    std::vector<Node> nodes(input.ConsumeIntegralInRange<std::size_t>(1, 64));
    for (Node& node : nodes) {
        // Mostly the roles that matter, now and then any number at all.
        const long roles[] = {AccessibleElement::kPushButtonRole, 0x14, 0x29, 0xA};
        node.role = input.ConsumeBool() ? roles[input.ConsumeIntegralInRange<int>(0, 3)]
                                        : input.ConsumeIntegral<long>();
        node.state = input.ConsumeIntegral<std::uint32_t>();
        node.name = input.ConsumeBool() ? wanted : input.ConsumeRandomLengthString(40);
        const std::size_t children = input.ConsumeIntegralInRange<std::size_t>(0, 8);
        for (std::size_t child = 0; child < children; ++child) {
            node.children.push_back(input.ConsumeIntegralInRange<std::size_t>(0, nodes.size() - 1));
        }
    }

    Record texts_record{nodes, {}, {}, 0};
    View texts_root(0, 0, texts_record);
    const std::vector<std::string> texts = tapster::drawn_static_texts(texts_root, limits);
    check(texts_record.visits.size() <= limits.most_elements);
    check(texts_record.most_children_asked <= limits.most_elements);
    check(texts_record.actions.empty());
    std::vector<std::string> seen_texts;
    for (const Visit& visit : texts_record.visits) {
        check(visit.depth <= limits.deepest);
        if (nodes[visit.node].role == AccessibleElement::kStaticTextRole) {
            seen_texts.push_back(nodes[visit.node].name);
        }
    }
    check(texts == seen_texts);

    Record record{nodes, {}, {}, 0};
    View root(0, 0, record);
    const tapster::DrawnButtonPress outcome = tapster::press_drawn_button(root, wanted, limits);

    check(record.visits.size() <= limits.most_elements);
    check(record.most_children_asked <= limits.most_elements);
    std::size_t first_qualifying = record.visits.size();
    for (std::size_t index = 0; index < record.visits.size(); ++index) {
        check(record.visits[index].depth <= limits.deepest);
        if (first_qualifying == record.visits.size() &&
            qualifies(nodes[record.visits[index].node], wanted)) {
            first_qualifying = index;
        }
    }
    if (outcome == tapster::DrawnButtonPress::not_found) {
        check(record.actions.empty());
        check(first_qualifying == record.visits.size());
        return 0;
    }
    // The search ends at the first button it takes: nothing is looked at after it.
    check(record.actions.size() == 1);
    check(first_qualifying + 1 == record.visits.size());
    check(record.actions.front() == record.visits.back().node);
    check((outcome == tapster::DrawnButtonPress::pressed) == (record.actions.front() % 2 == 0));
    return 0;
}
