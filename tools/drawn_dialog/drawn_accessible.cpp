#include "drawn_accessible.h"

namespace drawn {

namespace {

constexpr long kRoleClient = ROLE_SYSTEM_CLIENT;
constexpr long kRoleGroup = ROLE_SYSTEM_GROUPING;

RECT on_screen(HWND window, RECT rect) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HRESULT text_result(const std::wstring& text, BSTR* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = SysAllocString(text.c_str());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT no_text(BSTR* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    return S_FALSE;
}

// The client area (root) or the grouping element of a nested dialog. Child ids from 1 name
// the buttons; in the nested client area child 1 is the group.
class Element : public IAccessible {
  public:
    Element(Dialog& dialog, bool is_group, Element* parent)
        : dialog_(dialog), is_group_(is_group), parent_(parent) {
        if (!is_group_ && dialog_.nested) {
            group_ = new Element(dialog_, true, this);
        }
    }
    virtual ~Element() {
        if (group_ != nullptr) {
            group_->Release();
        }
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
            riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: not needed by screen readers that speak IAccessible.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = parent_;
        if (parent_ == nullptr) {
            return S_FALSE;
        }
        parent_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (dialog_.hang_in_call_ms > 0 && !dialog_.hung_in_call) {
            dialog_.hung_in_call = true;
            Sleep(dialog_.hang_in_call_ms);  // the thread answers nothing meanwhile
        }
        *count = group_ != nullptr ? 1 : static_cast<long>(dialog_.buttons.size());
        *count += text_id() > 0 ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        *out = nullptr;
        if (group_ != nullptr && is_id(child, 1)) {
            *out = group_;
            group_->AddRef();
            return S_OK;
        }
        return button_of(child) >= 0 || is_text(child) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (Element* group = group_for(child)) {
            return group->get_accName(self(), name);
        }
        const int button = button_of(child);
        if (button >= 0) {
            return text_result(dialog_.buttons[static_cast<std::size_t>(button)].name, name);
        }
        if (is_text(child)) {
            return text_result(dialog_.text, name);
        }
        if (!is_self(child)) {
            return E_INVALIDARG;
        }
        return is_group_ ? text_result(L"Choices", name) : no_text(name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return no_text(value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
        return no_text(text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (Element* group = group_for(child)) {
            return group->get_accRole(self(), role);
        }
        role->vt = VT_I4;
        if (button_of(child) >= 0) {
            role->lVal = ROLE_SYSTEM_PUSHBUTTON;
            return S_OK;
        }
        if (is_text(child)) {
            role->lVal = ROLE_SYSTEM_STATICTEXT;
            return S_OK;
        }
        role->lVal = is_group_ ? kRoleGroup : kRoleClient;
        return is_self(child) ? S_OK : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        state->vt = VT_I4;
        state->lVal = 0;
        const int button = button_of(child);
        if (button >= 0) {
            state->lVal = dialog_.buttons[static_cast<std::size_t>(button)].disabled
                              ? STATE_SYSTEM_UNAVAILABLE
                              : STATE_SYSTEM_FOCUSABLE;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return no_text(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        *topic = 0;
        return no_text(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
        return no_text(shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        focus->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        selection->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return button_of(child) >= 0 ? text_result(L"Press", action) : no_text(action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        RECT rect{};
        const int button = button_of(child);
        if (button >= 0) {
            rect = dialog_.buttons[static_cast<std::size_t>(button)].rect;
        } else if (is_text(child)) {
            rect = dialog_.text_rect;
        } else if (is_group_ || group_for(child) != nullptr) {
            rect = dialog_.group_rect;
        } else {
            GetClientRect(dialog_.window, &rect);
        }
        rect = on_screen(dialog_.window, rect);
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
        end->vt = VT_EMPTY;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        POINT point{x, y};
        ScreenToClient(dialog_.window, &point);
        RECT client{};
        GetClientRect(dialog_.window, &client);
        hit->vt = VT_EMPTY;
        if (group_ != nullptr && PtInRect(&dialog_.group_rect, point)) {
            hit->vt = VT_DISPATCH;
            hit->pdispVal = group_;
            group_->AddRef();
            return S_OK;
        }
        if (group_ == nullptr) {
            for (std::size_t index = 0; index < dialog_.buttons.size(); ++index) {
                if (PtInRect(&dialog_.buttons[index].rect, point)) {
                    hit->vt = VT_I4;
                    hit->lVal = static_cast<long>(index) + 1;
                    return S_OK;
                }
            }
        }
        if (!PtInRect(is_group_ ? &dialog_.group_rect : &client, point)) {
            return S_FALSE;
        }
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const int button = button_of(child);
        if (button < 0) {
            return DISP_E_MEMBERNOTFOUND;
        }
        // Pressed once the call has returned, as a program's own button would be.
        PostMessageW(dialog_.window, kPressMessage, static_cast<WPARAM>(button) + 1, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    static bool is_id(const VARIANT& child, long id) {
        return child.vt == VT_I4 && child.lVal == id;
    }
    static bool is_self(const VARIANT& child) { return is_id(child, CHILDID_SELF); }
    static VARIANT self() {
        VARIANT child;
        child.vt = VT_I4;
        child.lVal = CHILDID_SELF;
        return child;
    }
    // The text's child id in the client area, after the buttons or the group; 0 for none.
    long text_id() const {
        if (is_group_ || dialog_.text.empty()) {
            return 0;
        }
        return group_ != nullptr ? 2 : static_cast<long>(dialog_.buttons.size()) + 1;
    }
    bool is_text(const VARIANT& child) const { return text_id() > 0 && is_id(child, text_id()); }
    // The group, when the child id names it.
    Element* group_for(const VARIANT& child) const {
        return group_ != nullptr && is_id(child, 1) ? group_ : nullptr;
    }
    // The button a child id names here, from 0; -1 for none.
    int button_of(const VARIANT& child) const {
        const bool holds_buttons = is_group_ || !dialog_.nested;
        if (!holds_buttons || child.vt != VT_I4 || child.lVal < 1 ||
            child.lVal > static_cast<long>(dialog_.buttons.size())) {
            return -1;
        }
        return static_cast<int>(child.lVal) - 1;
    }

    Dialog& dialog_;
    bool is_group_;
    // The root holds its group; the dialog holds the root for as long as it is open.
    Element* parent_;
    Element* group_ = nullptr;
    LONG references_ = 1;
};

}  // namespace

IAccessible* make_client_object(Dialog& dialog) {
    return new Element(dialog, false, nullptr);
}

}  // namespace drawn
