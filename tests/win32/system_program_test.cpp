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

struct CommandLineCase {
    const char* command_line;
    const char* expected;
};

void PrintTo(const CommandLineCase& example, std::ostream* out) {
    *out << '[' << example.command_line << ']';
}

class SystemProgramPath : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(SystemProgramPath, OnlyABareSystemProgramGetsTheWindowsFolder) {
    const CommandLineCase& example = GetParam();
    EXPECT_EQ(to_utf8(with_system_program_path(to_wide(example.command_line), L"C:\\Windows")),
              example.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SystemProgramPath,
    ::testing::Values(
        CommandLineCase{"explorer http://example.org/a b",
                        R"("C:\Windows\explorer.exe" http://example.org/a b)"},
        CommandLineCase{"EXPLORER.EXE", R"("C:\Windows\EXPLORER.EXE")"},
        CommandLineCase{R"(  "explorer" "C:\x y")", R"("C:\Windows\explorer.exe" "C:\x y")"},
        CommandLineCase{"explorer\thttp://a", "\"C:\\Windows\\explorer.exe\"\thttp://a"},
        // A folder or drive given by the caller is the caller's choice.
        CommandLineCase{R"(.\explorer.exe http://a)", R"(.\explorer.exe http://a)"},
        CommandLineCase{R"("D:\Tools\explorer.exe" a)", R"("D:\Tools\explorer.exe" a)"},
        CommandLineCase{"notepad explorer", "notepad explorer"},
        CommandLineCase{"explorerx a", "explorerx a"},
        CommandLineCase{R"("explorer a)", R"("explorer a)"}, CommandLineCase{"", ""}));

TEST(SystemProgramPath, TheWindowsFolderHoldsExplorer) {
    const std::wstring folder = windows_folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(GetFileAttributesW((folder + L"\\explorer.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace tapster::win32
