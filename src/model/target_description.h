#pragma once

#include <string>

#include "model/target.h"

namespace tapster {

// What a target waits for and does, in words a user reads: "Presses OK in 'Backup finished'
// (backup.exe) when it says 'Backup of * done'", and whether it clicks the mouse after, or
// why it presses nothing.
std::string describe_target(const Target& target);

}  // namespace tapster
