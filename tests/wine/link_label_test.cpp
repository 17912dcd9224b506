#include "controls/link_label.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/open_error_text.h"
#include "framework/win_app.h"
#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"
#include "tests/wine/link_label_test_ids.h"

namespace {
const char kAddress[] = "https://brackenfold.example/wexmoor/";
const COLORREF kLinkColour = RGB(0, 0, 238);
const COLORREF kVisitedColour = RGB(85, 26, 139);
const COLORREF kHoverColour = RGB(255, 0, 0);

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

std::string Text(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool HasClass(HWND window, const char* className)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, className) == 0;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The top-level windows of this thread (the child windows of parent) of a class.
std::vector<HWND> Windows(const char* className, HWND parent = nullptr)
{
    std::vector<HWND> all, matching;
    if (parent)
        EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&all));
    else
        EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all)
        if (HasClass(window, className))
            matching.push_back(window);
    return matching;
}

// The control's rectangle in its dialog's client coordinates.
RECT RectInParent(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE TextExtent(HWND control, const std::string& text)
{
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent;
}

bool Underlined(HWND control)
{
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfUnderline != 0;
}

// The colour the control would paint its text in now, asked as the control
// itself asks its parent.
COLORREF TextColour(HWND control)
{
    HDC dc = GetDC(control);
    const LRESULT brush = SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(control, dc);
    return colour;
}

// The tool a tooltip of this thread keeps for the control; its uId is 0 when
// there is none.
TOOLINFOA ToolFor(HWND control, std::string& text)
{
    for (HWND tip : Windows(TOOLTIPS_CLASSA)) {
        const int count = static_cast<int>(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char buffer[1024] = {};
            TOOLINFOA info = {};
            info.cbSize = TTTOOLINFOA_V2_SIZE;
            info.lpszText = buffer;
            SendMessageA(tip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info));
            if (info.hwnd == control) {
                SendMessageA(tip, TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&info));
                text = buffer;
                return info;
            }
        }
    }
    return {};
}

std::string TipText(HWND control)
{
    std::string text = "(no tool)";
    ToolFor(control, text);
    return text;
}

// Moves the pointer and delivers the mouse move that the system queues for it,
// so that no late move starts a hover episode behind the test's back.
void PointerAt(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    EXPECT_TRUE(WaitUntil([&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
    }, std::chrono::seconds(2)));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

POINT OnScreen(HWND control, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(control, &p);
    return p;
}

void Hover(HWND control)
{
    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
}

// A timer tick whose message position is where the pointer is now.
void Tick(HWND control)
{
    PostMessageA(control, WM_TIMER, 100, 0);
    MSG msg;
    while (PeekMessageA(&msg, control, WM_TIMER, WM_TIMER, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Reads the text of every message box this thread shows and closes it at once.
class MessageBoxes {
public:
    MessageBoxes() : m_hook(SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId())) { s_texts = &texts; }
    ~MessageBoxes()
    {
        UnhookWindowsHookEx(m_hook);
        s_texts = nullptr;
    }
    std::vector<std::string> texts;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && s_texts && Text(box) == AfxGetAppName()) {
            for (HWND label : Windows("Static", box))
                if (!Text(label).empty())
                    s_texts->push_back(Text(label));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static std::vector<std::string>* s_texts;
    HHOOK m_hook;
};
std::vector<std::string>* MessageBoxes::s_texts = nullptr;

// This process's HKEY_CLASSES_ROOT replaced by an empty key, so the test
// decides what the shell and the fallback find registered.
class PrivateClasses {
public:
    PrivateClasses()
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                        nullptr);
        EXPECT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, m_key), ERROR_SUCCESS);
    }
    ~PrivateClasses()
    {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(m_key);
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    }
    void RegisterWebPageCommand(const std::string& command)
    {
        EXPECT_EQ(RegSetValueA(m_key, ".htm", REG_SZ, "TestPage", 0), ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueA(m_key, "TestPage\\shell\\open\\command", REG_SZ, command.c_str(), 0),
                  ERROR_SUCCESS);
    }

