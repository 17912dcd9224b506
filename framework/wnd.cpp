#include "framework/wnd.h"

#include <unordered_map>
#include <vector>

#include "framework/common_controls.h"

namespace {
const UINT_PTR kSubclassId = 0x5745584D;  // any value; it only has to be ours

// The object of every attached window, for looking it up from the handle. (The
// subclass's reference data holds it too, but GetWindowSubclass is missing
// from MinGW-w64's 64-bit import library.) Kept in the process rather than in a
// window property, which costs (framework/README.md): the modal loop looks
// objects up for every message. Never freed, so that objects destroyed during
// the process's exit can still detach.
std::unordered_map<HWND, CWnd*>& AttachedObjects()
{
    static auto* objects = new std::unordered_map<HWND, CWnd*>;
    return *objects;
}

bool IsReflected(UINT message, LPARAM lParam)
{
    return lParam != 0 && (message == WM_CTLCOLORSTATIC || message == WM_COMMAND);
}
}  // namespace

CWnd::~CWnd()
{
    if (m_hWnd && IsWindow(m_hWnd))
        Detach();
    else if (m_hWnd)
        AttachedObjects().erase(m_hWnd);  // a window that went without its last message
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    const auto found = AttachedObjects().find(hWnd);
    return found != AttachedObjects().end() ? found->second : nullptr;
}

BOOL CWnd::CanAttach(HWND hWnd) const
{
    return !m_hWnd && IsWindow(hWnd) && !FromHandlePermanent(hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!CanAttach(hWnd))
        return FALSE;
    // Looked up once, as the other subclass functions are.
    static const auto setSubclass = CommonControlsFunction<decltype(&SetWindowSubclass)>("SetWindowSubclass");
    m_hWnd = hWnd;
    PreSubclassWindow();
    if (!setSubclass || !setSubclass(hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        m_hWnd = nullptr;
        return FALSE;
    }
    AttachedObjects()[hWnd] = this;
    return TRUE;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!CanAttach(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    AttachedObjects()[hWnd] = this;
    return TRUE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd)
        Detach();
    return hWnd;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only a subclassed window comes here, so the common controls are loaded.
    // Looked up once: it serves every message a subclassed window passes on.
    static const auto defSubclassProc = CommonControlsFunction<decltype(&DefSubclassProc)>("DefSubclassProc");
    return defSubclassProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

// The one place where notifications go back to the control that sent them:
// the sender is lParam for both WM_CTLCOLORSTATIC and a control's WM_COMMAND.
BOOL CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    return child && child->OnChildNotify(message, wParam, lParam, pResult);
}

void CWnd::Detach()
{
    // A window bound through Attach has no subclass; removing none does nothing.
    static const auto removeSubclass = CommonControlsFunction<decltype(&RemoveWindowSubclass)>("RemoveWindowSubclass");
    if (removeSubclass)
        removeSubclass(m_hWnd, SubclassProc, kSubclassId);
    AttachedObjects().erase(m_hWnd);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR refData)
{
    return reinterpret_cast<CWnd*>(refData)->RouteMessage(message, wParam, lParam);
}

LRESULT CWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (IsReflected(message, lParam) && ReflectToChild(message, wParam, lParam, &result))
        return result;

    // The object lets go of the window on its last message, but only once the
    // outermost message handler has returned: an inner WM_NCDESTROY (a
    // DestroyWindow from inside a handler) must not pull the handle away from
    // the handlers still running further up.
    ++m_nMessageDepth;
    result = WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        m_bDestroyedInside = true;
    if (--m_nMessageDepth == 0 && m_bDestroyedInside) {
        m_bDestroyedInside = false;
        Detach();
    }
    return result;
}

std::string GetWindowTextString(HWND hWnd)
{
    std::vector<char> text(GetWindowTextLengthA(hWnd) + 1);
    GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::wstring GetWideWindowText(HWND hWnd)
{
    std::wstring text(GetWindowTextLengthW(hWnd) + 1, L'\0');
    text.resize(GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size())));
    return text;
}
