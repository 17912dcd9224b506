// The version box of a renamed copy, opened from the jump dialog's system menu,
// and its link as the user sees, hovers, clicks and reaches it by keyboard. In
// every row DLLs lie beside the program under the names of system DLLs,
// waiting to be loaded.
#include <gtest/gtest.h>

#include "tests/support/harness.h"

namespace {
const wchar_t kBoxCaption[] = L"バージョン情報";
const wchar_t kHomePage[] = L"https://brackenfold.example/wexmoor/";
const COLORREF kLink = RGB(0, 0, 238), kVisited = RGB(85, 26, 139), kHover = RGB(255, 0, 0);
// DLLs loaded after the program's start (found with WINEDEBUG=+loaddll), and
// two that Wine's user32 loads before the program's first instruction, which
// no program can keep from running: imm32 may run, and version, an import of
// Wine's user32, must, which shows that planting works.
// The folder browser and a screen reader's request load more.
const char* const kPlanted[] = {"version", "imm32",   "comctl32", "msimg32", "shcore",  "shell32",
                                "shlwapi", "uxtheme", "oleacc",   "oleaut32"};

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

// Other.exe with its version box open from the jump dialog's system menu.
struct OpenBox {
    const StagedProgram& program;
    DWORD pid;
    HWND jump, box, link;
    RECT r;  // the link's, on screen
};

// No program for the address, but one for web pages, in the test bed's
// classes until the object goes: Wine reads the machine's classes only.
struct PageBrowser {
    char registered[MAX_PATH] = {};
    PageBrowser()
    {
        LONG size = sizeof registered;
        RegQueryValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", registered, &size);
        RegSetValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", REG_SZ, "C:\\missing\\browser.exe \"%1\"", 0);
        RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "WexmoorTestPage", 0);
    }
    ~PageBrowser()
    {
        RegSetValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", REG_SZ, registered, 0);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "WexmoorTestPage");
    }
    static void OpenWith(const std::string& command)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, "WexmoorTestPage\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    }
};

// The focus starts on OK; Tab takes it to the link, which screen readers are
// told is one, and Enter opens it as a click does. Escape closes the box.
void BoxIsModalAndNamedAfterTheCopyAndTheKeyboardReachesTheLink(const OpenBox& open)
{
    EXPECT_FALSE(IsWindowEnabled(open.jump));
    EXPECT_EQ(WindowText(GetDlgItem(open.box, 1002)), L"Other Version 1.20");
    const PageBrowser pages;
    const std::string browser = Ansi(Quoted(open.program.EditorPath()));
    pages.OpenWith(browser + " %1");
    GUITHREADINFO thread = {sizeof thread};
    const auto focus = [&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(open.box, nullptr), &thread) ? thread.hwndFocus : nullptr;
    };
    EXPECT_EQ(focus(), GetDlgItem(open.box, IDOK));
    FocusForTyping(open.box);
    TypeText(L"\t");
    EXPECT_TRUE(WaitUntil([&] { return focus() == open.link; }));
    const AccessibleInfo link = ReadAccessible(open.link);
    EXPECT_EQ(link.role, ROLE_SYSTEM_LINK);
    EXPECT_EQ(link.name, kHomePage);
    TypeText(L"\n");
    EXPECT_EQ(StandinRecord(open.program.RecordPath(), 10s)["command_line"], browser + "  " + Ansi(kHomePage));
    TypeText(L"\x1B");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(open.box) && IsWindowEnabled(open.jump); }));
    // Another command returns at once; had it opened a box, that box's loop would hold it.
    EXPECT_TRUE(SendMessageTimeoutA(open.jump, WM_SYSCOMMAND, 0x0110, 0, 0, 2000, nullptr));
    PostMessageA(open.jump, WM_SYSCOMMAND, 0x001F, 0);  // the low four bits are the system's
    EXPECT_TRUE(WaitForProcessWindow(open.pid, kBoxCaption));
}