private:
    std::string m_path = "Software\\WexmoorTests\\Classes" + std::to_string(GetCurrentProcessId());
    HKEY m_key = nullptr;
};

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LINKS), nullptr,
                                    PlainDialogProc, 0);
        ASSERT_TRUE(dialog);
        // Attached as a framework dialog is, so notifications go back to the controls.
        ASSERT_TRUE(parent.SubclassWindow(dialog));
        SetWindowPos(dialog, HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        PointerAt({1270, 1010});
        SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", record.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", nullptr);
        DestroyWindow(dialog);
    }

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    void Click(HWND control) const
    {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), STN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
    }
    std::string StandIn(const std::string& name) const
    {
        CopyFileOrFail(BuildTreePath("tools/standin_editor/standin_editor.exe"), folder / name);
        return folder / name;
    }

    HWND dialog = nullptr;
    CWnd parent;
    TempFolder folder;
    std::string record = folder / "record.txt";
};
}  // namespace

TEST_F(LinkLabelTest, AttachmentTakesTextAndTargetFromEachOther)
{
    struct Case {
        int id;
        const char* targetBefore;
        const char* text;
        const char* target;
    };
    const Case cases[] = {
        {IDC_LEFT, "", kAddress, kAddress},
        {IDC_EMPTY, "https://a.example/", "https://a.example/", "https://a.example/"},
        {IDC_WORDS, "https://a.example/", "テキスト", "https://a.example/"},
        {IDC_CENTRED, "", kAddress, kAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CLinkLabel link;
        link.SetTarget(c.targetBefore);
        EXPECT_EQ(TipText(Item(c.id)), "(no tool)") << "nothing happens before attachment";
        ASSERT_TRUE(link.SubclassWindow(Item(c.id)));
        EXPECT_TRUE(GetWindowLongA(link.m_hWnd, GWL_STYLE) & SS_NOTIFY);
        EXPECT_EQ(Text(link.m_hWnd), c.text);
        std::string tip;
        const TOOLINFOA tool = ToolFor(link.m_hWnd, tip);
        EXPECT_EQ(tip, c.target);
        EXPECT_EQ(tool.uId, 1u);
        RECT client;
        GetClientRect(link.m_hWnd, &client);
        EXPECT_TRUE(EqualRect(&tool.rect, &client));
    }
}

TEST_F(LinkLabelTest, NeitherTextNorTargetLeavesBothEmpty)
{
    CLinkLabel link;
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_EMPTY)));
    EXPECT_EQ(Text(link.m_hWnd), "");
    EXPECT_EQ(TipText(link.m_hWnd), "");
    const RECT r = RectInParent(link.m_hWnd);
    EXPECT_EQ(r.right, r.left);
}

TEST_F(LinkLabelTest, AttachmentSizesTheControlToItsText)
{
    for (int id : {IDC_LEFT, IDC_RIGHT, IDC_CENTRED, IDC_CENTRE_IMAGE, IDC_WORDS}) {
        SCOPED_TRACE(id);
        HWND control = Item(id);
        const RECT before = RectInParent(control);
        const SIZE text = TextExtent(control, Text(control));
        ASSERT_GT(text.cx, before.right - before.left) << "the template must make the control grow";

        CLinkLabel link;
        ASSERT_TRUE(link.SubclassWindow(control));
        const RECT after = RectInParent(control);
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        if (style & SS_CENTER) {
            EXPECT_NEAR(after.right - after.left, text.cx, 1);
            EXPECT_NEAR(after.left + after.right, before.left + before.right, 1);
        } else {
            EXPECT_EQ(after.right - after.left, text.cx);
            EXPECT_EQ((style & SS_RIGHT) ? after.right : after.left, (style & SS_RIGHT) ? before.right : before.left);
        }
        if (style & SS_CENTERIMAGE) {
            EXPECT_NEAR(after.bottom - after.top, text.cy, 1);
            EXPECT_NEAR(after.top + after.bottom, before.top + before.bottom, 1);
        } else {
            EXPECT_EQ(after.bottom - after.top, text.cy);
            EXPECT_EQ(after.top, before.top);
        }
    }
}

