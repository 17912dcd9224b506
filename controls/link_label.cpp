#include "controls/link_label.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "controls/browser_command.h"
#include "controls/open_error_text.h"
#include <oleacc.h>

#include "framework/accessible.h"
#include "framework/ansi_text.h"
#include "framework/system_library.h"
#include "framework/message_box.h"

namespace {
const UINT_PTR kToolId = 1;
const UINT kHoverPeriodMs = 100;
const WORD kHelpHandCursor = 106;

LabelRect ToLabelRect(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

void ScreenRectToClient(HWND hWnd, RECT& r)
{
    ScreenToClient(hWnd, reinterpret_cast<POINT*>(&r.left));
    ScreenToClient(hWnd, reinterpret_cast<POINT*>(&r.right));
}
}  // namespace

CLinkLabel::CLinkLabel()
    : m_crLink(RGB(0, 0, 238)),
      m_crVisited(RGB(85, 26, 139)),
      m_crHover(RGB(255, 0, 0)),
      m_bHover(FALSE),
      m_bFollowed(FALSE),
      m_nUnderlineMode(-1),
      m_bAutoSize(TRUE),
      m_hHandCursor(nullptr),
      m_nHoverTimer(100)
{
}

// The fonts and the tooltip go with their members.
CLinkLabel::~CLinkLabel()
{
    if (m_hHandCursor)
        DestroyCursor(m_hHandCursor);
}

void CLinkLabel::SetTarget(std::string strTarget)
{
    m_strTarget = std::move(strTarget);
    if (IsWindow(m_hWnd)) {
        FitToText();
        m_wndTip.UpdateTipText(m_strTarget.c_str(), m_hWnd, kToolId);
    }
}

void CLinkLabel::SetFollowed(BOOL bFollowed)
{
    m_bFollowed = bFollowed;
    if (IsWindow(m_hWnd))
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CLinkLabel::SetUnderlineMode(int nMode)
{
    if (nMode == m_nUnderlineMode)
        return;
    if (IsWindow(m_hWnd)) {
        SelectFont(FontForMode(nMode));
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    m_nUnderlineMode = nMode;
}

BOOL CLinkLabel::DestroyWindow()
{
    // Without a window the identifier would name a timer of the thread.
    if (m_hWnd)
        KillTimer(m_hWnd, m_nHoverTimer);
    return CStatic::DestroyWindow();
}

// Enter and Space open the link as a click does, when it has the keyboard's
// focus; they never reach the dialog, where Enter would press OK.
BOOL CLinkLabel::PreTranslateMessage(MSG* pMsg)
{
    m_wndTip.RelayEvent(pMsg);
    if (pMsg->hwnd == m_hWnd && pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_SPACE)) {
        OnStnClicked();
        return TRUE;
    }
    return CStatic::PreTranslateMessage(pMsg);
}

void CLinkLabel::PreSubclassWindow()
{
    // Without SS_NOTIFY a static control gets no mouse input and reports no
    // clicks; without WS_TABSTOP the keyboard cannot reach it.
    SetWindowLongA(m_hWnd, GWL_STYLE, GetWindowLongA(m_hWnd, GWL_STYLE) | SS_NOTIFY | WS_TABSTOP);

    const std::string text = GetWindowTextString(m_hWnd);
    if (m_strTarget.empty())
        m_strTarget = text;
    if (text.empty())
        SetWindowTextA(m_hWnd, m_strTarget.c_str());

    HGDIOBJ source = reinterpret_cast<HGDIOBJ>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (!source)
        source = GetStockObject(DEFAULT_GUI_FONT);
    if (!source)
        source = GetStockObject(ANSI_VAR_FONT);
    LOGFONTA logFont = {};
    GetObjectA(source, sizeof logFont, &logFont);
    m_fontPlain.CreateFontIndirect(logFont);
    logFont.lfUnderline = TRUE;
    m_fontUnderlined.CreateFontIndirect(logFont);

    FitToText();
    LoadHandCursor();
    // Undoes a mode chosen before attachment; the dialog's font stays otherwise.
    SetUnderlineMode(-1);

    // The tool keeps this rectangle; later resizes change only its text.
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (m_wndTip.Create(m_hWnd, 0))
        m_wndTip.AddTool(m_hWnd, m_strTarget.c_str(), client, kToolId);

    CStatic::PreSubclassWindow();
}

LRESULT CLinkLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        OnTimer();
        break;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case WM_PAINT:
        return OnPaint(wParam, lParam);
    case WM_GETOBJECT:
        // The standard object of a static text is text, named by nothing;
        // this one is a link, named by its text.
        if (const LRESULT answer = AnswerGetObject(m_hWnd, wParam, lParam,
                                                   {GetWideWindowText(m_hWnd), ROLE_SYSTEM_LINK,
                                                    STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE}))
            return answer;
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

BOOL CLinkLabel::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_CTLCOLORSTATIC) {
        *pResult = reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(wParam)));
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnStnClicked();
        *pResult = 0;
        return TRUE;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, pResult);
}

