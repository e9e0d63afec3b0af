// Where the settings file and the history of presses live on Windows.
#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "history/history_location.h"
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

// Tapster's folder in one of the user's folders; empty when the system names none.
std::filesystem::path application_folder(REFKNOWNFOLDERID known) {
    CoTaskString folder;
    if (FAILED(SHGetKnownFolderPath(known, 0, nullptr, folder.out())) || folder.get() == nullptr) {
        return {};
    }
    return std::filesystem::path(folder.get()) / to_wide(kApplicationName);
}

}  // namespace

}  // namespace tapster::win32

namespace tapster {

// The roaming profile, so the settings follow the user between machines.
std::filesystem::path default_settings_path() {
    const auto folder = win32::application_folder(FOLDERID_RoamingAppData);
    return folder.empty() ? folder : folder / L"settings.json";
}

// The local profile: what was pressed, with its windows' titles, stays on this machine.
std::filesystem::path default_history_path() {
    const auto folder = win32::application_folder(FOLDERID_LocalAppData);
    return folder.empty() ? folder : folder / L"history.jsonl";
}

}  // namespace tapster
