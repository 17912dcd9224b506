#include "version/version_dlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "res/resource.h"
#include "version/version_info.h"
#include "version/version_menu.h"

// The end-to-end tests cover the version text, the link's size, the commands
// that open the box and Escape; these are the checks they do not make.
namespace {
const UINT kShown = WM_APP + 1;

std::string Text(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A version box that hands itself to a check once it is up and has set its
// focus, before the user could do anything with it.
class ProbedVersionDlg : public CVersionDlg {
public:
    std::function<void(HWND)> onShown;

protected:
    BOOL OnInitDialog() override
    {
        PostMessageA(m_hWnd, kShown, 0, 0);
        return CVersionDlg::OnInitDialog();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kShown)
            onShown(m_hWnd);
        return CVersionDlg::WindowProc(message, wParam, lParam);
    }
};
}  // namespace

TEST(VersionBox, ShowsTheCopyrightAndTheHomePageAndEndsWithOk)
{
    ProbedVersionDlg box;
    box.onShown = [](HWND dialog) {
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_COPYRIGHT_TEXT)), WEXMOOR_COPYRIGHT);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_HOMEPAGE_LINK)), WEXMOOR_HOMEPAGE);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
        PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_RETURN, 0);
    };
    EXPECT_EQ(box.DoModal(), IDOK);
}

TEST(VersionMenu, TheEntryFollowsASeparatorAndOnlyItsCommandsOpenTheBox)
{
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP | WS_SYSMENU | WS_CAPTION, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    HMENU menu = GetSystemMenu(window, FALSE);
    const int before = GetMenuItemCount(menu);
    AppendVersionMenuItem(window);
    ASSERT_EQ(GetMenuItemCount(menu), before + 2);
    EXPECT_TRUE(GetMenuState(menu, before, MF_BYPOSITION) & MF_SEPARATOR);
    char text[64] = {};
    GetMenuStringA(menu, before + 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "バージョン情報(&A)...");
    EXPECT_EQ(GetMenuItemID(menu, before + 1), 0x0010u);
    DestroyWindow(window);

    EXPECT_FALSE(IsVersionCommand(0x0000));
    EXPECT_FALSE(IsVersionCommand(0x0020));
    EXPECT_FALSE(IsVersionCommand(SC_MOVE));  // 0xF010
}
