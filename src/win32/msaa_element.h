#pragma once

#include <windows.h>

#include <oleacc.h>

#include "platform/accessible_element.h"
#include "win32/com_pointer.h"

namespace tapster::win32 {

// An element of another program's accessible tree through IAccessible: an object of its own
// (CHILDID_SELF), or a simple element that its parent object answers for by number. Every call
// goes to the other program and waits for it; use it only on a thread that may wait.
class MsaaElement : public platform::AccessibleElement {
  public:
    // Names are read up to this many UTF-16 units, whatever length the other program sends.
    static constexpr std::size_t kLongestNameUnits = 4096;

    MsaaElement(ComPointer<IAccessible> object, LONG child_id)
        : object_(std::move(object)), child_id_(child_id) {}

    long role() override;
    std::uint32_t state() override;
    std::string name() override;
    std::vector<std::unique_ptr<AccessibleElement>> children(std::size_t most) override;
    bool do_default_action() override;

  private:
    VARIANT self() const;

    ComPointer<IAccessible> object_;
    LONG child_id_;
};

}  // namespace tapster::win32
