#pragma once

#include <string>

#include "platform/sign_in.h"

namespace tapster::win32 {

// The value "Tapster" under HKCU\Software\Microsoft\Windows\CurrentVersion\Run, holding the
// program's full path in quotes, as the installer writes it. No other key is written. The same
// value under HKLM, which the MSI writes for everyone, counts as well, and can not be removed
// here.
class Win32SignIn : public platform::SignIn {
  public:
    // program: the full path of the tapster.exe meant; by default the running one.
    explicit Win32SignIn(std::wstring program = running_program());
    bool starts_this_program() override;
    platform::Status set_starts_this_program(bool starts) override;

    static std::wstring running_program();

  private:
    std::wstring program_;
};

}  // namespace tapster::win32
