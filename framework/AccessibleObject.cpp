#include "framework/AccessibleObject.h"

#include <commctrl.h>
#include <oleacc.h>

namespace {

// {618736E0-3C3D-11CF-810C-00AA00389B71}. MinGW's IID_IAccessible, linked
// statically, resolves to another value, and AccessibleObjectFromWindow then
// answers E_NOINTERFACE.
constexpr GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID kIDispatch = {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT AnswerText(const std::wstring& text, BSTR* out)
{
    if (out == nullptr)
        return E_INVALIDARG;
    *out = ::SysAllocString(text.c_str());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The standard object with the facts laid over it; everything else is the
// standard object's answer.
class LaidOverAccessible : public IAccessible {
public:
    LaidOverAccessible(HWND window, IAccessible* standard, const AccessibleFacts& facts)
        : m_window(window), m_standard(standard), m_facts(facts)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        if (id == kIUnknown || id == kIDispatch || id == kIAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0) {
            m_standard->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override
    {
        return m_standard->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override
    {
        return m_standard->Invoke(member, id, locale, flags, parameters, result, exception, argumentError);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (IsSelf(child) && !m_facts.name.empty())
            return AnswerText(m_facts.name, name);
        return m_standard->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (IsSelf(child) && m_facts.role != 0 && role != nullptr) {
            role->vt = VT_I4;
            role->lVal = m_facts.role;
            return S_OK;
        }
        return m_standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        if (IsSelf(child) && !m_facts.value.empty())
            return AnswerText(m_facts.value, value);
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (IsSelf(child) && !m_facts.defaultAction.empty())
            return AnswerText(m_facts.defaultAction, action);
        return m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!IsSelf(child) || m_facts.doDefaultAction == nullptr)
            return m_standard->accDoDefaultAction(child);
        if (!::IsWindow(m_window))
            return E_FAIL;  // the control is gone: nothing to do
        m_facts.doDefaultAction(m_window);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return m_standard->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return m_standard->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return m_standard->get_accHelp(child, text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accKeyboardShortcut(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return m_standard->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return m_standard->get_accSelection(children); }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return m_standard->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override { return m_standard->accHitTest(x, y, child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return m_standard->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return m_standard->put_accValue(child, value);
    }

private:
    virtual ~LaidOverAccessible() = default;

    LONG m_references = 1;
    HWND m_window;
    IAccessible* m_standard;
    AccessibleFacts m_facts;
};

constexpr UINT_PTR kNameSubclassId = 1;
const wchar_t kNameProperty[] = L"NumveraAccessibleName";

std::wstring* NameOf(HWND control) { return static_cast<std::wstring*>(::GetPropW(control, kNameProperty)); }

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                  DWORD_PTR /*data*/)
{
    std::wstring* name = NameOf(control);
    if (message == WM_GETOBJECT && name != nullptr) {
        AccessibleFacts facts;
        facts.name = *name;
        if (const LRESULT answer = AnswerAccessibleObject(control, wParam, lParam, facts))
            return answer;
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(control, NamedControlProc, kNameSubclassId);
        ::RemovePropW(control, kNameProperty);
        delete name;
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleFacts& facts)
{
    // The object id is a DWORD: sign extension would hide OBJID_CLIENT.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT))
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&standard))))
        return 0;
    auto* object = new LaidOverAccessible(window, standard, facts);
    const LRESULT answer = ::LresultFromObject(kIAccessible, wParam, static_cast<IAccessible*>(object));
    object->Release();  // the reference is the client's now, or the object goes
    return answer > 0 ? answer : 0;
}

void GiveAccessibleName(HWND control, const std::wstring& name)
{
    if (std::wstring* given = NameOf(control)) {
        *given = name;
        return;
    }
    auto* kept = new std::wstring(name);
    if (!::SetPropW(control, kNameProperty, kept) || !::SetWindowSubclass(control, NamedControlProc, kNameSubclassId, 0)) {
        ::RemovePropW(control, kNameProperty);
        delete kept;
    }
}
