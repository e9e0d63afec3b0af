#include "app/policy_watch.h"

#include <utility>
#include <vector>

#include "options/policy_interval.h"
#include "ui/tell_user.h"

namespace tapster {

void PolicyWatch::refresh() {
    std::vector<std::string> problems = targets_.refresh();
    IntervalPolicy interval = read_interval_policy(policy_);
    if (interval.known) {
        calibration_.set_managed_interval(interval.interval);
    }
    problems.insert(problems.end(), std::make_move_iterator(interval.problems.begin()),
                    std::make_move_iterator(interval.problems.end()));
    std::vector<std::string> history = history_.refresh_policy(policy_);
    problems.insert(problems.end(), std::make_move_iterator(history.begin()),
                    std::make_move_iterator(history.end()));

    // Marked as named before the box opens: a policy change announced while it is open
    // reads everything again, and must not name the same values in a second box.
    std::vector<std::string> unnamed;
    for (std::string& problem : problems) {
        if (named_.insert(problem).second) {
            unnamed.push_back(std::move(problem));
        }
    }
    if (unnamed.empty()) {
        return;
    }
    std::string text =
        "Your administrator set values for Tapster that it can not use, so it leaves them out:";
    for (std::size_t index = 0; index < unnamed.size() && index < kMostNamed; ++index) {
        text += "\r\n\r\n" + unnamed[index] + ".";
    }
    if (unnamed.size() > kMostNamed) {
        text += "\r\n\r\n... and " + std::to_string(unnamed.size() - kMostNamed) + " more.";
    }
    ui::tell_user(message_boxes_, text);
}

}  // namespace tapster
