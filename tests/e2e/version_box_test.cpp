// The version box of a renamed copy, opened from the jump dialog's system menu,
// and its link as the user sees, hovers and clicks it.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "tests/e2e/program_driver.h"

namespace {
const char kBoxCaption[] = "バージョン情報";
const char kHomePage[] = "https://brackenfold.example/wexmoor/";
const COLORREF kLink = RGB(0, 0, 238), kVisited = RGB(85, 26, 139), kHover = RGB(255, 0, 0);

// How many pixels on screen inside the window have exactly the colour: the
// underline and the stems of the letters are drawn in the text colour itself.
int Pixels(HWND window, COLORREF colour)
{
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFOHEADER header = {sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    DWORD* bits = nullptr;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                      reinterpret_cast<void**>(&bits), nullptr, 0);
    SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    // A pixel of the bitmap is 0x00RRGGBB, a COLORREF 0x00BBGGRR.
    const int count = static_cast<int>(
        std::count(bits, bits + width * height, RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour))));
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return count;
}

// The size of the address in the box's font, 9 points at the test bed's 96 dpi.
std::pair<LONG, LONG> AddressExtent()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                                    0, 0, 0, 0, "ＭＳ Ｐゴシック"));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, kHomePage, lstrlenA(kHomePage), &extent);
    DeleteObject(SelectObject(dc, previous));
    ReleaseDC(nullptr, dc);
    return {extent.cx, extent.cy};
}

// The cursor the window's thread shows once the pointer is there, read through
// its input state, which this thread shares for the moment.
HCURSOR CursorAt(HWND window, POINT screen, HCURSOR other = nullptr)
{
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    SetCursorPos(screen.x, screen.y);
    WaitUntil([&] { return GetCursor() && GetCursor() != other; }, std::chrono::seconds(2));
    const HCURSOR cursor = GetCursor();
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    return cursor;
}

// No program for the address, and the command registered for web pages, in the
// test bed's classes until the object goes: Wine reads the machine's classes
// only, so the user's cannot stand in for them.
class Classes {
public:
    explicit Classes(const std::string& webPageCommand)
    {
        LONG size = sizeof m_browser;
        RegQueryValueA(HKEY_CLASSES_ROOT, kBrowserKey, m_browser, &size);
        RegSetValueA(HKEY_CLASSES_ROOT, kBrowserKey, REG_SZ, "C:\\missing\\browser.exe \"%1\"", 0);
        RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "WexmoorTestPage", 0);
        RegSetValueA(HKEY_CLASSES_ROOT, "WexmoorTestPage\\shell\\open\\command", REG_SZ, webPageCommand.c_str(), 0);
    }
    ~Classes()
    {
        RegSetValueA(HKEY_CLASSES_ROOT, kBrowserKey, REG_SZ, m_browser, 0);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "WexmoorTestPage");
    }

private:
    static constexpr const char* kBrowserKey = "https\\shell\\open\\command";
    char m_browser[MAX_PATH] = {};
};

// Each click lands elsewhere on the link, so that no two make a double click.
void ClickLink(HWND link, POINT at)
{
    SetCursorPos(at.x, at.y);
    EXPECT_TRUE(WaitUntil([&] { return Pixels(link, kHover) > 0; })) << "the hover colour beats the others";
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}
}  // namespace

TEST(VersionBox, FromTheSystemMenuWithItsLink)
{
    StagedProgram program("Other.exe");
    program.UseStandinEditor();
    const DWORD pid = program.Start().Id();
    HWND jump = WaitForProcessWindow(pid, "Wexmoor");
    ASSERT_TRUE(jump);
    // The entry is the menu's last, after Wine's own.
    FocusForTyping(jump);
    PostMessageA(jump, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    PressKey(VK_END);
    PressKey(VK_RETURN);
    HWND box = WaitForProcessWindow(pid, kBoxCaption);
    ASSERT_TRUE(box);
    EXPECT_FALSE(IsWindowEnabled(jump));
    EXPECT_EQ(WindowText(GetDlgItem(box, 1002)), "Other Version 1.20");
    FocusForTyping(box);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(jump); }));
    // Other commands return at once; one that opened a box would stay in its loop.
    for (WPARAM command : {0x0020, 0x0110})
        EXPECT_TRUE(SendMessageTimeoutA(jump, WM_SYSCOMMAND, command, 0, 0, 2000, nullptr)) << command;
    PostMessageA(jump, WM_SYSCOMMAND, 0x001F, 0);  // the low four bits are the system's
    ASSERT_TRUE(box = WaitForProcessWindow(pid, kBoxCaption));
    HWND link = GetDlgItem(box, 1001);
    FocusForTyping(box);

    RECT r;
    GetWindowRect(link, &r);
    EXPECT_EQ(std::make_pair(r.right - r.left, r.bottom - r.top), AddressExtent());
    EXPECT_TRUE(WaitUntil([&] { return Pixels(link, kLink) > 0; }));
    EXPECT_EQ(Pixels(link, RGB(255, 255, 255)), 0) << "the text goes on the box's own background";
    SaveScreenshot(box, "version-box");

    RECT line;
    GetWindowRect(GetDlgItem(box, 1002), &line);
    const HCURSOR arrow = CursorAt(box, {line.left + 2, line.top + 2});
    const POINT onLink = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_NE(CursorAt(box, onLink, arrow), arrow) << "no hand over the link";
    EXPECT_TRUE(WaitUntil([&] { return Pixels(link, kHover) > 0; }));
    EXPECT_TRUE(WaitForProcessWindow(pid, kHomePage)) << "no tip with the address";
    SaveScreenshot(box, "version-link-hover");

    const std::string browser = Quoted(program.EditorPath());
    {
        Classes classes(browser + " -first \"%1\" -last");
        ClickLink(link, onLink);
        EXPECT_EQ(WaitForStandinRecord(program.RecordPath())["command_line"], browser + " -first  " + kHomePage);
        // Under the pointer the followed link keeps its underline until the
        // pointer leaves, and its colour after.
        int underlined = 0;
        EXPECT_TRUE(WaitUntil([&] { return Pixels(link, kHover) == 0 && (underlined = Pixels(link, kVisited)) > 0; }));
        SetCursorPos(1270, 1010);
        EXPECT_TRUE(WaitUntil([&] { return Pixels(link, kVisited) > 0 && Pixels(link, kVisited) < underlined; }));
        SaveScreenshot(box, "version-link-visited");
    }
    DeleteFileA(program.RecordPath().c_str());
    Classes classes("C:\\missing\\page.exe %1");
    ClickLink(link, {onLink.x + 10, onLink.y});
    HWND message = WaitForProcessWindow(pid, "Other");
    ASSERT_TRUE(message);
    EXPECT_EQ(WindowText(GetDlgItem(message, 0xFFFF)), "Unable to open hyperlink:\n\nThe specified file was not found.");
    PostMessageA(message, WM_COMMAND, IDOK, 0);
    SetCursorPos(1270, 1010);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(message) && Pixels(link, kLink) > 0; })) << "followed after a failure";
    EXPECT_FALSE(FileExists(program.RecordPath()));
}