TEST_F(LinkLabelTest, SetTargetAfterAttachmentResizesToTheUnchangedText)
{
    CLinkLabel link;
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
    std::string ignored;
    const RECT toolRect = ToolFor(link.m_hWnd, ignored).rect;
    const std::string longer = std::string(kAddress) + "and/a/longer/path";
    SetWindowTextA(link.m_hWnd, longer.c_str());

    link.SetTarget("https://a.example/");
    EXPECT_EQ(Text(link.m_hWnd), longer);
    const RECT r = RectInParent(link.m_hWnd);
    EXPECT_EQ(r.right - r.left, TextExtent(link.m_hWnd, longer).cx);
    std::string tip;
    const RECT newToolRect = ToolFor(link.m_hWnd, tip).rect;
    EXPECT_EQ(tip, "https://a.example/");
    EXPECT_TRUE(EqualRect(&newToolRect, &toolRect)) << "the tool keeps its rectangle";
}

TEST_F(LinkLabelTest, ColoursFollowTheHoverAndFollowedStates)
{
    CLinkLabel link;
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
    EXPECT_EQ(TextColour(link.m_hWnd), kLinkColour);
    link.SetFollowed(TRUE);
    EXPECT_EQ(TextColour(link.m_hWnd), kVisitedColour);
    Hover(link.m_hWnd);
    EXPECT_EQ(TextColour(link.m_hWnd), kHoverColour);
    link.SetFollowed(FALSE);
    EXPECT_EQ(TextColour(link.m_hWnd), kHoverColour);
}

