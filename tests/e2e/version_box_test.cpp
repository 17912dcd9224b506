#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/program_driver.h"

namespace {
const char kBoxCaption[] = "バージョン情報";
const int kVersionText = 1002;
const int kHomepageLink = 1001;
const COLORREF kLinkColour = RGB(0, 0, 238);
const COLORREF kVisitedColour = RGB(85, 26, 139);
const COLORREF kHoverColour = RGB(255, 0, 0);

// How many pixels on screen inside the window have exactly the colour: the
// underline and the stems of the letters are drawn in the text colour itself.
int PixelsOnScreen(HWND window, COLORREF colour)
{
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int count = 0;
    for (int i = 0; i < width * height; ++i)
        count += (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) == wanted;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

// The width the address takes in the box's font, measured here with the same font.
int AddressWidth(HWND link)
{
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                             FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
    HGDIOBJ previous = SelectObject(dc, font);
    const std::string address = WindowText(link);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, address.c_str(), static_cast<int>(address.size()), &extent);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return extent.cx;
}

void ClickAt(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
}

// The web browser of the test bed's Wine reduced to a program that does
// nothing, so that opening the home page succeeds without side effects.
class QuietBrowser {
public:
    QuietBrowser()
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &m_key, nullptr);
        RegSetValueExA(m_key, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>("true"), 5);
    }
    ~QuietBrowser()
    {
        RegDeleteValueA(m_key, "Browsers");
        RegCloseKey(m_key);
    }

private:
    HKEY m_key = nullptr;
};

class VersionBox : public ::testing::Test {
protected:
    HWND OpenJumpDialog(StagedProgram& program)
    {
        program.UseStandinEditor();
        program.Start();
        return WaitForProcessWindow(program.Process().Id(), "Wexmoor");
    }
    HWND OpenBox(StagedProgram& program, HWND jump, WPARAM command)
    {
        PostMessageA(jump, WM_SYSCOMMAND, command, 0);
        return WaitForProcessWindow(program.Process().Id(), kBoxCaption);
    }
    void CloseWithEscape(HWND box, HWND jump)
    {
        FocusForTyping(box);
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_TRUE(IsWindowVisible(jump));
        EXPECT_TRUE(IsWindowEnabled(jump));
    }
};
}  // namespace

TEST_F(VersionBox, EveryCommandOfTheEntryOpensItAndEscapeClosesIt)
{
    StagedProgram program;
    HWND jump = OpenJumpDialog(program);
    ASSERT_TRUE(jump);
    for (WPARAM command : {0x0010, 0x001F}) {
        SCOPED_TRACE(command);
        HWND box = OpenBox(program, jump, command);
        ASSERT_TRUE(box);
        EXPECT_FALSE(IsWindowEnabled(jump));
        EXPECT_EQ(WindowText(GetDlgItem(box, kVersionText)), "Wexmoor Version 1.20");
        HWND link = GetDlgItem(box, kHomepageLink);
        RECT r;
        GetWindowRect(link, &r);
        EXPECT_EQ(r.right - r.left, AddressWidth(link));
        CloseWithEscape(box, jump);
    }
    EXPECT_FALSE(program.Process().WaitForExit(std::chrono::milliseconds(0)));
}

TEST_F(VersionBox, TheNameFollowsTheExecutable)
{
    StagedProgram program("Other.exe");
    HWND jump = OpenJumpDialog(program);
    ASSERT_TRUE(jump);
    HWND box = OpenBox(program, jump, 0x0010);
    ASSERT_TRUE(box);
    EXPECT_EQ(WindowText(GetDlgItem(box, kVersionText)), "Other Version 1.20");
    CloseWithEscape(box, jump);
}

TEST_F(VersionBox, TheLinkInItsThreeColours)
{
    QuietBrowser browser;
    StagedProgram program;
    HWND jump = OpenJumpDialog(program);
    ASSERT_TRUE(jump);
    HWND box = OpenBox(program, jump, 0x0010);
    ASSERT_TRUE(box);
    HWND link = GetDlgItem(box, kHomepageLink);
    FocusForTyping(box);
    EXPECT_TRUE(WaitUntil([&] { return PixelsOnScreen(link, kLinkColour) > 0; }));
    SaveScreenshot(box, "version-box");

    RECT r;
    GetWindowRect(link, &r);
    const POINT onLink = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetCursorPos(onLink.x, onLink.y);
    EXPECT_TRUE(WaitUntil([&] { return PixelsOnScreen(link, kHoverColour) > 0; }));
    SaveScreenshot(box, "version-link-hover");

    // Under the pointer the followed link keeps its underline until the
    // pointer leaves.
    ClickAt(onLink);
    int underlined = 0;
    EXPECT_TRUE(WaitUntil([&] {
        return PixelsOnScreen(link, kHoverColour) == 0 && (underlined = PixelsOnScreen(link, kVisitedColour)) > 0;
    }));
    SetCursorPos(1270, 1010);
    EXPECT_TRUE(WaitUntil([&] {
        const int visited = PixelsOnScreen(link, kVisitedColour);
        return visited > 0 && visited < underlined;
    }));
    SaveScreenshot(box, "version-link-visited");
    for (HWND window : ProcessWindows(program.Process().Id()))
        EXPECT_TRUE(window == jump || WindowText(window) != "Wexmoor") << "a message box came up";
    CloseWithEscape(box, jump);
}
