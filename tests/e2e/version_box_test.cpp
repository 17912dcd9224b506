// The version box of a renamed copy, opened from the jump dialog's system menu
// after the folder prompt, and its link as the user sees, hovers and clicks it;
// meanwhile DLLs planted beside the program wait to be loaded.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/harness.h"
#include "version/version_menu.h"

namespace {
const char kBoxCaption[] = "バージョン情報";
const char kHomePage[] = "https://brackenfold.example/wexmoor/";
const COLORREF kLink = RGB(0, 0, 238), kVisited = RGB(85, 26, 139), kHover = RGB(255, 0, 0);
// DLLs loaded after the program's start (found with WINEDEBUG=+loaddll), and
// two that Wine's user32 loads before the program's first instruction, which
// no program can keep from running: imm32 may run, and version, an import of
// Wine's user32, must, which shows that planting works.
const char* const kPlanted[] = {"version", "imm32", "comctl32", "msimg32", "shcore", "shell32", "shlwapi", "uxtheme"};

// Puts the stand-in under each name beside the program and has Wine prefer
// it for this program, as Windows prefers a DLL beside a program to one
// outside its folder. When the returned object goes, at the end of the row
// however it ends, it checks which of them ran.
std::shared_ptr<void> PlantDlls(const StagedProgram& program, const std::string& exeName)
{
    const std::string settings = "Software\\Wine\\AppDefaults\\" + exeName;
    for (const std::string name : kPlanted) {
        CopyFileA(BuildTreePath("tests/support/planted_dll.dll").c_str(), (program.Folder() / (name + ".dll")).c_str(),
                  FALSE);
        RegSetKeyValueA(HKEY_CURRENT_USER, (settings + "\\DllOverrides").c_str(), name.c_str(), REG_SZ,
                        "native,builtin", sizeof "native,builtin");
    }
    return std::shared_ptr<void>(nullptr, [&program, settings](void*) {
        RegDeleteTreeA(HKEY_CURRENT_USER, settings.c_str());
        for (const std::string name : kPlanted) {
            const bool ran = FileExists(program.Folder() / (name + ".dll.ran"));
            EXPECT_TRUE(name == "version" ? ran : !ran || name == "imm32") << name << ".dll planted";
        }
    });
}

// How many pixels on screen inside the window have exactly the colour: the
// underline and the stems of the letters are drawn in the text colour itself.
int Pixels(HWND window, COLORREF colour)
{
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    // A copy first: counting on the screen itself would see half a repaint.
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, CreateCompatibleBitmap(screen, width, height));
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    int count = 0;
    for (int i = 0; i < width * height; ++i)
        count += GetPixel(memory, i % width, i / width) == colour;
    DeleteObject(SelectObject(memory, previous));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

// The size of the text in the box's font, 9 points at the test bed's 96 dpi.
SIZE TextSize(const std::string& text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, CreateFontA(-12, 0, 0, 0, 0, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック"));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    DeleteObject(SelectObject(dc, previous));
    ReleaseDC(nullptr, dc);
    return size;
}

// The cursor the window's thread shows once the pointer is there, read through
// its input state, which this thread shares for the moment.
HCURSOR CursorAt(HWND window, POINT screen, HCURSOR other = nullptr)
{
    AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(window, nullptr), TRUE);
    SetCursorPos(screen.x, screen.y);
    WaitUntil([&] { return GetCursor() && GetCursor() != other; }, 2s);
    const HCURSOR cursor = GetCursor();
    AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(window, nullptr), FALSE);
    return cursor;
}

}  // namespace

