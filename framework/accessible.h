#pragma once
#include <windows.h>

#include <string>

#include "framework/wnd.h"

// What a window tells accessibility tools (a screen reader) about itself in
// place of what the system's standard object for it says: a name for a
// control that has no label before it, a role the system cannot know.
// Empty or zero leaves the standard object's own.
struct AccessibleOverrides {
    std::wstring name;
    LONG role = 0;
    LONG addedStates = 0;
};

// The answer to WM_GETOBJECT: for the window's client object, the system's
// standard accessible object with the overrides; 0 (the system's own
// answer) for any other object, or when the accessibility DLL is missing.
// Nothing of this is loaded before a tool asks.
LRESULT AnswerGetObject(HWND hWnd, WPARAM wParam, LPARAM lParam, const AccessibleOverrides& overrides);

// A window object whose window tells screen readers the given name.
template <class Base>
class CAccessiblyNamed : public Base {
public:
    explicit CAccessiblyNamed(std::wstring name) : m_strAccessibleName(std::move(name)) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETOBJECT)
            if (const LRESULT answer = AnswerGetObject(this->m_hWnd, wParam, lParam, {m_strAccessibleName}))
                return answer;
        return Base::WindowProc(message, wParam, lParam);
    }

    const std::wstring m_strAccessibleName;
};
