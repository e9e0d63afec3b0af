// Windows' own programs are started from the Windows folder, never from a file of the same
// name that happens to lie beside tapster.exe or in the current folder.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "win32/system_program.h"
#include "win32/wide_string.h"

#include <windows.h>

namespace tapster::win32 {
namespace {

struct Case {
    const char* command_line;
    const char* expected;
};

void PrintTo(const Case& example, std::ostream* out) {
    *out << '[' << example.command_line << ']';
}

class SystemProgramPath : public ::testing::TestWithParam<Case> {};

TEST_P(SystemProgramPath, OnlyABareSystemProgramGetsTheWindowsFolder) {
    const Case& example = GetParam();
    EXPECT_EQ(to_utf8(with_system_program_path(to_wide(example.command_line), L"C:\\Windows")),
              example.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SystemProgramPath,
    ::testing::Values(Case{"explorer http://example.org/a b",
                           R"("C:\Windows\explorer.exe" http://example.org/a b)"},
                      Case{"EXPLORER.EXE", R"("C:\Windows\EXPLORER.EXE")"},
                      Case{R"(  "explorer" "C:\x y")", R"("C:\Windows\explorer.exe" "C:\x y")"},
                      Case{"explorer\thttp://a", "\"C:\\Windows\\explorer.exe\"\thttp://a"},
                      // A folder or drive given by the caller is the caller's choice.
                      Case{R"(.\explorer.exe http://a)", R"(.\explorer.exe http://a)"},
                      Case{R"("D:\Tools\explorer.exe" a)", R"("D:\Tools\explorer.exe" a)"},
                      Case{"notepad explorer", "notepad explorer"},
                      Case{"explorerx a", "explorerx a"}, Case{R"("explorer a)", R"("explorer a)"},
                      Case{"", ""}));

TEST(SystemProgramPath, TheWindowsFolderHoldsExplorer) {
    const std::wstring folder = windows_folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(GetFileAttributesW((folder + L"\\explorer.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace tapster::win32
