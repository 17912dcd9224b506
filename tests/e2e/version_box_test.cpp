// The version box of a renamed copy, opened from the jump dialog's system menu,
// and its link as the user sees, hovers, clicks and reaches it by keyboard. In
// every row DLLs lie beside the program under the names of system DLLs,
// waiting to be loaded.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/link_label_logic.h"
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
// The window's pixels on screen, copied at once: reading the screen itself
// pixel by pixel would see half a repaint.
std::vector<COLORREF> ScreenPixels(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, CreateCompatibleBitmap(screen, width, height));
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(GetPixel(memory, i % width, i / width));
    DeleteObject(SelectObject(memory, previous));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

int Pixels(HWND window, COLORREF colour)
{
    const std::vector<COLORREF> pixels = ScreenPixels(window);
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
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

// Other.exe with its version box open from the jump dialog's system menu.
struct OpenBox {
    const StagedProgram& program;
    DWORD pid;
    HWND jump, box, link;
    RECT r;  // the link's, on screen
};

void BoxIsModalAndNamedAfterTheCopy(const OpenBox& open)
{
    EXPECT_FALSE(IsWindowEnabled(open.jump));
    EXPECT_EQ(WideWindowText(GetDlgItem(open.box, 1002)), L"Other Version 1.20");
    FocusForTyping(open.box);
    TypeText("\x1B");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(open.box) && IsWindowEnabled(open.jump); }));
    // Another command returns at once; had it opened a box, that box's loop would hold it.
    EXPECT_TRUE(SendMessageTimeoutA(open.jump, WM_SYSCOMMAND, 0x0110, 0, 0, 2000, nullptr));
    PostMessageA(open.jump, WM_SYSCOMMAND, 0x001F, 0);  // the low four bits are the system's
    EXPECT_TRUE(WaitForProcessWindow(open.pid, kBoxCaption));
}

void LabelsShowTheirWholeTextAndTheLinkFitsItsAddress(const OpenBox& open)
{
    for (HWND label = GetWindow(open.box, GW_CHILD); label; label = GetWindow(label, GW_HWNDNEXT)) {
        RECT client;
        GetClientRect(label, &client);
        EXPECT_LE(TextSize(WindowText(label)).cx, client.right) << WindowText(label);
    }
    const int width = open.r.right - open.r.left, height = open.r.bottom - open.r.top;
    EXPECT_EQ(width, TextSize(Ansi(kHomePage)).cx);
    EXPECT_EQ(height, TextSize(Ansi(kHomePage)).cy);
    // The text goes on the box's own face, read beside the icon.
    HDC boxDc = GetDC(open.box);
    const COLORREF face = GetPixel(boxDc, 2, 2);
    ReleaseDC(open.box, boxDc);
    EXPECT_TRUE(WaitUntil([&] { return Pixels(open.link, kLink) > 0; }));
    EXPECT_GT(2 * Pixels(open.link, face), width * height) << "not on the box's face";
}

void PointerOnTheLinkShowsAHandAndTheAddress(const OpenBox& open)
{
    const HCURSOR arrow = CursorAt(open.box, {open.r.left - 30, open.r.top + 2});
    EXPECT_NE(CursorAt(open.box, {open.r.left + 5, open.r.top + 2}, arrow), arrow) << "no hand over the link";
    EXPECT_TRUE(WaitForProcessWindow(open.pid, kHomePage)) << "no tip with the address";
}

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
    int underlined = 0;
    EXPECT_TRUE(WaitUntil([&] { return Pixels(open.link, kHover) == 0 && (underlined = Pixels(open.link, kVisited)) > 0; }));
    SetCursorPos(1270, 1010);
    EXPECT_TRUE(WaitUntil([&] { const int visited = Pixels(open.link, kVisited); return visited > 0 && visited < underlined; }));

    pages.OpenWith("C:\\missing\\page.exe %1");
    click(open.r.left + 15);
    EXPECT_TRUE(Answer(WaitForProcessWindow(open.pid, L"Other", L"Unable to open hyperlink:\n\nThe specified file was not found.")));
    SetCursorPos(1270, 1010);
    EXPECT_TRUE(WaitUntil([&] { return Pixels(open.link, kLink) > 0; })) << "followed after a failure";
}

