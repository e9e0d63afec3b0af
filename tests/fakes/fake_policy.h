#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/policy.h"

namespace tapster::fakes {

// The administrator's keys, in memory: a key not set is absent.
class FakePolicy : public platform::Policy {
  public:
    using Key = platform::PolicyKey;
    using Value = platform::PolicyValue;

    std::map<std::pair<Scope, std::string>, Key> keys;

    Key read(Scope scope, std::string_view subkey) override {
        const auto found = keys.find({scope, std::string(subkey)});
        return found == keys.end() ? Key{} : found->second;
    }

    // The Targets key of one scope, holding these texts under the names "1", "2", ...
    void set_targets(Scope scope, const std::vector<std::string>& texts) {
        Key& key = keys[{scope, std::string(platform::policy_keys::kTargets)}];
        key = Key{Key::State::read, {}, 0};
        for (const std::string& text : texts) {
            key.values.push_back(text_value(std::to_string(key.values.size() + 1), text));
        }
    }
    void set_state(Scope scope, std::string_view subkey, Key::State state) {
        keys[{scope, std::string(subkey)}].state = state;
    }

    static Value text_value(std::string name, std::string text) {
        Value value;
        value.name = std::move(name);
        value.type = Value::Type::text;
        value.text = std::move(text);
        return value;
    }
    static Value number_value(std::string name, std::uint32_t number) {
        Value value;
        value.name = std::move(name);
        value.type = Value::Type::number;
        value.number = number;
        return value;
    }
};

}  // namespace tapster::fakes
