#include "win32/win32_policy.h"

#include <windows.h>

#include <string_view>
#include <utility>

#include "win32/scoped_handles.h"
#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

using platform::Policy;
using platform::PolicyKey;
using platform::PolicyValue;

constexpr DWORD kLongestName = 16383;  // of a registry value, in characters

PolicyKey unreadable() {
    PolicyKey key;
    key.state = PolicyKey::State::unreadable;
    return key;
}

// A registry text into UTF-8. Its end may or may not carry zero characters; one inside, or an
// unpaired surrogate, makes it no text.
PolicyValue::Flaw text_from(std::wstring_view data, std::string& text) {
    while (!data.empty() && data.back() == L'\0') {
        data.remove_suffix(1);
    }
    if (data.size() > Policy::kLongestText) {
        return PolicyValue::Flaw::too_long;
    }
    if (data.find(L'\0') != std::wstring_view::npos) {
        return PolicyValue::Flaw::not_text;
    }
    text.clear();
    if (data.empty()) {
        return PolicyValue::Flaw::none;
    }
    const int length = static_cast<int>(data.size());
    const int needed = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, data.data(), length,
                                           nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return PolicyValue::Flaw::not_text;
    }
    text.assign(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, data.data(), length, text.data(), needed,
                        nullptr, nullptr);
    return PolicyValue::Flaw::none;
}

// Reads one value whose type and size the enumeration reported; false when it changed since.
bool read_value(HKEY key, const std::wstring& name, DWORD type, DWORD bytes, PolicyValue& value) {
    DWORD read_type = 0;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        value.type = PolicyValue::Type::text;
        // Not even read when longer than any text taken: an odd byte or two zeros at the end
        // are allowed for.
        if (bytes / sizeof(wchar_t) > Policy::kLongestText + 2) {
            value.flaw = PolicyValue::Flaw::too_long;
            return true;
        }
        std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key, name.c_str(), nullptr, &read_type,
                             reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
            read_type != type) {
            return false;
        }
        data.resize(size / sizeof(wchar_t));
        value.flaw = text_from(data, value.text);
        return true;
    }
    if (type == REG_DWORD && bytes == sizeof(DWORD)) {
        value.type = PolicyValue::Type::number;
        DWORD number = 0;
        DWORD size = sizeof number;
        if (RegQueryValueExW(key, name.c_str(), nullptr, &read_type,
                             reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
            read_type != REG_DWORD || size != sizeof number) {
            return false;
        }
        value.number = number;
        return true;
    }
    value.type = PolicyValue::Type::other;
    return true;
}

}  // namespace

Win32Policy::Win32Policy(std::wstring base) : base_(std::move(base)) {}

std::wstring Win32Policy::default_base() {
    return to_wide(platform::policy_keys::kTapster);
}

PolicyKey Win32Policy::read(Scope scope, std::string_view subkey) {
    std::wstring path = base_;
    if (!subkey.empty()) {
        path += L"\\" + to_wide(subkey);
    }
    HKEY opened = nullptr;
    const LSTATUS open_error =
        RegOpenKeyExW(scope == Scope::machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      path.c_str(), 0, KEY_QUERY_VALUE, &opened);
    if (open_error == ERROR_FILE_NOT_FOUND || open_error == ERROR_PATH_NOT_FOUND) {
        return {};  // nothing set
    }
    if (open_error != ERROR_SUCCESS) {
        return unreadable();
    }
    const ScopedRegistryKey key(opened);
    PolicyKey result;
    result.state = PolicyKey::State::read;
    std::wstring name(kLongestName + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD name_length = kLongestName + 1;
        DWORD type = 0;
        DWORD bytes = 0;
        const LSTATUS error = RegEnumValueW(key.get(), index, name.data(), &name_length, nullptr,
                                            &type, nullptr, &bytes);
        if (error == ERROR_NO_MORE_ITEMS) {
            return result;
        }
        if (error != ERROR_SUCCESS) {
            return unreadable();
        }
        if (result.values.size() >= kMostValues) {
            ++result.values_not_read;
            continue;
        }
        const std::wstring value_name(name.data(), name_length);
        PolicyValue value;
        value.name = to_utf8(value_name);
        // A value that changed under the enumeration: the change will be announced, and read
        // then; until then what applies stays.
        if (!read_value(key.get(), value_name, type, bytes, value)) {
            return unreadable();
        }
        result.values.push_back(std::move(value));
    }
}

bool announces_policy_change(const wchar_t* setting) {
    return setting != nullptr &&
           CompareStringOrdinal(setting, -1, L"Policy", -1, TRUE) == CSTR_EQUAL;
}

}  // namespace tapster::win32
