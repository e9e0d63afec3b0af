#include "win32/msaa_element.h"

#include <algorithm>

#include "win32/wide_string.h"

namespace tapster::win32 {

namespace {

// However many children a program claims, no more are fetched at once.
constexpr std::size_t kMostChildrenAsked = 65536;

// The children AccessibleChildren hands out, each cleared at the end.
class ChildVariants {
  public:
    explicit ChildVariants(std::size_t count) : variants_(count) {
        for (VARIANT& variant : variants_) {
            VariantInit(&variant);
        }
    }
    ~ChildVariants() {
        for (VARIANT& variant : variants_) {
            VariantClear(&variant);
        }
    }
    ChildVariants(const ChildVariants&) = delete;
    ChildVariants& operator=(const ChildVariants&) = delete;

    VARIANT* data() { return variants_.data(); }
    VARIANT& operator[](std::size_t index) { return variants_[index]; }

  private:
    std::vector<VARIANT> variants_;
};

}  // namespace

VARIANT MsaaElement::self() const {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = child_id_;
    return child;
}

long MsaaElement::role() {
    ScopedVariant role;
    if (FAILED(object_->get_accRole(self(), role.receive())) || role.get().vt != VT_I4) {
        return 0;  // a role given as a text is no standard role
    }
    return role.get().lVal;
}

std::uint32_t MsaaElement::state() {
    ScopedVariant state;
    if (FAILED(object_->get_accState(self(), state.receive())) || state.get().vt != VT_I4) {
        return 0;
    }
    return static_cast<std::uint32_t>(state.get().lVal);
}

std::string MsaaElement::name() {
    ScopedBstr name;
    if (object_->get_accName(self(), name.receive()) != S_OK) {
        return {};
    }
    const std::wstring_view units = name.view();
    return to_utf8(units.substr(0, std::min(units.size(), kLongestNameUnits)));
}

std::vector<std::unique_ptr<platform::AccessibleElement>> MsaaElement::children(std::size_t most) {
    std::vector<std::unique_ptr<platform::AccessibleElement>> children;
    LONG claimed = 0;
    // A simple element has no children; its parent answers for it.
    if (child_id_ != CHILDID_SELF || FAILED(object_->get_accChildCount(&claimed)) || claimed <= 0) {
        return children;
    }
    const auto count =
        static_cast<LONG>(std::min({static_cast<std::size_t>(claimed), most, kMostChildrenAsked}));
    ChildVariants variants(static_cast<std::size_t>(count));
    LONG obtained = 0;
    if (FAILED(AccessibleChildren(object_.get(), 0, count, variants.data(), &obtained))) {
        return children;
    }
    for (LONG index = 0; index < std::clamp<LONG>(obtained, 0, count); ++index) {
        const VARIANT& child = variants[static_cast<std::size_t>(index)];
        if (child.vt == VT_DISPATCH && child.pdispVal != nullptr) {
            ComPointer<IAccessible> object;
            if (SUCCEEDED(
                    child.pdispVal->QueryInterface(__uuidof(IAccessible), object.receive_void())) &&
                object) {
                children.push_back(std::make_unique<MsaaElement>(std::move(object), CHILDID_SELF));
            }
        } else if (child.vt == VT_I4 && child.lVal != CHILDID_SELF) {
            children.push_back(std::make_unique<MsaaElement>(object_, child.lVal));
        }
    }
    return children;
}

bool MsaaElement::do_default_action() {
    return SUCCEEDED(object_->accDoDefaultAction(self()));
}

}  // namespace tapster::win32
