#pragma once

#include <filesystem>

namespace tapster {

// Where the history of presses lives, which the system layer knows: on Windows
// %LOCALAPPDATA%\<kApplicationName>\history.jsonl (model/application_name.h), in the local
// profile rather than the roaming one, since titles and messages can be private. Empty when
// the system names no such folder; Tapster then keeps no history.
std::filesystem::path default_history_path();

}  // namespace tapster
