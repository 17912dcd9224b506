#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/dialog.h"

namespace {
const int kStatic = 10;
const int kEdit = 11;
const int kCombo = 12;
const UINT kFinish = WM_APP + 1;

// Which objects the modal loop offered a key to, in order: 'e' the edit, 'd' the dialog.
std::string g_offered;

class ReflectingStatic : public CStatic {
public:
    HWND attachedHandle = nullptr;
    int clicks = 0;
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ~ReflectingStatic() override { DeleteObject(brush); }

protected:
    void PreSubclassWindow() override { attachedHandle = m_hWnd; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult) override
    {
        if (message == WM_CTLCOLORSTATIC) {
            *pResult = reinterpret_cast<LRESULT>(brush);
            return TRUE;
        }
        if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
            ++clicks;
            return TRUE;
        }
        return FALSE;
    }
};

class RecordingEdit : public CWnd {
public:
    bool swallowKeys = false;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_offered += 'e';
        return swallowKeys && pMsg->message == WM_KEYDOWN;
    }
};

class TestDialog : public CDialog {
public:
    TestDialog(CWnd* parent = nullptr) : CDialog(1, parent) {}

    ReflectingStatic label;
    RecordingEdit edit;
    CComboBox combo;
    std::string comboText = "initial";
    std::vector<UINT> commandsSeen;
    std::function<void(TestDialog&)> onInit;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, kStatic, label);
        DDX_Control(pDX, kEdit, edit);
        DDX_Control(pDX, kCombo, combo);
        DDX_CBString(pDX, kCombo, comboText);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_offered += 'd';
        if (pMsg->message == kFinish) {
            EndDialog(static_cast<int>(pMsg->wParam));
            return TRUE;
        }
        return FALSE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commandsSeen.push_back(LOWORD(wParam));
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

void Finish(TestDialog& dialog, int result)
{
    PostMessageA(dialog.m_hWnd, kFinish, result, 0);
}
}  // namespace

TEST(Framework, ReflectionHandsStaticNotificationsBackToTheControl)
{
    TestDialog dialog;
    dialog.onInit = [](TestDialog& d) {
        HWND label = GetDlgItem(d.m_hWnd, kStatic);
        EXPECT_EQ(d.label.attachedHandle, label);
        HDC dc = GetDC(label);
        EXPECT_EQ(SendMessageA(d.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(label)),
                  reinterpret_cast<LRESULT>(d.label.brush));
        ReleaseDC(label, dc);
        SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(kStatic, STN_CLICKED), reinterpret_cast<LPARAM>(label));
        // A control without an object of its own reaches the dialog as usual.
        SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(99, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(d.m_hWnd, IDOK)));
        Finish(d, 7);
    };
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_EQ(dialog.label.clicks, 1);
    const auto& seen = dialog.commandsSeen;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), UINT(kStatic)), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 99u), 1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.label.m_hWnd, nullptr);
}

TEST(Framework, TheModalLoopOffersMessagesFromTheTargetUpToTheDialog)
{
    for (bool swallow : {false, true}) {
        g_offered.clear();
        TestDialog dialog;
        dialog.edit.swallowKeys = swallow;
        dialog.onInit = [](TestDialog& d) {
            PostMessageA(GetDlgItem(d.m_hWnd, kEdit), WM_KEYDOWN, 'A', 0);
            Finish(d, IDOK);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(g_offered, swallow ? "e" : "ed");
    }
}

TEST(Framework, DataExchangeMovesTheComboTextBothWays)
{
    TestDialog dialog;
    dialog.onInit = [](TestDialog& d) {
        EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(d.m_hWnd, kCombo)), 7);
        SetWindowTextA(GetDlgItem(d.m_hWnd, kCombo), "\x95\x5C typed");
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.comboText, "\x95\x5C typed");
}

TEST(Framework, AnOwnerIsDisabledWhileItsDialogRunsAndAnObjectCanBeAttachedAgain)
{
    TestDialog outer;
    bool innerSawOwnerDisabled = false;
    outer.onInit = [&](TestDialog& o) {
        TestDialog inner(&o);
        inner.onInit = [&](TestDialog& i) {
            innerSawOwnerDisabled = !IsWindowEnabled(o.m_hWnd) && GetWindow(i.m_hWnd, GW_OWNER) == o.m_hWnd;
            Finish(i, IDCANCEL);
        };
        EXPECT_EQ(inner.DoModal(), IDCANCEL);
        EXPECT_TRUE(IsWindowEnabled(o.m_hWnd));
        Finish(o, IDOK);
    };
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_TRUE(innerSawOwnerDisabled);

    // The same object runs again: the first window let go of it when destroyed.
    outer.onInit = [](TestDialog& o) { Finish(o, 3); };
    EXPECT_EQ(outer.DoModal(), 3);
}
