#pragma once
#include <windows.h>

#include <string>

// A C++ object bound to a window. The binding is a comctl32 window subclass
// whose reference data is the object, so messages reach the object first and
// everything it does not handle goes on to the window's own procedure. A
// window whose own procedure calls back for every message (a dialog's) is
// bound without a subclass, through Attach.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object attached to a window, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Attaches an existing window. PreSubclassWindow runs first, with m_hWnd
    // already set. Fails when this object or the window is attached already.
    BOOL SubclassWindow(HWND hWnd);
    // Detaches again; returns the window, or nullptr when nothing was attached.
    HWND UnsubclassWindow();

    virtual BOOL DestroyWindow();
    // Offered every message of the modal loop whose target is this window or
    // one of its children, before dialog navigation; TRUE swallows it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    HWND m_hWnd = nullptr;

protected:
    virtual void PreSubclassWindow() {}

    // Binds the object to a window that hands its messages to RouteMessage by
    // itself. Fails like SubclassWindow.
    BOOL Attach(HWND hWnd);
    // Where each message of an attached window enters the object: reflection
    // to the control that sent it, then WindowProc. After the window's last
    // message the object lets go of it.
    LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Each class handles its messages in a switch here and passes the rest to
    // its base class; the last stop is DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's own procedure: the one it had before it was attached.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // A notification the parent received from this window, handed back here
    // first: WM_CTLCOLORSTATIC (answer with the brush in *pResult) and
    // WM_COMMAND. TRUE means handled, and *pResult becomes the parent's answer.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    static BOOL ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL CanAttach(HWND hWnd) const;
    void Detach();

    int m_nMessageDepth = 0;
    bool m_bDestroyedInside = false;
};

// A window's whole text, however long.
std::string GetWindowTextString(HWND hWnd);
std::wstring GetWideWindowText(HWND hWnd);
