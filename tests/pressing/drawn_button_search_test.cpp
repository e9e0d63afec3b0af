// The search for a drawn button in another program's accessible tree: which element it
// presses, and how far it goes in a tree that is deep, wide or leads back into itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "pressing/drawn_button_search.h"

namespace tapster {
namespace {

using platform::AccessibleElement;

constexpr long kPushButton = AccessibleElement::kPushButtonRole;
constexpr long kGrouping = 0x14;
constexpr long kStaticText = 0x29;

// An element of a tree the test builds; a node may stand under several parents, or under
// itself, as in a faulty program's tree.
struct Node {
    long role = 0;
    std::string name;
    std::uint32_t state = 0;
    std::vector<Node*> children = {};
    bool action_succeeds = true;
    int actions = 0;
};

struct Log {
    int elements = 0;  // elements whose role was asked
    std::size_t most_children_asked = 0;
};

class View : public AccessibleElement {
  public:
    View(Node& node, Log& log) : node_(node), log_(log) {}

    long role() override {
        ++log_.elements;
        return node_.role;
    }
    std::uint32_t state() override { return node_.state; }
    std::string name() override { return node_.name; }
    std::vector<std::unique_ptr<AccessibleElement>> children(std::size_t most) override {
        log_.most_children_asked = std::max(log_.most_children_asked, most);
        std::vector<std::unique_ptr<AccessibleElement>> views;
        for (std::size_t index = 0; index < node_.children.size() && index < most; ++index) {
            views.push_back(std::make_unique<View>(*node_.children[index], log_));
        }
        return views;
    }
    bool do_default_action() override {
        ++node_.actions;
        return node_.action_succeeds;
    }

  private:
    Node& node_;
    Log& log_;
};

DrawnButtonPress search(Node& root, const std::string& name, Log& log,
                        AccessibleSearchLimits limits = {}) {
    View view(root, log);
    return press_drawn_button(view, name, limits);
}

TEST(DrawnButtonSearch, PressesTheFirstEnabledPushButtonOfThatNameDepthFirst) {
    Node disabled{kPushButton, "Save", AccessibleElement::kUnavailableState};
    Node text{kStaticText, "Save"};
    Node other_case{kPushButton, "save"};
    Node mnemonic{kPushButton, "&Save"};
    Node nested{kPushButton, " Save "};
    Node later{kPushButton, "Save"};
    Node group{kGrouping, "Save", 0, {&disabled, &text, &other_case, &mnemonic, &nested}};
    Node root{0xA, "Save file?", 0, {&group, &later}};
    Log log;

    EXPECT_EQ(search(root, "Save", log), DrawnButtonPress::pressed);

    EXPECT_EQ(nested.actions, 1);
    for (const Node* left : {&disabled, &text, &other_case, &mnemonic, &later, &group}) {
        EXPECT_EQ(left->actions, 0) << left->name;
    }
}

TEST(DrawnButtonSearch, ListsEachButtonNameOnceInTheOrderAPressMeetsThem) {
    Node disabled{kPushButton, "Save", AccessibleElement::kUnavailableState};
    Node text{kStaticText, "Cancel"};
    Node spaced{kPushButton, " Save "};
    Node cancel{kPushButton, "Cancel"};
    Node group{kGrouping, "Don't Save", 0, {&disabled, &text, &spaced}};
    Node root{0xA, "Save file?", 0, {&group, &cancel}};
    Log log;
    View view(root, log);

    EXPECT_EQ(drawn_button_names(view), (std::vector<std::string>{"Save", "Cancel"}))
        << "a disabled button is listed as a drag would record it";
}

TEST(DrawnButtonSearch, AFailedActionEndsTheSearch) {
    Node refusing{kPushButton, "OK", 0, {}, false};
    Node next{kPushButton, "OK"};
    Node root{0xA, "", 0, {&refusing, &next}};
    Log log;

    EXPECT_EQ(search(root, "OK", log), DrawnButtonPress::action_failed);
    EXPECT_EQ(next.actions, 0);
}

TEST(DrawnButtonSearch, ATreeThatLeadsBackIntoItselfCostsAtMostTheElementBound) {
    Node root{0xA, "loop"};
    root.children = {&root, &root, &root};
    Log log;

    EXPECT_EQ(search(root, "OK", log, {8, 500}), DrawnButtonPress::not_found);

    EXPECT_LE(log.elements, 500);
    EXPECT_LE(log.most_children_asked, 500U) << "no program is asked for more than the bound";
}

TEST(DrawnButtonSearch, AButtonBelowTheDeepestLevelIsNotReached) {
    // A chain of groups with the button at its end, `levels` below the root.
    const auto chain = [](int levels, std::vector<Node>& nodes) -> Node& {
        nodes.assign(static_cast<std::size_t>(levels) + 1, Node{kGrouping, "group"});
        nodes.back() = Node{kPushButton, "OK"};
        for (std::size_t index = 0; index + 1 < nodes.size(); ++index) {
            nodes[index].children = {&nodes[index + 1]};
        }
        return nodes.front();
    };
    std::vector<Node> nodes;
    Log log;

    EXPECT_EQ(search(chain(4, nodes), "OK", log, {4, 100}), DrawnButtonPress::pressed);
    EXPECT_EQ(search(chain(5, nodes), "OK", log, {4, 100}), DrawnButtonPress::not_found);
}

}  // namespace
}  // namespace tapster
