#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tapster::platform {

// Where an administrator's settings for Tapster live, in the machine's and in the user's part
// of the registry. Group Policy writes them from the template in packaging/policy; Tapster
// only reads them.
namespace policy_keys {
inline constexpr std::string_view kTapster = "Software\\Policies\\Tapster";
// A subkey of kTapster: each value's data is one target string; the names are free.
inline constexpr std::string_view kTargets = "Targets";
// A value of kTapster: the push cycle's interval in milliseconds, a DWORD.
inline constexpr std::string_view kInterval = "Interval";
// A value of kTapster: 0 keeps no history of presses, 1 keeps one, a DWORD.
inline constexpr std::string_view kHistory = "History";
}  // namespace policy_keys

// Value names in the registry ignore letter case.
inline bool same_value_name(std::string_view name, std::string_view wanted) {
    return std::equal(name.begin(), name.end(), wanted.begin(), wanted.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// One value of a policy key, as the administrator left it.
struct PolicyValue {
    enum class Type { text, number, other };
    // What kept a text value from being read.
    enum class Flaw { none, too_long, not_text };

    std::string name;  // empty for the key's default value
    Type type = Type::other;
    std::string text;          // a text value (REG_SZ, or REG_EXPAND_SZ left unexpanded)
    std::uint32_t number = 0;  // a REG_DWORD value
    Flaw flaw = Flaw::none;    // too long, or a zero character or broken UTF-16 inside
};

struct PolicyKey {
    enum class State { absent, read, unreadable };
    State state = State::absent;
    std::vector<PolicyValue> values;
    std::size_t values_not_read = 0;  // beyond Policy::kMostValues
};

// The administrator's settings. A key that does not exist is no fault: nothing is set.
class Policy {
  public:
    enum class Scope { machine, user };
    // Text values longer than this (in UTF-16 units) are reported, not read.
    static constexpr std::size_t kLongestText = 4096;
    // No more values are read from one key: the target list could not hold them.
    static constexpr std::size_t kMostValues = 32767;

    virtual ~Policy() = default;
    // The values of kTapster itself (subkey empty) or of one of its subkeys.
    virtual PolicyKey read(Scope scope, std::string_view subkey) = 0;
};

// How a policy key and a value of it are named to the administrator.
inline std::string policy_key_place(Policy::Scope scope, std::string_view subkey) {
    std::string place =
        scope == Policy::Scope::machine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
    place += policy_keys::kTapster;
    if (!subkey.empty()) {
        place += "\\";
        place += subkey;
    }
    return place;
}
inline std::string policy_value_place(Policy::Scope scope, std::string_view subkey,
                                      std::string_view name) {
    return policy_key_place(scope, subkey) + (name.empty()
                                                  ? std::string(", default value")
                                                  : ", value \"" + std::string(name) + "\"");
}

// A DWORD value of kTapster itself, the machine's before the user's. Of another type or outside
// lowest to highest, it is left out and named in `problems` with what it should be (`wanted`).
struct PolicyNumber {
    bool known = true;  // false: a key could not be read, what applies stays
    std::optional<std::uint32_t> number;
    std::vector<std::string> problems;
};
inline PolicyNumber read_policy_number(Policy& policy, std::string_view name, std::uint32_t lowest,
                                       std::uint32_t highest, std::string_view wanted) {
    PolicyNumber result;
    for (const Policy::Scope scope : {Policy::Scope::machine, Policy::Scope::user}) {
        const PolicyKey key = policy.read(scope, "");
        if (key.state == PolicyKey::State::unreadable) {
            // It may hold the value that applies: nothing can be decided.
            result.known = false;
            return result;
        }
        for (const PolicyValue& value : key.values) {
            if (!same_value_name(value.name, name)) {
                continue;
            }
            const std::string place = policy_value_place(scope, "", value.name) + ": ";
            if (value.type != PolicyValue::Type::number) {
                result.problems.push_back(place + "it is not a number (REG_DWORD)");
            } else if (value.number < lowest || value.number > highest) {
                result.problems.push_back(place + "it is " + std::to_string(value.number) +
                                          ", not " + std::string(wanted));
            } else {
                result.number = value.number;
                return result;
            }
        }
    }
    return result;
}

}  // namespace tapster::platform
