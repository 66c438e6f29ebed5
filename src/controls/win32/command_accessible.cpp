#include "controls/win32/command_accessible.h"

#include <oleacc.h>

#include "controls/win32/command_button_window.h"

namespace vellumar::win32 {

namespace {

constexpr IID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr IID kIOleWindow = {
    0x00000114, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// oleacc.dll, loaded on first use and kept until the process ends: the
// program links no import library for it.
class AccessibilityLibrary {
  public:
    using CreateStdFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using ResultFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

    static const AccessibilityLibrary& Get() {
        static const AccessibilityLibrary library;
        return library;
    }
    ~AccessibilityLibrary() {
        if (module_)
            ::FreeLibrary(module_);
    }
    AccessibilityLibrary(const AccessibilityLibrary&) = delete;
    AccessibilityLibrary& operator=(const AccessibilityLibrary&) = delete;

    CreateStdFn create_std = nullptr;
    ResultFn result_from_object = nullptr;

  private:
    AccessibilityLibrary() : module_(::LoadLibraryW(L"oleacc.dll")) {
        if (!module_)
            return;
        create_std = reinterpret_cast<CreateStdFn>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module_, "CreateStdAccessibleObject")));
        result_from_object = reinterpret_cast<ResultFn>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module_, "LresultFromObject")));
    }
    HMODULE module_;
};

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// One COM object with one identity: it hands out only its own interfaces,
// so IUnknown queried from any of them is the same pointer. The standard
// object answers what a push button has no answer of its own for, but it is
// never handed out itself.
class CommandAccessible final : public IAccessible, public IOleWindow {
  public:
    CommandAccessible(HWND hwnd, IAccessible* standard) : hwnd_(hwnd), standard_(standard) {}

    // IUnknown, shared by both bases; IAccessible's is the identity.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIAccessible)
            *out = static_cast<IAccessible*>(this);
        else if (iid == kIOleWindow)
            *out = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(::InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = ::InterlockedDecrement(&refs_);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* arg_error) override {
        return standard_->Invoke(id, iid, lcid, flags, params, result, exception, arg_error);
    }

    // IAccessible: a push button's answers for the object itself, the
    // standard ones for everything else.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || role == nullptr)
            return standard_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT hr = standard_->get_accState(child, state);
        if (FAILED(hr) || !IsSelf(child) || state == nullptr || state->vt != VT_I4)
            return hr;
        if (const CommandButton* model = Model()) {
            if (model->ButtonState() == kStateDown)
                state->lVal |= STATE_SYSTEM_PRESSED;
            if (model->DisplayAsDefault())
                state->lVal |= STATE_SYSTEM_DEFAULT;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child) || action == nullptr)
            return standard_->get_accDefaultAction(child, action);
        *action = ::SysAllocString(L"Press");
        return *action ? S_OK : E_OUTOFMEMORY;
    }
    // Posted, so the click runs from the message loop and not inside the
    // assistive tool's call.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child))
            return standard_->accDoDefaultAction(child);
        if (!::IsWindow(hwnd_))
            return E_FAIL;
        return ::PostMessageW(hwnd_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

    // IOleWindow: the button's own window.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (window == nullptr)
            return E_POINTER;
        *window = hwnd_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  private:
    ~CommandAccessible() { standard_->Release(); }

    // The model while the window lives; nothing once it is gone.
    const CommandButton* Model() const {
        if (!::IsWindow(hwnd_))
            return nullptr;
        const auto* window =
            dynamic_cast<const CommandButtonWindow*>(SubclassedControl::FromHandle(hwnd_));
        return window ? &window->Model() : nullptr;
    }

    LONG refs_ = 1;
    HWND hwnd_;
    IAccessible* standard_;
};

}  // namespace

IAccessible* CreateCommandAccessible(HWND hwnd) {
    const AccessibilityLibrary& library = AccessibilityLibrary::Get();
    if (!library.create_std)
        return nullptr;
    IAccessible* standard = nullptr;
    if (FAILED(library.create_std(hwnd, OBJID_CLIENT, kIAccessible,
                                  reinterpret_cast<void**>(&standard))) ||
        standard == nullptr) {
        return nullptr;
    }
    return new CommandAccessible(hwnd, standard);
}

LRESULT CommandAccessibleResult(HWND hwnd, WPARAM wparam) {
    const AccessibilityLibrary& library = AccessibilityLibrary::Get();
    if (!library.result_from_object)
        return 0;
    IAccessible* accessible = CreateCommandAccessible(hwnd);
    if (accessible == nullptr)
        return 0;
    const LRESULT result = library.result_from_object(kIAccessible, wparam, accessible);
    accessible->Release();
    return result;
}

}  // namespace vellumar::win32
