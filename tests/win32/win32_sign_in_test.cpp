// Start at sign-in, on the real registry of the test's Wine prefix: which Run entries count
// as this program's, and that turning it on and off touches only this program's entry.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>

#include "win32/wide_string.h"
#include "win32/win32_sign_in.h"

namespace tapster::win32 {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kProgram[] = L"C:\\Program Files\\Tapster Test\\tapster.exe";

std::optional<std::wstring> run_entry() {
    wchar_t value[512] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Tapster", RRF_RT_REG_SZ, nullptr, value,
                     &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

void write_run_entry(const std::optional<std::wstring>& entry) {
    if (!entry) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tapster");
        return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tapster", REG_SZ, entry->c_str(),
                    static_cast<DWORD>((entry->size() + 1) * sizeof(wchar_t)));
}

// Leaves the prefix's own entry as it found it.
class Win32SignInTest : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = run_entry(); }
    void TearDown() override { write_run_entry(saved_); }

  private:
    std::optional<std::wstring> saved_;
};

struct Entry {
    const char* value;
    bool starts_this_program;
};

void PrintTo(const Entry& entry, std::ostream* out) {
    *out << '[' << entry.value << ']';
}

class RunEntry : public Win32SignInTest, public ::testing::WithParamInterface<Entry> {};

TEST_P(RunEntry, CountsOnlyWhenItNamesThisProgram) {
    write_run_entry(to_wide(GetParam().value));
    EXPECT_EQ(Win32SignIn(kProgram).starts_this_program(), GetParam().starts_this_program);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RunEntry,
    ::testing::Values(Entry{R"("C:\Program Files\Tapster Test\tapster.exe")", true},
                      Entry{R"(  "c:\program files\tapster test\TAPSTER.EXE" /minimized)", true},
                      Entry{R"(C:\Program Files\Tapster Test\tapster.exe)", true},
                      Entry{R"("C:\Other\tapster.exe")", false},
                      Entry{R"("C:\Program Files\Tapster Test\tapster.exe.bak")", false},
                      Entry{"", false}));

TEST_F(Win32SignInTest, TurningItOnAndOffWritesAndRemovesOnlyThisProgramsEntry) {
    write_run_entry(std::nullopt);
    Win32SignIn sign_in(kProgram);
    EXPECT_FALSE(sign_in.starts_this_program());

    ASSERT_TRUE(static_cast<bool>(sign_in.set_starts_this_program(true)));
    EXPECT_TRUE(sign_in.starts_this_program());
    EXPECT_EQ(run_entry(), std::wstring(L"\"") + kProgram + L"\"") << "as the installer writes it";

    // Another copy turning it off leaves this program's entry alone.
    ASSERT_TRUE(static_cast<bool>(
        Win32SignIn(L"D:\\Portable\\tapster.exe").set_starts_this_program(false)));
    EXPECT_TRUE(sign_in.starts_this_program());

    ASSERT_TRUE(static_cast<bool>(sign_in.set_starts_this_program(false)));
    EXPECT_FALSE(sign_in.starts_this_program());
    EXPECT_EQ(run_entry(), std::nullopt);
    EXPECT_TRUE(static_cast<bool>(sign_in.set_starts_this_program(false))) << "already off";
}

TEST_F(Win32SignInTest, TheMachinesEntryCountsButOnlyAnAdministratorRemovesIt) {
    write_run_entry(std::nullopt);
    const std::wstring entry = std::wstring(L"\"") + kProgram + L"\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Tapster", REG_SZ, entry.c_str(),
                              static_cast<DWORD>((entry.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    Win32SignIn sign_in(kProgram);

    EXPECT_TRUE(sign_in.starts_this_program());
    EXPECT_TRUE(static_cast<bool>(sign_in.set_starts_this_program(true)));
    EXPECT_EQ(run_entry(), std::nullopt) << "a second entry starts a second copy";
    const platform::Status off = sign_in.set_starts_this_program(false);
    EXPECT_TRUE(off.failed());
    EXPECT_NE(off.message().find("administrator"), std::string::npos);
    EXPECT_TRUE(sign_in.starts_this_program());

    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Tapster");
}

TEST(Win32SignIn, TheRunningProgramIsAFullPathToAnExe) {
    const std::wstring program = Win32SignIn::running_program();
    ASSERT_GT(program.size(), 4U);
    EXPECT_EQ(program[1], L':');
    EXPECT_EQ(to_utf8(program.substr(program.size() - 4)), ".exe");
}

}  // namespace
}  // namespace tapster::win32
