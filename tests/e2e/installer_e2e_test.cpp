// The installer and the portable zip, on the Wine prefix's user, and the MSI for the whole
// machine: what they put where, and what uninstalling takes away again.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tapster";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kMachineUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

fs::path known_folder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    SHGetKnownFolderPath(id, 0, nullptr, &path);
    fs::path folder(path);
    CoTaskMemFree(path);
    return folder;
}

fs::path install_dir() {
    return known_folder(FOLDERID_LocalAppData) / L"Programs" / L"Tapster";
}
fs::path shortcut() {
    return known_folder(FOLDERID_Programs) / L"Tapster.lnk";
}

std::optional<std::wstring> registry_text(const wchar_t* key, const wchar_t* value,
                                          HKEY root = HKEY_CURRENT_USER) {
    wchar_t text[512] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(text);
}

// Runs a Windows program to its end.
DWORD run(const fs::path& program, const std::wstring& arguments) {
    DWORD error = 0;
    const HANDLE process =
        driver::start_process(L"\"" + program.wstring() + L"\" " + arguments, error);
    if (process == nullptr) {
        ADD_FAILURE() << "cannot start " << program << ": error " << error;
        return static_cast<DWORD>(-1);
    }
    WaitForSingleObject(process, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

std::set<std::string> files_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class Installer : public ::testing::Test {
  protected:
    void SetUp() override { uninstall(); }
    void TearDown() override { uninstall(); }

    static fs::path setup() {
        return driver::windows_path(packages_dir() + "/Tapster-" + version() + "-setup.exe");
    }
    static void uninstall() {
        const fs::path uninstaller = install_dir() / L"uninstall.exe";
        if (fs::exists(uninstaller)) {
            run(uninstaller, L"/S");
            // The uninstaller hands over to a copy of itself and returns at once; removing
            // its entry in Apps & features is its last step.
            driver::wait_until([] { return !fs::exists(install_dir()); }, 20000ms);
            driver::wait_until(
                [] { return !registry_text(kUninstallKey, L"DisplayName").has_value(); }, 10000ms);
        }
    }
};

TEST_F(Installer, InstallsSilentlyForTheUserAndUninstallsKeepingTheSettings) {
    ASSERT_EQ(run(setup(), L"/S"), 0U);

    EXPECT_EQ(files_in(install_dir()),
              (std::set<std::string>{"LICENSE.txt", "README.txt", "tapster.exe", "uninstall.exe"}));
    EXPECT_TRUE(fs::exists(shortcut()));
    EXPECT_EQ(registry_text(kUninstallKey, L"DisplayVersion"), driver::widen(version()));
    EXPECT_EQ(registry_text(kUninstallKey, L"Publisher"), L"Example Publisher");
    EXPECT_EQ(registry_text(kUninstallKey, L"QuietUninstallString"),
              L"\"" + (install_dir() / L"uninstall.exe").wstring() + L"\" /S");
    EXPECT_FALSE(registry_text(kRunKey, L"Tapster").has_value()) << "not chosen";

    driver::write_settings(R"({"Runit": {"Calibartion": "750"}})");
    driver::Tapster installed(driver::narrow((install_dir() / L"tapster.exe").wstring()));
    EXPECT_TRUE(driver::wait_until([&] { return installed.visible(); }));

    // Uninstalled while it runs: the running copy is ended first.
    run(install_dir() / L"uninstall.exe", L"/S");
    // The uninstaller runs on from a copy of itself, so its steps are waited for, not assumed.
    EXPECT_TRUE(driver::wait_until([] { return !fs::exists(install_dir()); }, 20000ms));
    EXPECT_TRUE(installed.wait_for_exit(5000ms)) << "the running copy was not ended";
    EXPECT_TRUE(driver::wait_until([] { return !fs::exists(shortcut()); }, 10000ms));
    EXPECT_TRUE(driver::wait_until(
        [] { return !registry_text(kUninstallKey, L"DisplayName").has_value(); }, 10000ms));
    EXPECT_NE(driver::read_settings().find("750"), std::string::npos) << "the user's settings go";
}

TEST_F(Installer, StartsAtSignInOnlyWhenChosenAndForgetsItOnUninstall) {
    ASSERT_EQ(run(setup(), L"/S /RUNATSIGNIN"), 0U);

    EXPECT_EQ(registry_text(kRunKey, L"Tapster"),
              L"\"" + (install_dir() / L"tapster.exe").wstring() + L"\"");

    uninstall();
    EXPECT_FALSE(registry_text(kRunKey, L"Tapster").has_value());
}

// A build given a certificate (a throw-away one, made by the test that signs its packages):
// its installer puts a signed program and a signed uninstaller in place.
class SignedPackages : public Installer {
  protected:
    // Whether osslsigncode, on the host, verifies the file against that certificate.
    static bool verified(const fs::path& file) {
        const std::string copy = "/tmp/tapster-signed-" + std::to_string(GetCurrentProcessId()) +
                                 "-" + file.filename().string();
        fs::copy_file(file, fs::path(driver::windows_path(copy)),
                      fs::copy_options::overwrite_existing);
        const bool verified =
            driver::run_host_command("osslsigncode verify -CAfile '" + signed_dir() +
                                     "/cert.pem' -in '" + copy + "' >/dev/null 2>&1") == 0;
        fs::remove(fs::path(driver::windows_path(copy)));
        return verified;
    }
};

TEST_F(SignedPackages, TheInstallerPutsASignedProgramAndASignedUninstallerInPlace) {
    const fs::path signed_setup =
        driver::windows_path(signed_dir() + "/Tapster-" + version() + "-setup.exe");
    ASSERT_EQ(run(signed_setup, L"/S"), 0U);

    EXPECT_TRUE(verified(install_dir() / L"tapster.exe"));
    EXPECT_TRUE(verified(install_dir() / L"uninstall.exe"));
    EXPECT_FALSE(verified(driver::windows_path(tapster_exe()))) << "the build's own is unsigned";
}

// For each subkey of an HKLM key whose `name_value` is "Tapster", its name and `wanted` value.
std::map<std::wstring, std::wstring> tapster_subkeys(const wchar_t* parent,
                                                     const wchar_t* name_value,
                                                     const wchar_t* wanted) {
    std::map<std::wstring, std::wstring> found;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, parent, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return found;
    }
    wchar_t name[256] = {};
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        const std::wstring key = std::wstring(parent) + L"\\" + name;
        if (registry_text(key.c_str(), name_value, HKEY_LOCAL_MACHINE) == L"Tapster") {
            found[name] = registry_text(key.c_str(), wanted, HKEY_LOCAL_MACHINE).value_or(L"");
        }
    }
    RegCloseKey(opened);
    return found;
}