TEST(VersionBox, FromTheSystemMenuWithItsLinkWhilePlantedDllsWait)
{
    StagedProgram program("Other.exe");
    const auto planted = PlantDlls(program, "Other.exe");
    const DWORD pid = program.Start().Id();
    HWND prompt, jump;
    ASSERT_TRUE(prompt = WaitForProcessWindow(pid, nullptr));
    FocusForTyping(prompt);
    TypeText("\n");
    ASSERT_TRUE(jump = WaitForProcessWindow(pid, "Wexmoor"));
    // The entry is the menu's last, after Wine's own.
    FocusForTyping(jump);
    PostMessageA(jump, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    TypeText("\x02\n");
    HWND box;
    ASSERT_TRUE(box = WaitForProcessWindow(pid, kBoxCaption));
    EXPECT_FALSE(IsWindowEnabled(jump));
    EXPECT_EQ(WindowText(GetDlgItem(box, 1002)), "Other Version 1.20");
    FocusForTyping(box);
    TypeText("\x1B");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(jump); }));
    // Another command returns at once; had it opened a box, that box's loop would hold it.
    EXPECT_TRUE(SendMessageTimeoutA(jump, WM_SYSCOMMAND, 0x0110, 0, 0, 2000, nullptr));
    PostMessageA(jump, WM_SYSCOMMAND, 0x001F, 0);  // the low four bits are the system's
    ASSERT_TRUE(box = WaitForProcessWindow(pid, kBoxCaption));
    HWND link = GetDlgItem(box, 1001);

    // Each label shows its whole text, and the link is sized to the address.
    for (HWND label = GetWindow(box, GW_CHILD); label; label = GetWindow(label, GW_HWNDNEXT)) {
        RECT client;
        GetClientRect(label, &client);
        EXPECT_LE(TextSize(WindowText(label)).cx, client.right) << WindowText(label);
    }
    RECT r;
    GetWindowRect(link, &r);
    EXPECT_EQ(r.right - r.left, TextSize(kHomePage).cx);
    EXPECT_EQ(r.bottom - r.top, TextSize(kHomePage).cy);
    // The text goes on the box's own face, read beside the icon.
    HDC boxDc = GetDC(box);
    const COLORREF face = GetPixel(boxDc, 2, 2);
    ReleaseDC(box, boxDc);
    EXPECT_TRUE(WaitUntil([&] { return Pixels(link, kLink) > 0; }));
    EXPECT_GT(2 * Pixels(link, face), (r.right - r.left) * (r.bottom - r.top)) << "not on the box's face";

    const POINT onLink = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const HCURSOR arrow = CursorAt(box, {r.left - 30, onLink.y});
    EXPECT_NE(CursorAt(box, onLink, arrow), arrow) << "no hand over the link";
    EXPECT_TRUE(WaitForProcessWindow(pid, kHomePage)) << "no tip with the address";

    // No program for the address, but one for web pages, in the test bed's
    // classes until the test ends: Wine reads the machine's classes only.
    char registered[MAX_PATH] = {};
    LONG size = sizeof registered;
    RegQueryValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", registered, &size);
    const std::shared_ptr<void> restore(nullptr, [&](void*) {
        RegSetValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", REG_SZ, registered, 0);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "WexmoorTestPage");
    });
    RegSetValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", REG_SZ, "C:\\missing\\browser.exe \"%1\"", 0);
    RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "WexmoorTestPage", 0);
    const std::string browser = Quoted(program.EditorPath());
    RegSetValueA(HKEY_CLASSES_ROOT, "WexmoorTestPage\\shell\\open\\command", REG_SZ,
                 (browser + " -first \"%1\" -last").c_str(), 0);
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    EXPECT_EQ(StandinRecord(program.RecordPath(), 10s)["command_line"], browser + " -first  " + kHomePage);
    // Under the pointer the followed link keeps its underline until the
    // pointer leaves, and its colour after.
    int underlined = 0;
    EXPECT_TRUE(WaitUntil([&] { return Pixels(link, kHover) == 0 && (underlined = Pixels(link, kVisited)) > 0; }));
    SetCursorPos(1270, 1010);
    EXPECT_TRUE(WaitUntil([&] { const int visited = Pixels(link, kVisited); return visited > 0 && visited < underlined; }));

    RegSetValueA(HKEY_CLASSES_ROOT, "WexmoorTestPage\\shell\\open\\command", REG_SZ, "C:\\missing\\page.exe %1", 0);
    // Elsewhere on the link, so that the two clicks make no double click.
    SetCursorPos(onLink.x + 10, onLink.y);
    EXPECT_TRUE(WaitUntil([&] { return Pixels(link, kHover) > 0; })) << "the hover colour beats the visited one";
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    HWND message;
    ASSERT_TRUE(message = WaitForProcessWindow(pid, "Other"));
    EXPECT_EQ(WindowText(GetDlgItem(message, 0xFFFF)), "Unable to open hyperlink:\n\nThe specified file was not found.");
    PostMessageA(message, WM_COMMAND, IDOK, 0);
    SetCursorPos(1270, 1010);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(message) && Pixels(link, kLink) > 0; })) << "followed after a failure";
}

// What the keyboard passes over or cannot read: the separator before the entry and its label.
TEST(VersionBox, TheEntryFollowsASeparator)
{
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP | WS_SYSMENU, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = GetSystemMenu(window, FALSE);
    AppendVersionMenuItem(window);
    EXPECT_EQ(GetMenuState(menu, GetMenuItemCount(menu) - 2, MF_BYPOSITION) & MF_SEPARATOR, UINT{MF_SEPARATOR});
    char label[64] = {};
    GetMenuStringA(menu, 0x0010, label, sizeof label, MF_BYCOMMAND);
    EXPECT_STREQ(label, "バージョン情報(&A)...");
    DestroyWindow(window);
}
