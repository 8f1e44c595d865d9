#include "Accessible.h"

#include <string>
// windows.h first, through the header above.
#include <oleacc.h>

namespace zorby::win32 {
namespace {

using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using SysAllocStringFunction = BSTR(WINAPI*)(const OLECHAR*);
using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);

template <typename Function> Function Load(const wchar_t* library, const char* name) {
    HMODULE module = LoadLibraryW(library);
    return module != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

struct Oleacc {
    LresultFromObjectFunction lresultFromObject = nullptr;
    CreateStdAccessibleObjectFunction createStandard = nullptr;
    SysAllocStringFunction sysAllocString = nullptr;
};

// Loaded once; handing an object across to the asking program needs COM on this thread.
const Oleacc& Library() {
    static const Oleacc library = [] {
        if (const auto initialize = Load<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx")) {
            initialize(nullptr, COINIT_APARTMENTTHREADED);
        }
        return Oleacc{Load<LresultFromObjectFunction>(L"oleacc.dll", "LresultFromObject"),
                      Load<CreateStdAccessibleObjectFunction>(L"oleacc.dll", "CreateStdAccessibleObject"),
                      Load<SysAllocStringFunction>(L"oleaut32.dll", "SysAllocString")};
    }();
    return library;
}

bool Self(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's description of the control, with its own name, role and default action.
class AccessibleControl final : public IAccessible {
public:
    AccessibleControl(HWND control, AccessibleRole role, IAccessible* standard)
        : control_(control), role_(role), standard_(standard) {}
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            standard_->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: not offered; clients use the IAccessible methods.
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

    // What this control says of itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!Self(child)) {
            return E_INVALIDARG;
        }
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control_)) + 1, L'\0');
        text.resize(
            static_cast<std::size_t>(GetWindowTextW(control_, text.data(), static_cast<int>(text.size()))));
        *name = Library().sysAllocString(text.c_str());
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!Self(child)) {
            return E_INVALIDARG;
        }
        role->vt = VT_I4;
        role->lVal = role_ == AccessibleRole::PushButton ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_LINK;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!Self(child)) {
            return E_INVALIDARG;
        }
        *action = Library().sysAllocString(role_ == AccessibleRole::PushButton ? L"Press" : L"Jump");
        return *action != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!Self(child)) {
            return E_INVALIDARG;
        }
        // Posted: the question a link asks first would otherwise hold the asking program up.
        return IsWindowEnabled(control_) && PostMessageW(control_, BM_CLICK, 0, 0) ? S_OK
                                                                                   : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        *value = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        *child = nullptr;
        return E_INVALIDARG;
    }

    // What the system knows of the window.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return standard_->get_accHelp(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return standard_->get_accFocus(focus); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
        return standard_->accSelect(how, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleControl() = default;

    LONG references_ = 1;
    HWND control_;
    AccessibleRole role_;
    IAccessible* standard_;
};

} // namespace

bool AnswerGetObject(HWND control, AccessibleRole role, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) {
        return false;
    }
    const Oleacc& library = Library();
    IAccessible* standard = nullptr;
    if (library.lresultFromObject == nullptr || library.createStandard == nullptr ||
        library.sysAllocString == nullptr ||
        FAILED(library.createStandard(control, OBJID_CLIENT, __uuidof(IAccessible),
                                      reinterpret_cast<void**>(&standard))) ||
        standard == nullptr) {
        return false;
    }
    auto* accessible = new AccessibleControl(control, role, standard);
    result = library.lresultFromObject(__uuidof(IAccessible), wParam, accessible);
    accessible->Release();
    return true;
}

} // namespace zorby::win32
