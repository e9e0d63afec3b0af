#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tapster {

// Pieces of LockedSettingsFile that tests and the sweep name on their own.

// How long one copy waits for another to finish with the settings. A copy that stops while
// holding the lock (a debugger, a message box in the wrong place) must not hang the others.
inline constexpr std::chrono::milliseconds kSettingsLockWait{2000};

// `path` with an ASCII suffix added to its file name.
std::filesystem::path with_suffix(const std::filesystem::path& path, std::string_view suffix);
// Where the copy with that process id writes its new settings before renaming them.
std::filesystem::path temporary_path(const std::filesystem::path& settings,
                                     unsigned long process_id);

// Moves a damaged file to "<path>.bad-<timestamp>", adding "-2", "-3"... when that name is
// taken. `move` tries one name and sets `name_taken` instead of failing when it exists.
using TryMove = std::function<platform::Status(const std::filesystem::path& to, bool& name_taken)>;
platform::Status keep_aside(const std::filesystem::path& path, std::string_view timestamp,
                            std::filesystem::path& kept_as, const TryMove& move);

// Removes "<settings>.tmp-<id>" files whose process has ended: a copy killed while writing
// leaves one that no one else would ever clean up.
void remove_stale_temporary_files(const std::filesystem::path& settings,
                                  const std::function<bool(unsigned long id)>& process_running);

}  // namespace tapster
