#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/target_list.h"
#include "platform/policy.h"

namespace tapster {

// A target line as an administrator wrote it, read strictly, since nobody is at hand to fix it:
// six parts separated by "****", a window or a button named, whole numbers for both ids and
// "True" or "False" last. Gives the line spaced as Tapster writes target strings, or why it
// can not be used.
struct PolicyTargetLine {
    std::string text;     // the target string, when the line is usable
    std::string problem;  // otherwise, why not
};
PolicyTargetLine read_policy_target_line(std::string_view line);

// The targets an administrator sets by policy: the values of Software\Policies\Tapster\Targets
// in the machine's part of the registry, then in the user's. They stand in the target list after
// the user's own entries, each text once, checked, and are never stored.
class PolicyTargets {
  public:
    PolicyTargets(platform::Policy& policy, TargetList& targets)
        : policy_(policy), targets_(targets) {}

    // Reads both keys again and makes the list's managed entries match them. A key that can
    // not be read keeps the targets it gave before. Returns one line for each value left out,
    // naming the value and why.
    std::vector<std::string> refresh();

  private:
    void read_key(platform::Policy::Scope scope, std::vector<std::string>& texts,
                  std::vector<std::string>& problems);

    platform::Policy& policy_;
    TargetList& targets_;
    std::vector<std::string> from_machine_;
    std::vector<std::string> from_user_;
};

}  // namespace tapster
