#pragma once

#include <string>

#include "platform/policy.h"

namespace tapster::win32 {

// The administrator's settings in the registry: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER,
// Software\Policies\Tapster and its subkeys. Only read; REG_EXPAND_SZ values are taken as
// written, since a window's title may hold a % of its own.
class Win32Policy : public platform::Policy {
  public:
    // base: the key under each hive; tests read another one.
    explicit Win32Policy(std::wstring base = default_base());
    platform::PolicyKey read(Scope scope, std::string_view subkey) override;

    static std::wstring default_base();

  private:
    std::wstring base_;
};

// Whether the setting a WM_SETTINGCHANGE names is "Policy": Group Policy announces so that
// it applied new settings.
bool announces_policy_change(const wchar_t* setting);

}  // namespace tapster::win32
