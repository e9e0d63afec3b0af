// Target lines an administrator left in the registry, as PolicyTargets reads them: any texts,
// numbers, flawed or other values under both keys, a key perhaps unreadable. Besides crashes:
// the user's entries stay as they were, every target taken is checked, after them, once, and
// already in the form Tapster writes; reading the same values again changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_policy.h"
#include "model/target_list.h"
#include "targets/policy_targets.h"

namespace {

using tapster::TargetList;
using tapster::fakes::FakePolicy;
using Scope = tapster::platform::Policy::Scope;

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// One value per line: its first byte chooses the key (bit 0), the type (bits 1-2), a flaw
// (bits 3-4) and an unreadable key (bit 5); the rest is the text, or the number's bytes.
FakePolicy policy_from(const std::string& bytes) {
    FakePolicy policy;
    const std::string subkey(tapster::platform::policy_keys::kTargets);
    for (const Scope scope : {Scope::machine, Scope::user}) {
        policy.keys[{scope, subkey}].state = tapster::platform::PolicyKey::State::read;
    }
    std::size_t start = 0;
    int name = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        const auto control = static_cast<unsigned char>(line[0]);
        const Scope scope = (control & 1U) != 0 ? Scope::user : Scope::machine;
        auto& key = policy.keys[{scope, subkey}];
        FakePolicy::Value value = FakePolicy::text_value(std::to_string(++name), line.substr(1));
        value.type = static_cast<FakePolicy::Value::Type>((control >> 1U) % 3U);
        value.number = static_cast<std::uint32_t>(line.size());
        value.flaw = static_cast<FakePolicy::Value::Flaw>((control >> 3U) % 3U);
        key.values.push_back(value);
        if ((control & 0x20U) != 0) {
            key.state = tapster::platform::PolicyKey::State::unreadable;
        }
    }
    return policy;
}

std::vector<std::string> texts(const TargetList& targets) {
    std::vector<std::string> all;
    for (const TargetList::Entry& entry : targets.entries()) {
        all.push_back(entry.text);
    }
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakePolicy policy = policy_from(std::string(reinterpret_cast<const char*>(data), size));
    TargetList targets;
    targets.append("Own **** #32770 **** OK **** 1 **** 1 **** False");
    targets.append("not even a target", true);
    tapster::PolicyTargets from_policy(policy, targets);

    const std::vector<std::string> problems = from_policy.refresh();
    check(targets.own_count() == 2);
    check(targets.at(0).text == "Own **** #32770 **** OK **** 1 **** 1 **** False");
    check(!targets.at(0).checked && targets.at(1).checked);
    std::set<std::string> managed;
    for (int index = targets.own_count(); index < targets.count(); ++index) {
        const TargetList::Entry& entry = targets.at(index);
        check(entry.managed && entry.checked && entry.target.pressable());
        check(tapster::read_policy_target_line(entry.text).text == entry.text);
        check(managed.insert(entry.text).second);
    }
    for (const std::string& problem : problems) {
        check(!problem.empty());
    }

    const std::vector<std::string> before = texts(targets);
    check(from_policy.refresh() == problems);
    check(texts(targets) == before);
    return 0;
}