// The MSI's entries in Apps & features: product code and version.
std::map<std::wstring, std::wstring> msi_products() {
    return tapster_subkeys(kMachineUninstall, L"DisplayName", L"DisplayVersion");
}

fs::path machine_dir() {
    return known_folder(FOLDERID_ProgramFiles) / L"Tapster";
}
// Windows puts a per-machine package's shortcut into every user's Start menu; Wine's
// Windows Installer into the installing user's.
bool machine_shortcut_exists() {
    return fs::exists(known_folder(FOLDERID_CommonPrograms) / L"Tapster.lnk") ||
           fs::exists(shortcut());
}

class Msi : public ::testing::Test {
  protected:
    void SetUp() override { uninstall_all(); }
    void TearDown() override { uninstall_all(); }

    static std::wstring package(const std::string& unix_path) {
        return L"\"" + driver::windows_path(unix_path) + L"\"";
    }
    static std::wstring current() {
        return package(packages_dir() + "/Tapster-" + version() + ".msi");
    }
    static std::wstring older() { return package(TAPSTER_OLDER_MSI); }
    static DWORD msiexec(const std::wstring& arguments) { return run(L"msiexec.exe", arguments); }
    static void uninstall_all() {
        for (const auto& [product, installed_version] : msi_products()) {
            msiexec(L"/x " + product + L" /qn");
        }
    }
};