// The hollow brush leaves the background to OnEraseBkgnd.
HBRUSH CLinkLabel::CtlColor(HDC hDC)
{
    // Read at every paint: the user may change the colour scheme meanwhile.
    HIGHCONTRASTW highContrast = {};
    highContrast.cbSize = sizeof highContrast;
    SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0);
    const LinkColours shown = ReadableLinkColours(
        {m_crLink, m_crVisited, m_crHover}, GetSysColor(COLOR_BTNFACE),
        {GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_BTNTEXT)}, (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0);
    SetTextColor(hDC, LinkTextColour(m_bHover, m_bFollowed, shown));
    SetBkMode(hDC, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

// FALSE without the default processing: no hand, no cursor of ours at all.
BOOL CLinkLabel::OnSetCursor()
{
    if (!m_hHandCursor)
        return FALSE;
    SetCursor(m_hHandCursor);
    return TRUE;
}

void CLinkLabel::OnMouseMove()
{
    if (m_bHover)
        return;
    m_bHover = TRUE;
    SelectFont(FontAtHoverStart(m_nUnderlineMode));
    InvalidateRect(m_hWnd, nullptr, TRUE);
    SetTimer(m_hWnd, m_nHoverTimer, kHoverPeriodMs, nullptr);
}

// Leaving is found by polling: a static control gets no leave notification
// unless it asks for one, and the pointer may leave between two moves.
void CLinkLabel::OnTimer()
{
    const DWORD position = GetMessagePos();
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(m_hWnd, &point);
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (PtInRect(&client, point))
        return;
    m_bHover = FALSE;
    KillTimer(m_hWnd, m_nHoverTimer);
    SelectFont(FontAtHoverEnd(m_nUnderlineMode));
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

// The timer keeps running: its next tick outside the control ends the look of
// the episode. Until then the visited colour shows even under the pointer.
void CLinkLabel::OnStnClicked()
{
    m_bHover = FALSE;
    const int result = OpenTarget(m_strTarget.c_str(), SW_SHOW);
    m_bFollowed = result > 32;
    if (m_bFollowed) {
        SetFollowed(TRUE);
    } else {
        MessageBeep(MB_ICONEXCLAMATION);
        ShowOpenError(result);
    }
}

// With the keyboard's focus, the label shows a focus rectangle around its
// text, as the system's links do. The rectangle inverts what lies under it,
// so the whole label is painted anew first.
LRESULT CLinkLabel::OnPaint(WPARAM wParam, LPARAM lParam)
{
    const bool focusShown =
        GetFocus() == m_hWnd && !(SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    if (focusShown)
        InvalidateRect(m_hWnd, nullptr, TRUE);
    const LRESULT result = CStatic::WindowProc(WM_PAINT, wParam, lParam);
    if (focusShown) {
        RECT client;
        GetClientRect(m_hWnd, &client);
        HDC dc = GetDC(m_hWnd);
        DrawFocusRect(dc, &client);
        ReleaseDC(m_hWnd, dc);
    }
    return result;
}

BOOL CLinkLabel::OnEraseBkgnd(HDC hDC)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    FillRect(hDC, &client, GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

void CLinkLabel::FitToText()
{
    if (!IsWindow(m_hWnd) || !m_bAutoSize)
        return;

    RECT window;
    RECT client;
    GetWindowRect(m_hWnd, &window);
    GetClientRect(m_hWnd, &client);
    ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&client.left));
    ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&client.right));
    if (HWND parent = GetParent(m_hWnd)) {
        ScreenRectToClient(parent, window);
        ScreenRectToClient(parent, client);
    }

    const std::string text = GetWindowTextString(m_hWnd);
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(m_fontUnderlined));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(m_hWnd, dc);

    const LabelRect fitted = FitRectToText(ToLabelRect(window), ToLabelRect(client), extent.cx, extent.cy,
                                           static_cast<uint32_t>(GetWindowLongA(m_hWnd, GWL_STYLE)));
    SetWindowPos(m_hWnd, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                 fitted.bottom - fitted.top, SWP_NOZORDER);
}