void ClickOpensTheBrowserOrSaysWhyNot(const OpenBox& open)
{
    const PageBrowser pages;
    // Once the hover colour and the tip show, and each click elsewhere, so that two make no double click.
    // Wine hands the program a move of its own for the pointer's arrival when the program next reads the
    // display, which a busy one may do only after a quick click; that move rightly starts a new hover
    // episode. The tip shows once the pointer has rested, that move taken in. Should neither show, the
    // pointer is put there again: a move read late from before can stand in for the new one.
    const auto click = [&](int x) {
        EXPECT_TRUE(WaitUntil([&] { return SetCursorPos(x, open.r.top + 2) && WaitForProcessWindow(open.pid, kHomePage, L"", 2s) &&
                                           Pixels(open.link, kHover) > 0; })) << "the hover colour beats the visited one";
        mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    };
    const std::string browser = Ansi(Quoted(open.program.EditorPath()));
    pages.OpenWith(browser + " -first \"%1\" -last");
    click(open.r.left + 5);
    EXPECT_EQ(StandinRecord(open.program.RecordPath(), 10s)["command_line"], browser + " -first  " + Ansi(kHomePage));
    // Under the pointer the followed link keeps its underline until the
    // pointer leaves, and its colour after.
    EXPECT_TRUE(WaitUntil([&] { return Pixels(open.link, kHover) == 0 && Pixels(open.link, kVisited) > 0; }));
    const int underlined = Pixels(open.link, kVisited);
    SetCursorPos(1270, 1010);
    EXPECT_TRUE(WaitUntil([&] { const int visited = Pixels(open.link, kVisited); return visited > 0 && visited < underlined; }));

    pages.OpenWith("C:\\missing\\page.exe %1");
    click(open.r.left + 15);
    EXPECT_TRUE(Answer(WaitForProcessWindow(open.pid, L"Other", L"Unable to open hyperlink:\n\nThe specified file was not found.")));
    SetCursorPos(1270, 1010);
    EXPECT_TRUE(WaitUntil([&] { return Pixels(open.link, kLink) > 0; })) << "followed after a failure";
}

enum class Start { WithSettings, ThroughThePrompt };

struct Row {
    const char* name;
    void (*check)(const OpenBox&);
    Start start = Start::WithSettings;
};

const Row kRows[] = {
    {"BoxIsModalAndNamedAfterTheCopyAndTheKeyboardReachesTheLink", BoxIsModalAndNamedAfterTheCopyAndTheKeyboardReachesTheLink},
    {"ClickOpensTheBrowserOrSaysWhyNot", ClickOpensTheBrowserOrSaysWhyNot, Start::ThroughThePrompt},
};

class VersionBox : public ::testing::TestWithParam<Row> {};
}  // namespace

// Wine is told to prefer the planted DLLs for this program, as Windows
// prefers a DLL beside a program to one outside its folder.
TEST_P(VersionBox, OpensFromTheMenuWhilePlantedDllsNeverRun)
{
    const Row& row = GetParam();
    StagedProgram program(L"Other.exe");
    const DesktopEditor desktopEditor(program.EditorPath());
    if (row.start != Start::ThroughThePrompt)
        program.UseStandinEditor();
    const std::string overrides = "Software\\Wine\\AppDefaults\\Other.exe";
    const ScopeExit removeOverrides{[&] { RegDeleteTreeA(HKEY_CURRENT_USER, overrides.c_str()); }};
    for (const std::string name : kPlanted) {
        CopyFileW(BuildTreePath("tests/support/planted_dll.dll").c_str(),
                  (program.Folder() / Wide(name + ".dll")).c_str(), FALSE);
        RegSetKeyValueA(HKEY_CURRENT_USER, (overrides + "\\DllOverrides").c_str(), name.c_str(), REG_SZ,
                        "native,builtin", sizeof "native,builtin");
    }
    OpenBox open = {program, program.Start().Id()};
    // The folder browser's own DLL loads are covered too.
    if (row.start == Start::ThroughThePrompt)
        TypeInto(WaitForProcessWindow(open.pid, nullptr, L"秀丸エディタの場所を指定してください。"), L"\n");
    open.jump = WaitForProcessWindow(open.pid, L"Wexmoor");
    ASSERT_TRUE(open.jump);
    // The entry is the menu's last, after Wine's own.
    PostMessageA(open.jump, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    TypeInto(open.jump, L"\x02\n");
    open.box = WaitForProcessWindow(open.pid, kBoxCaption);
    ASSERT_TRUE(open.box);
    open.link = GetDlgItem(open.box, 1001);
    GetWindowRect(open.link, &open.r);
    row.check(open);
    program.Process().Kill();
    for (const std::string name : kPlanted) {
        const bool ran = GetFileAttributesW((program.Folder() / Wide(name + ".dll.ran")).c_str()) !=
                         INVALID_FILE_ATTRIBUTES;
        if (name != "imm32") {
            EXPECT_EQ(ran, name == "version") << name << ".dll planted";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, VersionBox, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });
