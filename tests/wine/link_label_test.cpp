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
const POINT kFarAway = {1270, 1010};

std::string Text(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The tooltips of this thread.
std::vector<HWND> Tooltips()
{
    std::vector<HWND> tips;
    for (HWND tip = nullptr; (tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr));)
        if (GetWindowThreadProcessId(tip, nullptr) == GetCurrentThreadId())
            tips.push_back(tip);
    return tips;
}

// The control's rectangle in its dialog's client coordinates.
RECT RectInParent(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HGDIOBJ FontOf(HWND control)
{
    return reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
}

bool Underlined(HWND control)
{
    LOGFONTA font = {};
    GetObjectA(FontOf(control), sizeof font, &font);
    return font.lfUnderline != 0;
}

// The control fits its own text, keeping the edges or centres its style names.
void ExpectFitted(HWND control, const RECT& before)
{
    const std::string text = Text(control);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, FontOf(control));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);

    // A centred side moves both edges by half the difference, so an odd one loses a pixel.
    const RECT after = RectInParent(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const bool centred = style & SS_CENTER, centredImage = style & SS_CENTERIMAGE;
    EXPECT_NEAR(after.right - after.left, extent.cx, centred ? 1 : 0);
    EXPECT_NEAR(after.bottom - after.top, extent.cy, centredImage ? 1 : 0);
    if (centred)
        EXPECT_NEAR(after.left + after.right, before.left + before.right, 1);
    else
        EXPECT_EQ((style & SS_RIGHT) ? after.right : after.left, (style & SS_RIGHT) ? before.right : before.left);
    if (centredImage)
        EXPECT_NEAR(after.top + after.bottom, before.top + before.bottom, 1);
    else
        EXPECT_EQ(after.top, before.top);
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

// The text of tool 1 that a tooltip of this thread keeps for the control, and
// the tool's rectangle; "(no tool)" when there is none.
std::string ToolText(HWND control, RECT* rect)
{
    for (HWND tip : Tooltips()) {
        char text[1024] = {};
        TOOLINFOA info = {TTTOOLINFOA_V2_SIZE, 0, control, 1, {}, nullptr, text, 0, nullptr};
        if (SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info))) {
            SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
            *rect = info.rect;
            return text;
        }
    }
    return "(no tool)";
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

// While a click runs: the test dialog, and the texts of the message boxes
// shown meanwhile, which are closed at once.
struct {
    HWND dialog;
    std::vector<std::string>* boxTexts;
} g_click = {};

LRESULT CALLBACK ReadAndCloseMessageBox(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && g_click.boxTexts && box != g_click.dialog) {
        EXPECT_EQ(Text(box), AfxGetAppName());
        for (HWND label = nullptr; (label = FindWindowExA(box, label, "Static", nullptr));)
            if (!Text(label).empty())
                g_click.boxTexts->push_back(Text(label));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// This process's HKEY_CLASSES_ROOT replaced by an empty key, so the test
// decides what the shell and the fallback find registered.
class PrivateClasses {
public:
    explicit PrivateClasses(const std::string& webPageCommand)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                        nullptr);
        EXPECT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, m_key), ERROR_SUCCESS);
        if (!webPageCommand.empty()) {
            RegSetValueA(m_key, ".htm", REG_SZ, "TestPage", 0);
            RegSetValueA(m_key, "TestPage\\shell\\open\\command", REG_SZ, webPageCommand.c_str(), 0);
        }
    }
    ~PrivateClasses()
    {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(m_key);
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    }

private:
    const std::string m_path = "Software\\WexmoorTests\\Classes" + std::to_string(GetCurrentProcessId());
    HKEY m_key = nullptr;
};

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", record.c_str());
        OpenDialog();
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", nullptr);
        DestroyWindow(dialog);
    }

    // A fresh test dialog, attached as a framework dialog is so that
    // notifications go back to the controls, with the pointer away from it.
    void OpenDialog()
    {
        if (dialog)
            DestroyWindow(dialog);
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LINKS), nullptr, nullptr, 0);
        ASSERT_TRUE(dialog && parent.SubclassWindow(dialog));
        SetWindowPos(dialog, HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        PointerAt(kFarAway);
    }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    // The texts of the message boxes the click showed.
    std::vector<std::string> Click(HWND control) const
    {
        std::vector<std::string> texts;
        g_click = {dialog, &texts};
        HHOOK hook = SetWindowsHookExA(WH_CBT, ReadAndCloseMessageBox, nullptr, GetCurrentThreadId());
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), STN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
        UnhookWindowsHookEx(hook);
        g_click = {};
        return texts;
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

TEST_F(LinkLabelTest, AttachmentAndSetTargetFitTheControlToItsTextAndTheTipToTheTarget)
{
    const std::string other = "https://a.example/";
    struct Case {
        int id;
        std::string targetBefore, text, target;
    };
    const Case cases[] = {
        {IDC_LEFT, "", kAddress, kAddress},  // the text stands for the target
        {IDC_RIGHT, "", kAddress, kAddress},
        {IDC_CENTRED, "", kAddress, kAddress},
        {IDC_CENTRE_IMAGE, "", kAddress, kAddress},
        {IDC_EMPTY, other, other, other},  // the target for the text
        {IDC_LEFT, other, kAddress, other},  // each its own
        {IDC_EMPTY, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        OpenDialog();
        const HWND control = Item(c.id);
        const RECT inTemplate = RectInParent(control);
        CLinkLabel link;
        link.SetTarget(c.targetBefore);
        ASSERT_TRUE(link.SubclassWindow(control));
        EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & SS_NOTIFY);
        EXPECT_EQ(Text(control), c.text);
        ExpectFitted(control, inTemplate);
        RECT client, tool;
        GetClientRect(control, &client);
        EXPECT_EQ(ToolText(control, &tool), c.target);
        EXPECT_TRUE(EqualRect(&tool, &client));

        // A new target refits the control to its text, which stays, and
        // changes the tip's text only.
        const RECT attached = RectInParent(control);
        const std::string longer = c.text + "/and/more";
        SetWindowTextA(control, longer.c_str());
        link.SetTarget("https://b.example/");
        EXPECT_EQ(Text(control), longer);
        ExpectFitted(control, attached);
        RECT newTool;
        EXPECT_EQ(ToolText(control, &newTool), "https://b.example/");
        EXPECT_TRUE(EqualRect(&newTool, &tool));
    }
}

TEST_F(LinkLabelTest, HandCursorAndATipThatLearnsOfThePointerBeforeDispatch)
{
    CLinkLabel link;
    ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    EXPECT_TRUE(SendMessageA(link.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_NE(GetCursor(), arrow);

    // The tooltip sees the pointer only through what the modal loop offers
    // the control before dispatching.
    SetForegroundWindow(dialog);
    const POINT inside = OnScreen(link.m_hWnd, 2, 2);
    PointerAt(inside);
    MSG move = {link.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2), GetTickCount(), inside};
    EXPECT_FALSE(link.PreTranslateMessage(&move));
    EXPECT_TRUE(WaitUntil([] {
        for (HWND tip : Tooltips())
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
    const struct {
        POINT point;
        bool inside;
    } places[] = {
        {OnScreen(link.m_hWnd, client.right - 1, client.bottom - 1), true},
        {OnScreen(link.m_hWnd, client.right, 0), false},
        {OnScreen(link.m_hWnd, 0, client.bottom), false},
        {OnScreen(link.m_hWnd, -20, -20), false},
    };
    for (const auto& place : places) {
        SCOPED_TRACE(testing::Message() << place.point.x << ", " << place.point.y);
        PointerAt(place.point);
        Hover(link.m_hWnd);
        EXPECT_TRUE(Underlined(link.m_hWnd));
        Tick(link.m_hWnd);
        EXPECT_EQ(TextColour(link.m_hWnd), place.inside ? kHoverColour : kLinkColour);
        EXPECT_EQ(Underlined(link.m_hWnd), place.inside);
        // The timer runs exactly as long as the episode.
        EXPECT_EQ(KillTimer(link.m_hWnd, 100) != FALSE, place.inside);
        PointerAt(kFarAway);
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
}

TEST_F(LinkLabelTest, AClickOpensTheTargetOrSaysWhyNotAndSetsTheFollowedState)
{
    const std::string browser = StandIn("browser.exe");
    const std::string opened = StandIn("opened.exe");
    // Cut at "%1", this command and the target overflow the fallback's buffer.
    std::string longCommand = Quoted(browser) + " ";
    longCommand += std::string(255 - longCommand.size(), 'x') + " %1";
    struct Case {
        std::string target;
        std::string webPageCommand;  // registered for the fallback
        std::string error;           // the message box's text; none when the target opens
        std::string commandLine;     // of the program started
    };
    const Case cases[] = {
        {folder / "missing.htm", "", OpenErrorMessage(SE_ERR_FNF), ""},
        // Refused by the fallback, so the shell's own code is reported.
        {kAddress + std::string(300, 'p'), longCommand, OpenErrorMessage(SE_ERR_NOASSOC), ""},
        {opened, "", "", Quoted(opened)},
        {kAddress, Quoted(browser) + " -first \"%1\" -last", "", Quoted(browser) + " -first  " + kAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        OpenDialog();
        DeleteFileA(record.c_str());
        PrivateClasses classes(c.webPageCommand);
        CLinkLabel link;
        link.SetTarget(c.target);
        ASSERT_TRUE(link.SubclassWindow(Item(IDC_LEFT)));
        const bool opens = c.error.empty();
        link.SetFollowed(!opens);  // the other way than the click should leave it
        EXPECT_EQ(Click(link.m_hWnd), opens ? std::vector<std::string>{} : std::vector<std::string>{c.error});
        if (!opens)
            EXPECT_FALSE(FileExists(record));
        else
            EXPECT_EQ(WaitForStandinRecord(record)["command_line"], c.commandLine);
        EXPECT_EQ(TextColour(link.m_hWnd), opens ? kVisitedColour : kLinkColour);
    }
}
