#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tapster {

// The title of a captured button's window as the capture records it, and whether the window's
// own title began or ended with spaces. A target's fields lose their surrounding spaces when
// the target is read back, so such a title would never match its window again.
struct CapturedTitle {
    std::string recorded;
    bool lost_spaces = false;
};

// Records a title read into a buffer of buffer_chars UTF-16 units (the read holds at most
// buffer_chars - 1). A read that fills the buffer was cut, so its first buffer_chars - 2
// units are kept and `*` stands for the rest; a surrogate pair is never split. Surrounding
// spaces are removed; only leading ones count as lost when the end is a `*`.
CapturedTitle record_title(std::string_view read, std::size_t buffer_chars);

}  // namespace tapster
