// The administrator's settings as the registry of the test's Wine prefix holds them: every
// kind of value an administrator or a tool may leave, read without harm.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/win32_policy.h"

namespace tapster::win32 {
namespace {

using platform::PolicyKey;
using platform::PolicyValue;
using Scope = platform::Policy::Scope;

// A key of its own, so that nothing the end-to-end tests set is touched.
constexpr wchar_t kBase[] = L"Software\\Tapster Policy Test";
constexpr wchar_t kTargets[] = L"Software\\Tapster Policy Test\\Targets";

void set(const wchar_t* name, DWORD type, const void* data, std::size_t bytes) {
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, kTargets, name, type, data, static_cast<DWORD>(bytes)),
        ERROR_SUCCESS);
}
void set_text(const wchar_t* name, DWORD type, const std::wstring& text) {
    set(name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

class Win32PolicyTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kBase); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kBase); }

    Win32Policy policy_{kBase};
};

TEST_F(Win32PolicyTest, ReadsTextsAndNumbersAndFlagsWhatIsNoText) {
    EXPECT_EQ(policy_.read(Scope::user, "Targets").state, PolicyKey::State::absent);

    set_text(L"1", REG_SZ, L"Caf\u00e9 **** #32770 **** OK **** 1 **** 2 **** False");
    set_text(L"expand", REG_EXPAND_SZ, L"50% %TEMP%");
    const DWORD number = 750;
    set(L"number", REG_DWORD, &number, sizeof number);
    set(L"binary", REG_BINARY, "abc", 3);
    set(L"unended", REG_SZ, L"ab", 2 * sizeof(wchar_t));  // no zero at its end
    set(L"zero inside", REG_SZ, L"a\0b", 4 * sizeof(wchar_t));
    set_text(L"surrogate", REG_SZ, std::wstring(L"a") + wchar_t(0xD800) + L"b");
    set_text(L"long", REG_SZ, std::wstring(platform::Policy::kLongestText + 1, L'x'));
    set_text(L"", REG_SZ, std::wstring(platform::Policy::kLongestText, L'y'));

    const PolicyKey key = policy_.read(Scope::user, "Targets");
    ASSERT_EQ(key.state, PolicyKey::State::read);
    std::vector<std::string> read;
    for (const PolicyValue& value : key.values) {
        std::string seen = value.name + ":";
        seen += value.type == PolicyValue::Type::text     ? "text "
                : value.type == PolicyValue::Type::number ? "number " + std::to_string(value.number)
                                                          : "other";
        seen += value.flaw == PolicyValue::Flaw::too_long   ? "too long"
                : value.flaw == PolicyValue::Flaw::not_text ? "not text"
                : value.text.size() > 60                    ? std::to_string(value.text.size())
                                                            : value.text;
        read.push_back(seen);
    }
    // Sorted: the order the registry keeps is not the same on every system.
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, (std::vector<std::string>{
                        "1:text Caf\xC3\xA9 **** #32770 **** OK **** 1 **** 2 **** False",
                        ":text 4096", "binary:other", "expand:text 50% %TEMP%",
                        "long:text too long", "number:number 750", "surrogate:text not text",
                        "unended:text ab", "zero inside:text not text"}));
}

TEST(Win32Policy, AnnouncesAPolicyChangeOnlyForPolicy) {
    EXPECT_TRUE(announces_policy_change(L"Policy"));
    EXPECT_TRUE(announces_policy_change(L"policy"));
    EXPECT_FALSE(announces_policy_change(L"Environment"));
    EXPECT_FALSE(announces_policy_change(nullptr));
}

}  // namespace
}  // namespace tapster::win32
