#include "version/version_dlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/win_app.h"
#include "res/resource.h"
#include "version/version_info.h"
#include "version/version_menu.h"

namespace {
const UINT kShown = WM_APP + 1;

std::string Text(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A version box that hands itself to a check once it is up, before the user
// could do anything with it.
class ProbedVersionDlg : public CVersionDlg {
public:
    std::function<void(HWND)> onShown;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CVersionDlg::OnInitDialog();
        PostMessageA(m_hWnd, kShown, 0, 0);
        return result;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kShown)
            return CVersionDlg::WindowProc(message, wParam, lParam);
        onShown(m_hWnd);
        return 0;
    }
};
}  // namespace

TEST(VersionBox, ShowsNameVersionCopyrightAndALinkSizedToTheAddress)
{
    ProbedVersionDlg box;
    box.onShown = [](HWND dialog) {
        EXPECT_EQ(Text(dialog), "バージョン情報");
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_VERSION_TEXT)), std::string(AfxGetAppName()) + " Version 1.20");
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_COPYRIGHT_TEXT)), WEXMOOR_COPYRIGHT);

        HWND link = GetDlgItem(dialog, IDC_HOMEPAGE_LINK);
        EXPECT_EQ(Text(link), WEXMOOR_HOMEPAGE);
        EXPECT_TRUE(GetWindowLongA(link, GWL_STYLE) & SS_NOTIFY);
        RECT expected = {72, 40, 0, 0};
        MapDialogRect(dialog, &expected);
        HDC dc = GetDC(link);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(link, WM_GETFONT, 0, 0)));
        SIZE text = {};
        GetTextExtentPoint32A(dc, WEXMOOR_HOMEPAGE, lstrlenA(WEXMOOR_HOMEPAGE), &text);
        SelectObject(dc, previous);
        ReleaseDC(link, dc);
        RECT actual;
        GetWindowRect(link, &actual);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, text.cx);
        EXPECT_EQ(actual.bottom - actual.top, text.cy);

        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    EXPECT_EQ(box.DoModal(), IDCANCEL);
}

TEST(VersionBox, OkEndsTheBox)
{
    ProbedVersionDlg box;
    box.onShown = [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); };
    EXPECT_EQ(box.DoModal(), IDOK);
}

TEST(VersionMenu, TheEntryFollowsASeparatorAtTheEndOfTheSystemMenu)
{
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP | WS_SYSMENU | WS_CAPTION, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    HMENU menu = GetSystemMenu(window, FALSE);
    const int before = GetMenuItemCount(menu);
    AppendVersionMenuItem(window);
    ASSERT_EQ(GetMenuItemCount(menu), before + 2);
    EXPECT_EQ(GetMenuState(menu, before, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    char text[64] = {};
    GetMenuStringA(menu, before + 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "バージョン情報(&A)...");
    EXPECT_EQ(GetMenuItemID(menu, before + 1), 0x0010u);
    DestroyWindow(window);
}

TEST(VersionMenu, TheLowFourBitsOfTheCommandAreIgnored)
{
    EXPECT_TRUE(IsVersionCommand(0x0010));
    EXPECT_TRUE(IsVersionCommand(0x001F));
    EXPECT_FALSE(IsVersionCommand(0x0000));
    EXPECT_FALSE(IsVersionCommand(0x0020));
    EXPECT_FALSE(IsVersionCommand(SC_CLOSE));
}