// The focus starts on OK; Tab takes it to the link, which screen readers are
// told is one, and Enter opens it as a click does. Escape still closes the box.
void KeyboardReachesTheLinkAndOpensIt(const OpenBox& open)
{
    const PageBrowser pages;
    const std::string browser = Ansi(Quoted(open.program.EditorPath()));
    pages.OpenWith(browser + " %1");
    GUITHREADINFO thread = {sizeof thread};
    const auto focus = [&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(open.box, nullptr), &thread) ? thread.hwndFocus : nullptr;
    };
    EXPECT_EQ(focus(), GetDlgItem(open.box, IDOK));
    FocusForTyping(open.box);
    TypeText("\t");
    EXPECT_TRUE(WaitUntil([&] { return focus() == open.link; }));
    const AccessibleInfo link = ReadAccessible(open.link);
    EXPECT_EQ(link.role, ROLE_SYSTEM_LINK);
    EXPECT_EQ(link.name, kHomePage);
    TypeText("\n");
    EXPECT_EQ(StandinRecord(open.program.RecordPath(), 10s)["command_line"], browser + "  " + Ansi(kHomePage));
    EXPECT_TRUE(IsWindow(open.box));
    TypeText("\x1B");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(open.box); }));
}

// With dark system colours, in which the link's blue would hardly show.
void LinkStaysReadableInADarkScheme(const OpenBox& open)
{
    double contrast = 1;
    for (COLORREF pixel : ScreenPixels(open.link))
        contrast = std::max(contrast, ContrastRatio(pixel, RGB(0, 0, 0)));
    EXPECT_GE(contrast, 3.0) << "against the black face";
    EXPECT_GT(Pixels(open.link, RGB(0, 0, 0)), 0) << "the scheme did not take";
}

enum class Start { WithSettings, ThroughThePrompt, InADarkScheme };

struct Row {
    const char* name;
    void (*check)(const OpenBox&);
    Start start = Start::WithSettings;
};

const Row kRows[] = {
    {"BoxIsModalAndNamedAfterTheCopy", BoxIsModalAndNamedAfterTheCopy},
    {"LabelsShowTheirWholeTextAndTheLinkFitsItsAddress", LabelsShowTheirWholeTextAndTheLinkFitsItsAddress},
    {"PointerOnTheLinkShowsAHandAndTheAddress", PointerOnTheLinkShowsAHandAndTheAddress},
    {"ClickOpensTheBrowserOrSaysWhyNot", ClickOpensTheBrowserOrSaysWhyNot, Start::ThroughThePrompt},
    {"KeyboardReachesTheLinkAndOpensIt", KeyboardReachesTheLinkAndOpensIt},
    {"LinkStaysReadableInADarkScheme", LinkStaysReadableInADarkScheme, Start::InADarkScheme},
};

// System colours written before the program starts are the ones it reads;
// the old ones come back when the object goes.
struct DarkScheme {
    const char* const key = "Control Panel\\Colors";
    std::map<std::string, std::string> saved;
    DarkScheme()
    {
        for (const auto& [name, colour] : {std::pair("ButtonFace", "0 0 0"), {"ButtonText", "255 255 255"},
                                           {"Window", "0 0 0"}, {"WindowText", "255 255 255"}}) {
            char old[64] = {};
            DWORD size = sizeof old;
            RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, old, &size);
            saved[name] = old;
            RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, colour, strlen(colour) + 1);
        }
    }
    ~DarkScheme()
    {
        for (const auto& [name, colour] : saved)
            RegSetKeyValueA(HKEY_CURRENT_USER, key, name.c_str(), REG_SZ, colour.c_str(), colour.size() + 1);
    }
};

class VersionBox : public ::testing::TestWithParam<Row> {};
}  // namespace

// Wine is told to prefer the planted DLLs for this program, as Windows
// prefers a DLL beside a program to one outside its folder.
TEST_P(VersionBox, OpensFromTheMenuWhilePlantedDllsNeverRun)
{
    const Row& row = GetParam();
    StagedProgram program(L"Other.exe");
    std::unique_ptr<DesktopEditor> desktopEditor;
    std::unique_ptr<DarkScheme> darkScheme;
    if (row.start == Start::ThroughThePrompt)
        desktopEditor = std::make_unique<DesktopEditor>(program.EditorPath());
    else
        program.UseStandinEditor();
    if (row.start == Start::InADarkScheme)
        darkScheme = std::make_unique<DarkScheme>();
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
    if (row.start == Start::ThroughThePrompt) {
        HWND browser = WaitForProcessWindow(open.pid, nullptr, L"秀丸エディタの場所を指定してください。");
        ASSERT_TRUE(browser);
        FocusForTyping(browser);
        TypeText("\n");
    }
    open.jump = WaitForProcessWindow(open.pid, L"Wexmoor");
    ASSERT_TRUE(open.jump);
    // The entry is the menu's last, after Wine's own.
    FocusForTyping(open.jump);
    PostMessageA(open.jump, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    TypeText("\x02\n");
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