TEST_F(Msi, InstallsSilentlyForTheMachineAndUninstallsKeepingTheSettings) {
    ASSERT_EQ(msiexec(L"/i " + current() + L" /qn"), 0U);

    EXPECT_EQ(files_in(machine_dir()),
              (std::set<std::string>{"LICENSE.txt", "README.txt", "tapster.exe"}));
    EXPECT_TRUE(machine_shortcut_exists());
    const auto products = msi_products();
    ASSERT_EQ(products.size(), 1U);
    const std::wstring entry = std::wstring(kMachineUninstall) + L"\\" + products.begin()->first;
    EXPECT_EQ(products.begin()->second, driver::widen(version()));
    EXPECT_EQ(registry_text(entry.c_str(), L"Publisher", HKEY_LOCAL_MACHINE), L"Example Publisher");
    // The icon Apps & features shows, as Windows Installer publishes it.
    const auto icons =
        tapster_subkeys(L"Software\\Classes\\Installer\\Products", L"ProductName", L"ProductIcon");
    ASSERT_EQ(icons.size(), 1U);
    EXPECT_TRUE(fs::exists(icons.begin()->second)) << driver::narrow(icons.begin()->second);
    EXPECT_FALSE(registry_text(kRunKey, L"Tapster", HKEY_LOCAL_MACHINE).has_value())
        << "not chosen";

    driver::write_settings(R"({"Runit": {"Calibartion": "750"}})");
    driver::Tapster installed(driver::narrow((machine_dir() / L"tapster.exe").wstring()));
    EXPECT_TRUE(driver::wait_until([&] { return installed.visible(); }));

    // Uninstalled while it runs: the running copy is ended first.
    EXPECT_EQ(msiexec(L"/x " + current() + L" /qn"), 0U);
    EXPECT_TRUE(installed.wait_for_exit(5000ms)) << "the running copy was not ended";
    EXPECT_FALSE(fs::exists(machine_dir()));
    EXPECT_FALSE(machine_shortcut_exists());
    EXPECT_TRUE(msi_products().empty());
    EXPECT_NE(driver::read_settings().find("750"), std::string::npos) << "the user's settings go";
}

TEST_F(Msi, UpgradesAnOlderVersionInPlaceKeepingTheSignInStartAndUninstallsSilently) {
    const std::wstring run_entry = L"\"" + (machine_dir() / L"tapster.exe").wstring() + L"\"";
    ASSERT_EQ(msiexec(L"/i " + older() + L" /qn RUNATSIGNIN=1"), 0U);
    ASSERT_EQ(msi_products().size(), 1U);
    EXPECT_EQ(registry_text(kRunKey, L"Tapster", HKEY_LOCAL_MACHINE), run_entry);

    ASSERT_EQ(msiexec(L"/i " + current() + L" /qn"), 0U);
    const auto products = msi_products();
    ASSERT_EQ(products.size(), 1U) << "the older version stayed beside the newer";
    EXPECT_EQ(products.begin()->second, driver::widen(version()));
    EXPECT_EQ(files_in(machine_dir()),
              (std::set<std::string>{"LICENSE.txt", "README.txt", "tapster.exe"}));
    EXPECT_EQ(registry_text(kRunKey, L"Tapster", HKEY_LOCAL_MACHINE), run_entry);

    EXPECT_NE(msiexec(L"/i " + older() + L" /qn"), 0U) << "an older version replaced a newer";
    EXPECT_EQ(msi_products(), products);

    EXPECT_EQ(msiexec(L"/x " + current() + L" /qn"), 0U);
    EXPECT_TRUE(msi_products().empty());
    EXPECT_FALSE(fs::exists(machine_dir()));
    EXPECT_FALSE(registry_text(kRunKey, L"Tapster", HKEY_LOCAL_MACHINE).has_value());
}

TEST(PortableZip, HoldsTheProgramItsLicenceAndAReadmeOnly) {
    const std::string zip = packages_dir() + "/Tapster-" + version() + "-portable.zip";
    const std::string listing = "/tmp/tapster-zip-listing.txt";
    ASSERT_EQ(driver::run_host_command("unzip -Z1 '" + zip + "' > " + listing), 0);

    std::ifstream file(fs::path(driver::windows_path(listing)));
    std::set<std::string> names;
    for (std::string name; std::getline(file, name);) {
        names.insert(name);
    }
    EXPECT_EQ(names, (std::set<std::string>{"LICENSE.txt", "README.txt", "tapster.exe"}));
}

}  // namespace
}  // namespace tapster::e2e
