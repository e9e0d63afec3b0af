#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tapster::platform {

// One element of another program's accessible tree: what the program shows screen readers of
// a window's contents. Every answer comes from that program and may be anything: a role or
// state that could not be read is 0, a name that could not be read is empty.
class AccessibleElement {
  public:
    // The roles and state bits that decide a press or make a message, as screen readers number
    // them.
    static constexpr long kPushButtonRole = 0x2B;
    static constexpr long kStaticTextRole = 0x29;
    static constexpr std::uint32_t kUnavailableState = 0x1;

    virtual ~AccessibleElement() = default;

    virtual long role() = 0;
    virtual std::uint32_t state() = 0;
    virtual std::string name() = 0;  // UTF-8
    // At most `most` of the element's children, in the program's order.
    virtual std::vector<std::unique_ptr<AccessibleElement>> children(std::size_t most) = 0;
    // What a click would do; false when the program says it could not.
    virtual bool do_default_action() = 0;
};

}  // namespace tapster::platform
