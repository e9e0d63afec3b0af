// The settings file on Windows, on real files under Wine: the shared conformance suite, and
// what only Windows does (files held open without sharing, UTF-16 names).
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "settings/settings_file_conformance.h"
#include "settings/system_settings_file.h"
#include "win32/wide_string.h"

namespace fs = std::filesystem;

// The settings file under test, named as CTest shows the conformance tests; outside any
// namespace so that the name stays short.
struct Win32SettingsFiles {
    static fs::path make_test_folder() {
        static int made = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        fs::create_directories(temp);
        // Wine hands out process ids again soon, and a folder that an earlier test process
        // left may not be removable: a name already taken is passed over.
        for (;;) {
            const fs::path folder =
                fs::path(temp) / (L"tapster-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++made));
            if (fs::create_directory(folder)) {
                return folder;
            }
        }
    }
    // A host link whose file went first shows in Wine as nothing, which Wine cannot remove:
    // the host removes what is left.
    static void remove_test_folder(const fs::path& folder) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        if (const auto unix_folder = unix_path(folder); unix_folder && fs::exists(folder)) {
            run_on_host("rm -rf '" + *unix_folder + "'");
        }
    }
    static unsigned long own_process_id() { return GetCurrentProcessId(); }
    // Far above any process id Windows (or Wine) hands out.
    static unsigned long ended_process_id() { return 0xFFFFFFF0UL; }
    static bool make_read_only(const fs::path& path) {
        return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
    }
    static void make_writable(const fs::path& path) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // Windows keeps a user out of a folder through its access list, which Wine does not
    // enforce, and Wine runs as root here. Under Wine the host's immutable flag closes the
    // folder to everyone instead.
    static std::optional<std::string> in_read_only_folder(
        const fs::path& folder, const std::function<std::string()>& check) {
        const std::optional<std::string> unix_folder = unix_path(folder);
        if (!unix_folder || !run_on_host("chattr +i '" + *unix_folder + "'")) {
            return std::nullopt;
        }
        std::optional<std::string> outcome;
        if (std::ofstream(folder / "probe")) {
            fs::remove(folder / "probe");
        } else {
            outcome = check();
        }
        run_on_host("chattr -i '" + *unix_folder + "'");
        return outcome;
    }
    // Wine 8's CreateSymbolicLinkW makes nothing and says it did; the host's links show in
    // Wine as the files they name, as a link to a roaming folder would on Windows.
    static bool make_symbolic_link(const fs::path& link, const fs::path& target) {
        const auto exists = [&] {
            return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
        };
        if (CreateSymbolicLinkW(link.c_str(), target.c_str(),
                                SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != FALSE &&
            exists()) {
            return true;
        }
        const auto unix_link = unix_path(link);
        const auto unix_target = unix_path(target);
        return unix_link && unix_target &&
               run_on_host("ln -s '" + *unix_target + "' '" + *unix_link + "'") && exists();
    }
    static int threads() {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        int count = 0;
        for (BOOL more = Thread32First(snapshot, &entry); more != FALSE;
             more = Thread32Next(snapshot, &entry)) {
            count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
        }
        CloseHandle(snapshot);
        return count;
    }
    // GetProcessHandleCount gives 0 under Wine 8; the system's list of handles is right.
    static int open_handles() {
        struct Handle {
            ULONG owner;
            BYTE type;
            BYTE flags;
            USHORT value;
            PVOID object;
            ACCESS_MASK access;
        };
        constexpr auto kHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
        constexpr auto kTooSmall = static_cast<NTSTATUS>(0xC0000004L);
        std::vector<char> buffer(1 << 20);
        NTSTATUS status = kTooSmall;
        while ((status = NtQuerySystemInformation(kHandleInformation, buffer.data(),
                                                  static_cast<ULONG>(buffer.size()), nullptr)) ==
               kTooSmall) {
            buffer.resize(buffer.size() * 2);
        }
        if (status != 0) {
            return -1;
        }
        ULONG listed = 0;
        std::memcpy(&listed, buffer.data(), sizeof listed);
        const auto* handles = reinterpret_cast<const Handle*>(buffer.data() + sizeof(void*));
        int count = 0;
        for (ULONG index = 0; index < listed; ++index) {
            count += handles[index].owner == GetCurrentProcessId() ? 1 : 0;
        }
        return count;
    }

  private:
    static std::optional<std::string> unix_path(const fs::path& path) {
        using UnixName = char*(CDECL*)(const wchar_t*);
        const auto to_unix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
        char* name = to_unix == nullptr ? nullptr : to_unix(path.c_str());
        if (name == nullptr) {
            return std::nullopt;
        }
        std::string text(name);
        HeapFree(GetProcessHeap(), 0, name);
        return text;
    }
    // Wine starts a program of the host when given its unix path, without waiting for it:
    // the shell leaves its exit code in a file, which is awaited.
    static bool run_on_host(const std::string& command) {
        const fs::path done = make_test_folder() / "done";
        const std::optional<std::string> unix_done = unix_path(done);
        if (!unix_done) {
            return false;
        }
        std::wstring line = tapster::win32::to_wide("/bin/sh -c \"" + command + "; echo $? > '" +
                                                    *unix_done + "'\"");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process) == FALSE) {
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        int code = -1;
        for (int waited = 0; waited < 500 && code == -1; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::ifstream(done) >> code;
        }
        fs::remove_all(done.parent_path());
        return code == 0;
    }
};

namespace tapster::win32 {
namespace {

using conformance::contents_of;
using platform::Status;

using namespace conformance;  // the suite's macros need its plain name
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SettingsFileConformance, ::Win32SettingsFiles);

class Win32SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = ::Win32SettingsFiles::make_test_folder();
        path = root / L"settings.json";
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    fs::path path;
};

TEST_F(Win32SettingsFileTest, AReplacementThatCannotBeWrittenLeavesTheOldFileWhole) {
    const auto file = open_settings_file(path);
    ASSERT_TRUE(file->replace("old"));
    // Another program holds the file open without sharing: the rename cannot happen.
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    const Status status = file->replace("new");
    CloseHandle(holder);

    EXPECT_TRUE(status.failed());
    EXPECT_FALSE(status.message().empty());
    EXPECT_EQ(contents_of(path), "old");
}

TEST(WideString, RoundTripsTextOutsideAnyCodePage) {
    const std::string text = "Überprüfung — 確認 😀";
    EXPECT_EQ(win32::to_utf8(win32::to_wide(text)), text);
    EXPECT_EQ(win32::to_wide("OK"), L"OK");
    EXPECT_EQ(win32::to_utf8(L""), "");
}

}  // namespace
}  // namespace tapster::win32
