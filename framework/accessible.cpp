#include "framework/accessible.h"

#include <oleacc.h>

#include "framework/system_library.h"

namespace {
bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object with the overrides: every call but those for the
// window's own name, role and states goes to the standard object.
class AccessibleProxy final : public IAccessible {
public:
    AccessibleProxy(IAccessible* standard, const AccessibleOverrides& overrides)
        : m_standard(standard), m_overrides(overrides)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The standard object's other interfaces (IEnumVARIANT, IOleWindow).
        return m_standard->QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&m_references);
        if (left == 0) {
            m_standard->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override
    {
        return m_standard->GetIDsOfNames(riid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override
    {
        return m_standard->Invoke(id, riid, locale, flags, params, result, exception, argument);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!IsSelf(child) || m_overrides.name.empty())
            return m_standard->get_accName(child, name);
        static const auto allocate = SystemFunction<decltype(&SysAllocString)>("oleaut32.dll", "SysAllocString");
        *name = allocate ? allocate(m_overrides.name.c_str()) : nullptr;
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!IsSelf(child) || !m_overrides.role)
            return m_standard->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = m_overrides.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        const HRESULT result = m_standard->get_accState(child, state);
        if (SUCCEEDED(result) && IsSelf(child) && state->vt == VT_I4)
            state->lVal |= m_overrides.addedStates;
        return result;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return m_standard->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return m_standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return m_standard->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return m_standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return m_standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override
    {
        return m_standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return m_standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return m_standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return m_standard->put_accValue(child, value);
    }

private:
    ~AccessibleProxy() = default;

    LONG m_references = 1;
    IAccessible* m_standard;
    const AccessibleOverrides m_overrides;
};
}  // namespace

LRESULT AnswerGetObject(HWND hWnd, WPARAM wParam, LPARAM lParam, const AccessibleOverrides& overrides)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    static const auto createStandard =
        SystemFunction<decltype(&CreateStdAccessibleObject)>("oleacc.dll", "CreateStdAccessibleObject");
    static const auto answer = SystemFunction<decltype(&LresultFromObject)>("oleacc.dll", "LresultFromObject");
    // The object is marshalled to the asking process through COM, which this
    // thread has from the first request on (and keeps: the tool may ask again).
    static const HRESULT com = CoInitialize(nullptr);
    IAccessible* standard = nullptr;
    if (FAILED(com) || !createStandard || !answer ||
        FAILED(createStandard(hWnd, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))))
        return 0;
    auto* proxy = new AccessibleProxy(standard, overrides);
    const LRESULT result = answer(IID_IAccessible, wParam, proxy);
    proxy->Release();
    return result;
}
