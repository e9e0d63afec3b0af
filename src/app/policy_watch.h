#pragma once

#include <set>
#include <string>

#include "history/history_option.h"
#include "model/target_list.h"
#include "options/calibration_panel.h"
#include "platform/message_boxes.h"
#include "platform/policy.h"
#include "targets/policy_targets.h"

namespace tapster {

// What an administrator set by policy, read at start-up and again whenever the system
// announces a policy change: targets for the list, and perhaps the interval and the history. Values
// Tapster can not use are named in one message, each once per run.
class PolicyWatch {
  public:
    // At most this many values are named in the message; the rest are counted.
    static constexpr std::size_t kMostNamed = 10;

    PolicyWatch(platform::Policy& policy, TargetList& targets, CalibrationPanel& calibration,
                HistoryOption& history, platform::MessageBoxes& message_boxes)
        : policy_(policy),
          targets_(policy, targets),
          calibration_(calibration),
          history_(history),
          message_boxes_(message_boxes) {}

    void refresh();

  private:
    platform::Policy& policy_;
    PolicyTargets targets_;
    CalibrationPanel& calibration_;
    HistoryOption& history_;
    platform::MessageBoxes& message_boxes_;
    std::set<std::string> named_;
};

}  // namespace tapster