// The help program that carried the hand cursor is gone from newer systems;
// the system's own hand stands in for it there. Either way the control keeps
// a copy of its own, released with the control.
void CLinkLabel::LoadHandCursor()
{
    if (m_hHandCursor)
        return;
    const char helpProgram[] = "\\winhlp32.exe";
    char path[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    if (length > 0 && length + sizeof helpProgram <= MAX_PATH) {
        lstrcatA(path, helpProgram);
        if (HMODULE help = LoadLibraryA(path)) {
            if (HCURSOR hand = LoadCursorA(help, MAKEINTRESOURCEA(kHelpHandCursor)))
                m_hHandCursor = CopyIcon(hand);
            FreeLibrary(help);
        }
    }
    if (!m_hHandCursor)
        m_hHandCursor = CopyIcon(LoadCursorA(nullptr, IDC_HAND));
}

void CLinkLabel::SelectFont(FontChoice choice)
{
    if (choice == FontChoice::Keep)
        return;
    const HFONT font = choice == FontChoice::Underlined ? m_fontUnderlined : m_fontPlain;
    SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

int CLinkLabel::OpenTarget(const char* lpszTarget, int nShowCmd)
{
    const auto execute = SystemFunction<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    const auto shellResult = reinterpret_cast<INT_PTR>(
        execute ? execute(nullptr, "open", lpszTarget, nullptr, nullptr, nShowCmd) : nullptr);
    if (static_cast<UINT_PTR>(shellResult) > 32)
        return static_cast<int>(shellResult);

    // The shell could not open it: try the program registered for web pages.
    // When that is not registered, the shell's code is the one to report.
    std::string command;
    if (QueryRegDefault(HKEY_CLASSES_ROOT, ".htm", command) != ERROR_SUCCESS)
        return static_cast<int>(shellResult);
    command += "\\shell\\open\\command";
    if (QueryRegDefault(HKEY_CLASSES_ROOT, command.c_str(), command) != ERROR_SUCCESS)
        return static_cast<int>(shellResult);
    const std::optional<std::string> line = ComposeBrowserCommand(command, lpszTarget, IsAnsiLeadByte);
    if (!line)
        return static_cast<int>(shellResult);
    return static_cast<int>(WinExec(line->c_str(), nShowCmd));
}

// lpszSubKey may be strValue's own text: the key is open before strValue changes.
LONG CLinkLabel::QueryRegDefault(HKEY hKey, const char* lpszSubKey, std::string& strValue)
{
    HKEY key;
    LONG result = RegOpenKeyExA(hKey, lpszSubKey, 0, KEY_QUERY_VALUE, &key);
    if (result != ERROR_SUCCESS)
        return result;
    char value[MAX_PATH];
    LONG size = sizeof value;
    result = RegQueryValueA(key, nullptr, value, &size);
    // A value stored without its terminator fills the buffer to the end.
    if (result == ERROR_SUCCESS)
        strValue.assign(value, std::find(value, value + size, '\0'));
    RegCloseKey(key);
    return result;
}

void CLinkLabel::ShowOpenError(int nError)
{
    // The texts are ASCII, which every ANSI code page writes as UTF-16 does.
    const std::string text = OpenErrorMessage(nError);
    AfxMessageBox(std::wstring(text.begin(), text.end()), MB_OK | MB_ICONEXCLAMATION);
}