TEST_F(LinkLabelTest, HandCursorAndTooltip)
{
    CLinkLabel link;
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    EXPECT_TRUE(SendMessageA(link.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_NE(GetCursor(), arrow);

    // The tooltip learns of the pointer only from what the modal loop hands
    // the control before dispatching.
    SetForegroundWindow(dialog);
    const POINT inside = OnScreen(link.m_hWnd, 2, 2);
    PointerAt(inside);
    MSG move = {link.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2), GetTickCount(), inside};
    EXPECT_FALSE(link.PreTranslateMessage(&move));
    EXPECT_TRUE(WaitUntil([] {
        for (HWND tip : Windows(TOOLTIPS_CLASSA))
            if (IsWindowVisible(tip))
                return true;
        return false;
    }, std::chrono::seconds(5)));
}

TEST_F(LinkLabelTest, AHoverEpisodeEndsOnATickWithThePointerOutside)
{
    CLinkLabel link;
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
    RECT client;
    GetClientRect(link.m_hWnd, &client);
    struct Place {
        POINT point;
        bool inside;
    };
    const Place places[] = {
        {OnScreen(link.m_hWnd, client.right - 1, client.bottom - 1), true},
        {OnScreen(link.m_hWnd, client.right, 0), false},
        {OnScreen(link.m_hWnd, 0, client.bottom), false},
        {OnScreen(link.m_hWnd, -20, -20), false},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(testing::Message() << place.point.x << ", " << place.point.y);
        PointerAt(place.point);
        Hover(link.m_hWnd);
        EXPECT_TRUE(Underlined(link.m_hWnd));
        Tick(link.m_hWnd);
        EXPECT_EQ(TextColour(link.m_hWnd), place.inside ? kHoverColour : kLinkColour);
        EXPECT_EQ(Underlined(link.m_hWnd), place.inside);
        // The timer runs exactly as long as the episode.
        EXPECT_EQ(KillTimer(link.m_hWnd, 100) != FALSE, place.inside);
        Hover(link.m_hWnd);
        PointerAt({1270, 1010});
        Tick(link.m_hWnd);
    }
}

TEST_F(LinkLabelTest, UnderlineModesBeforeAndAfterAttachment)
{
    CLinkLabel link;
    link.SetUnderlineMode(1);
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
    EXPECT_FALSE(Underlined(link.m_hWnd)) << "attachment restores mode -1";
    Hover(link.m_hWnd);
    EXPECT_TRUE(Underlined(link.m_hWnd));
    Tick(link.m_hWnd);

    link.SetUnderlineMode(1);
    EXPECT_TRUE(Underlined(link.m_hWnd));
    Hover(link.m_hWnd);
    Tick(link.m_hWnd);
    EXPECT_TRUE(Underlined(link.m_hWnd));

    link.SetUnderlineMode(0);
    Hover(link.m_hWnd);
    EXPECT_FALSE(Underlined(link.m_hWnd));
    SendMessageA(link.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
    Tick(link.m_hWnd);
    EXPECT_NE(SendMessageA(link.m_hWnd, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(ANSI_FIXED_FONT)))
        << "leaving sends the plain font in mode 0 too";
}

TEST_F(LinkLabelTest, AFailedClickIsReportedAndClearsTheFollowedState)
{
    PrivateClasses classes;
    CLinkLabel link;
    link.SetTarget(folder / "missing.htm");
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
    link.SetFollowed(TRUE);

    MessageBoxes boxes;
    Click(link.m_hWnd);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Unable to open hyperlink:\n\nThe specified file was not found."});
    EXPECT_EQ(TextColour(link.m_hWnd), kLinkColour);
}

TEST_F(LinkLabelTest, ASuccessfulClickShowsTheVisitedColourUnderThePointer)
{
    CLinkLabel link;
    link.SetTarget(StandIn("opened.exe"));
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
    PointerAt(OnScreen(link.m_hWnd, 1, 1));
    Hover(link.m_hWnd);

    MessageBoxes boxes;
    Click(link.m_hWnd);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{});
    EXPECT_TRUE(WaitUntil([&] { return FileExists(record); }));
    EXPECT_EQ(TextColour(link.m_hWnd), kVisitedColour);
    Hover(link.m_hWnd);
    EXPECT_EQ(TextColour(link.m_hWnd), kHoverColour);
}

TEST_F(LinkLabelTest, TheWebPageProgramGetsTheTargetAsItsLastArgument)
{
    PrivateClasses classes;
    const std::string browser = StandIn("browser.exe");
    classes.RegisterWebPageCommand("\"" + browser + "\" -first \"%1\" -last");
    CLinkLabel link;
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));

    MessageBoxes boxes;
    Click(link.m_hWnd);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{});
    ASSERT_TRUE(WaitUntil([&] { return FileExists(record); }));
    EXPECT_EQ(ReadStandinRecord(record)["command_line"], "\"" + browser + "\" -first  " + kAddress);
    EXPECT_EQ(TextColour(link.m_hWnd), kVisitedColour);
}

TEST_F(LinkLabelTest, AWebPageCommandTooLongForItsBufferIsNotRun)
{
    PrivateClasses classes;
    std::string command = "\"" + StandIn("browser.exe") + "\" ";
    command += std::string(255 - command.size(), 'x') + " %1";
    classes.RegisterWebPageCommand(command);
    const std::string target = kAddress + std::string(300, 'p');
    const auto shellCode = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", target.c_str(), nullptr,
                                                                   nullptr, SW_SHOW));
    ASSERT_LE(shellCode, 32);
    CLinkLabel link;
    link.SetTarget(target);
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));

    MessageBoxes boxes;
    Click(link.m_hWnd);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{OpenErrorMessage(static_cast<int32_t>(shellCode))});
    EXPECT_FALSE(FileExists(record));
}
