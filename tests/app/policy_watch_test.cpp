// Values an administrator set that Tapster can not use: left out, and named in one message,
// each once per run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

using Scope = platform::Policy::Scope;
using Value = fakes::FakePolicy::Value;

constexpr const char* kGood = "Good **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kMachineTargets = "HKEY_LOCAL_MACHINE\\Software\\Policies\\Tapster\\Targets";

class PolicyProblems : public fakes::FormFixture {
  protected:
    void add_target_value(Value value) {
        policy.keys[{Scope::machine, "Targets"}].state = platform::PolicyKey::State::read;
        policy.keys[{Scope::machine, "Targets"}].values.push_back(std::move(value));
    }
    static Value flawed(std::string name, Value::Flaw flaw) {
        Value value = fakes::FakePolicy::text_value(std::move(name), "");
        value.flaw = flaw;
        return value;
    }
};

TEST_F(PolicyProblems, AreLeftOutAndNamedInOneMessageEachOncePerRun) {
    add_target_value(fakes::FakePolicy::text_value("good", kGood));
    add_target_value(fakes::FakePolicy::number_value("number", 7));
    add_target_value(flawed("long", Value::Flaw::too_long));
    add_target_value(flawed("", Value::Flaw::not_text));
    add_target_value(fakes::FakePolicy::text_value("short", "A **** B **** OK"));
    form().start();

    EXPECT_EQ(controls().target_list.count(), 1);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
    const std::string prefix = std::string("\r\n\r\n") + kMachineTargets;
    EXPECT_EQ(boxes.shown[0].text,
              "Your administrator set values for Tapster that it can not use, so it leaves them "
              "out:" +
                  prefix + ", value \"number\": it is not a text (REG_SZ)." + prefix +
                  ", value \"long\": it is longer than 4096 characters." + prefix +
                  ", default value: it holds a zero character or UTF-16 that is not text." +
                  prefix +
                  ", value \"short\": it has 3 parts instead of six: title, class, button text, "
                  "found id, id and True or False, separated by ****.");

    // Read again, the same values are not named again; a new one is, alone.
    form().policy_changed();
    EXPECT_EQ(boxes.shown.size(), 1U);
    add_target_value(
        fakes::FakePolicy::text_value("flag", "A **** B **** OK **** 1 **** 1 **** y"));
    form().policy_changed();
    ASSERT_EQ(boxes.shown.size(), 2U);
    EXPECT_EQ(boxes.shown[1].text,
              "Your administrator set values for Tapster that it can not use, so it leaves them "
              "out:" +
                  prefix + ", value \"flag\": it ends in \"y\" instead of True or False.");
}

TEST_F(PolicyProblems, AMessageNamesTenAndCountsTheRest) {
    for (int index = 0; index < 13; ++index) {
        add_target_value(fakes::FakePolicy::number_value(std::to_string(index), 1));
    }
    form().start();

    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_NE(boxes.shown[0].text.find("value \"9\""), std::string::npos);
    EXPECT_EQ(boxes.shown[0].text.find("value \"10\""), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("... and 3 more."), std::string::npos);
}

}  // namespace
}  // namespace tapster
