// Where the settings file lives on Windows.
#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "model/application_name.h"
#include "settings/system_settings_file.h"
#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

// A string the shell allocated for us; it must go back through CoTaskMemFree even when the
// call that filled it failed.
class CoTaskString {
  public:
    CoTaskString() = default;
    ~CoTaskString() { CoTaskMemFree(text_); }
    CoTaskString(const CoTaskString&) = delete;
    CoTaskString& operator=(const CoTaskString&) = delete;

    PWSTR* out() { return &text_; }
    const wchar_t* get() const { return text_; }

  private:
    PWSTR text_ = nullptr;
};

}  // namespace

}  // namespace tapster::win32

namespace tapster {

// The roaming profile, so the settings follow the user between machines.
std::filesystem::path default_settings_path() {
    win32::CoTaskString folder;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, folder.out())) ||
        folder.get() == nullptr) {
        return {};
    }
    return std::filesystem::path(folder.get()) / win32::to_wide(kApplicationName) /
           L"settings.json";
}

}  // namespace tapster
