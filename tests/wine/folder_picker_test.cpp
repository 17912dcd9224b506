#include "controls/folder_picker.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/win_app.h"
#include "tests/support/test_files.h"

namespace {
std::string PathOf(LPCITEMIDLIST pidl)
{
    char path[MAX_PATH] = {};
    SHGetPathFromIDListA(pidl, path);
    return path;
}

// What the test thread saw of the browser, from a hook that does not depend on
// the class under test: each browser as it starts, and each selection sent to
// it ("path <text>" or "list <the item list's path>").
std::vector<HWND> g_browsers;
std::vector<std::string> g_selections;
bool g_watchdogFired = false;

LRESULT CALLBACK WatchBrowsers(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_INITDIALOG)
        g_browsers.push_back(sent->hwnd);
    if (code == HC_ACTION && sent->message == BFFM_SETSELECTIONA)
        g_selections.push_back(sent->wParam ? "path " + std::string(reinterpret_cast<const char*>(sent->lParam))
                                            : "list " + PathOf(reinterpret_cast<LPCITEMIDLIST>(sent->lParam)));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A browser left open would block the test for ever.
void CALLBACK CloseForgottenBrowsers(HWND, UINT, UINT_PTR, DWORD)
{
    g_watchdogFired = true;
    for (HWND browser : g_browsers)
        PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
}

// Follows every task allocation. The shell keeps some of its own for good,
// so only the item lists that the picker owns are looked up here.
class AllocationSpy : public IMallocSpy {
public:
    bool IsLive(void* p) const { return m_live.count(p) != 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = riid == IID_IUnknown || riid == IID_IMallocSpy ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T cb) override { return cb; }
    void* STDMETHODCALLTYPE PostAlloc(void* p) override { return *m_live.insert(p).first; }
    void* STDMETHODCALLTYPE PreFree(void* p, BOOL) override { return m_live.erase(p), p; }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* p, SIZE_T cb, void** pNew, BOOL) override
    {
        m_live.erase(p);
        *pNew = p;
        return cb;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* p, BOOL) override { return *m_live.insert(p).first; }
    void* STDMETHODCALLTYPE PreGetSize(void* p, BOOL) override { return p; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T cb, BOOL) override { return cb; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* p, BOOL) override { return p; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int result) override { return result; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    std::set<void*> m_live;
};

// Registered once: with the shell's own allocations outstanding it cannot be
// revoked anyway.
AllocationSpy& Spy()
{
    static AllocationSpy spy;
    static const HRESULT registered = CoRegisterMallocSpy(&spy);
    EXPECT_EQ(registered, S_OK);
    return spy;
}

// Kind ('I' browser initialised, 'S' selection changed), the new selection's
// path, the browser as the shell names it, the object's window at that moment.
using Notification = std::tuple<char, std::string, HWND, HWND>;

// Records every step and notification, and closes the browser from its
// initialisation through the object itself.
class ProbePicker : public CFolderPicker {
public:
    using CFolderPicker::CFolderPicker;
    using CFolderPicker::BrowseCallbackProc;

    UINT closeWith = IDOK;
    int alsoInitialCsidl = 0;  // set beside whatever Browse set, for one browse

    std::vector<std::string> steps;
    std::vector<Notification> notifications;
    std::vector<std::string> rejectedNames;
    std::vector<void*> owned;  // item lists the last browse obtained or was handed
    int leakedLists = 0;       // of those, still allocated when a browse ended
    HWND ownerAtInit = nullptr;

    void SetChosen(const char* path, const char* name)
    {
        lstrcpyA(m_szChosenPath, path);
        lstrcpyA(m_szChosenName, name);
    }
    const char* Title() const { return m_szTitle; }

protected:
    void ResetBrowseState() override
    {
        steps.push_back("Reset");
        CFolderPicker::ResetBrowseState();
    }
    int RunBrowse() override
    {
        steps.push_back("Run");
        if (alsoInitialCsidl)
            m_nInitialCsidl = std::exchange(alsoInitialCsidl, 0);
        owned.clear();
        const int result = CFolderPicker::RunBrowse();
        for (void* pidl : owned)
            leakedLists += Spy().IsLive(pidl);
        return result;
    }
    BOOL CsidlToPidl(int nCsidl, LPITEMIDLIST* ppidl) override
    {
        steps.push_back("Csidl " + std::to_string(nCsidl));
        const BOOL resolved = CFolderPicker::CsidlToPidl(nCsidl, ppidl);
        if (resolved && *ppidl)
            owned.push_back(*ppidl);
        return resolved;
    }
    void FreePidls(LPITEMIDLIST pidlChosen) override
    {
        steps.push_back("Free");
        if (pidlChosen)
            owned.push_back(pidlChosen);
        CFolderPicker::FreePidls(pidlChosen);
    }
    BOOL OnBrowseInit() override
    {
        notifications.emplace_back('I', "", nullptr, m_hWnd);
        ownerAtInit = GetWindow(m_hWnd, GW_OWNER);
        PostMessageA(m_hWnd, WM_COMMAND, closeWith, 0);
        return TRUE;
    }
    void OnBrowseSelChanged(HWND hDlg, LPITEMIDLIST pidlItem) override
    {
        notifications.emplace_back('S', PathOf(pidlItem), hDlg, m_hWnd);
    }
    void OnBrowseValidateFailed(const char* pszName) override { rejectedNames.push_back(pszName); }
};

class TestApp : public CWinApp {
    BOOL InitInstance() override { return FALSE; }
};

std::string FolderPath(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string Chosen(const CFolderPicker& picker)
{
    std::string path;
    picker.GetResult(path, 1);
    return path;
}

const char kTitle[] = "秀丸エディタの場所を指定してください。";
const UINT kFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;

class FolderPickerBrowse : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_browsers.clear();
        g_selections.clear();
        g_watchdogFired = false;
        hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchBrowsers, nullptr, GetCurrentThreadId());
        watchdog = SetTimer(nullptr, 0, 5000, CloseForgottenBrowsers);
        Spy();
    }
    void TearDown() override
    {
        KillTimer(nullptr, watchdog);
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(g_watchdogFired) << "a browser stayed open";
        EXPECT_EQ(picker.leakedLists, 0);
    }

    ProbePicker picker{kFlags, kTitle, 0};

private:
    HHOOK hook = nullptr;
    UINT_PTR watchdog = 0;
};
}  // namespace

// One object throughout, so each browse also shows that it starts afresh and
// that the object let go of the previous browser.
TEST_F(FolderPickerBrowse, TheInitialSelectionIsMadeBeforeTheObjectTakesTheBrowser)
{
    TempFolder temp;
    const std::string folder = temp / "\x8E\x91\x97\xBF";  // "資料"
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string windows = FolderPath(CSIDL_WINDOWS);
    const std::string desktop = FolderPath(CSIDL_DESKTOPDIRECTORY);  // the shell's own preselection
    struct Case {
        std::function<int()> browse;
        std::vector<std::string> selections;
        std::string chosen;  // none: Wine's browser follows a path it is sent only now and then
    };
    const Case cases[] = {
        {[&] { return picker.Browse(); }, {}, desktop},
        {[&] { return picker.Browse(0); }, {}, desktop},
        {[&] { return picker.Browse(static_cast<const char*>(nullptr)); }, {}, desktop},
        {[&] { return picker.Browse(""); }, {}, desktop},
        {[&] { picker.alsoInitialCsidl = CSIDL_WINDOWS; return picker.Browse(folder.c_str()); }, {"path " + folder}, ""},
        {[&] { return picker.Browse(CSIDL_WINDOWS); }, {"list " + windows}, windows},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        picker.steps.clear();
        picker.notifications.clear();
        g_selections.clear();
        EXPECT_EQ(c.browse(), IDOK);
        ASSERT_EQ(g_browsers.size(), i + 1);
        const HWND browser = g_browsers.back();
        EXPECT_EQ(g_selections, c.selections);
        // Every browse here that selects something also names the Windows folder.
        const std::string initialCsidl = std::to_string(c.selections.empty() ? 0 : CSIDL_WINDOWS);
        EXPECT_EQ(picker.steps, (std::vector<std::string>{"Reset", "Run", "Csidl 0", "Csidl " + initialCsidl, "Free"}));
        EXPECT_EQ(picker.m_hWnd, nullptr);
        if (c.chosen.empty())
            continue;
        std::vector<Notification> expected = {{'I', "", nullptr, browser}};
        if (!c.selections.empty())
            expected.insert(expected.begin(), Notification('S', c.chosen, browser, nullptr));
        EXPECT_EQ(picker.notifications, expected);
        EXPECT_EQ(Chosen(picker), c.chosen);
    }
}

TEST_F(FolderPickerBrowse, ACancelLeavesTheResultEmpty)
{
    ASSERT_EQ(picker.Browse(CSIDL_WINDOWS), IDOK);
    picker.closeWith = IDCANCEL;
    EXPECT_EQ(picker.Browse(CSIDL_WINDOWS), IDCANCEL);
    EXPECT_EQ(Chosen(picker), "");
}

TEST_F(FolderPickerBrowse, TheMainWindowOwnsTheBrowser)
{
    TestApp app;
    CWnd mainWnd;
    const HWND main = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                      nullptr, nullptr);
    ASSERT_TRUE(mainWnd.SubclassWindow(main));
    app.m_pMainWnd = &mainWnd;
    EXPECT_EQ(picker.Browse(), IDOK);
    EXPECT_EQ(picker.ownerAtInit, main);
    DestroyWindow(main);
}

// The lists obtained before the failure are released again (checked on tear-down).
TEST_F(FolderPickerBrowse, AnUnresolvableRootOrInitialFolderFailsWithoutABrowser)
{
    const int kNoSuchFolder = 0x7F;
    const std::string lookUpNothing = "Csidl " + std::to_string(kNoSuchFolder);
    picker.SetBrowseOptions(kFlags, nullptr, kNoSuchFolder);
    EXPECT_EQ(picker.Browse(), -1);
    EXPECT_EQ(picker.steps, (std::vector<std::string>{"Reset", "Run", lookUpNothing}));

    picker.steps.clear();
    picker.SetBrowseOptions(kFlags, nullptr, CSIDL_WINDOWS);
    EXPECT_EQ(picker.Browse(kNoSuchFolder), -1);
    const std::string lookUpWindows = "Csidl " + std::to_string(CSIDL_WINDOWS);
    EXPECT_EQ(picker.steps, (std::vector<std::string>{"Reset", "Run", lookUpWindows, lookUpNothing}));
    EXPECT_EQ(picker.owned.size(), 1u);
    EXPECT_TRUE(g_browsers.empty());
}

// Wine's browser never rejects a typed name, so the shell's call is made here.
TEST(FolderPickerCallback, OnlyTheAnsiRejectionReachesItsNotification)
{
    ProbePicker picker(kFlags, kTitle, 0);
    const LPARAM self = reinterpret_cast<LPARAM>(&picker);
    const char name[] = "\x95\x5C\x8E\xA6";
    const LPARAM typed = reinterpret_cast<LPARAM>(name);
    EXPECT_EQ(ProbePicker::BrowseCallbackProc(nullptr, BFFM_VALIDATEFAILEDA, typed, self), 0);
    EXPECT_EQ(ProbePicker::BrowseCallbackProc(nullptr, BFFM_VALIDATEFAILEDW, typed, self), 0);
    EXPECT_EQ(ProbePicker::BrowseCallbackProc(nullptr, BFFM_IUNKNOWN, 0, self), 0);
    EXPECT_EQ(picker.rejectedNames, std::vector<std::string>{name});
    EXPECT_TRUE(picker.notifications.empty());
}

TEST(FolderPickerResult, OneSelectsThePathAndTheBufferTakesAtMostTheGivenCountInWholeCharacters)
{
    ASSERT_EQ(GetACP(), 932u);
    ProbePicker picker(kFlags, nullptr, 0);
    const struct {
        const char* path;
        int which;
        int maxBytes;
        int copied;
        const char* bytes;  // the 12-byte buffer afterwards, "#" where untouched
    } cases[] = {
        {"C:\\abcde", 1, 8, 8, "C:\\abcde\0###"},
        {"C:\\abcde", 1, 11, 8, "C:\\abcde\0###"},
        {"C:\\abcde", 1, 4, 4, "C:\\a\0#######"},
        {"C:\\abcde", 1, 0, 0, "\0###########"},
        {"C:\\abcde", 1, -1, 0, "############"},
        {"", 1, 8, 0, "############"},
        {"C:\\\x95\x5C", 1, 4, 4, "C:\\\0\0#######"},  // cut inside "表" under code page 932
        {"C:\\\x95\x5C", 1, 5, 5, "C:\\\x95\x5C\0######"},
        {"C:\\abcde", 0, 8, 4, "name\0#######"},
        {"C:\\abcde", 2, 8, 4, "name\0#######"},
        {"C:\\abcde", -1, 8, 4, "name\0#######"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << ", " << c.which << ", " << c.maxBytes);
        picker.SetChosen(c.path, "name");
        std::string buffer(12, '#');
        EXPECT_EQ(picker.GetResult(&buffer[0], c.maxBytes, c.which), c.copied);
        EXPECT_EQ(buffer, std::string(c.bytes, 12));
    }
    std::string name;
    picker.GetResult(name, 0);
    EXPECT_EQ(name, "name");
}

TEST(FolderPickerOptions, TheTitleIsKeptWithoutANewOneAndCutAtACharacter)
{
    ProbePicker untitled(kFlags, nullptr, 0);
    EXPECT_STREQ(untitled.Title(), "");

    ProbePicker picker(kFlags, kTitle, 0);
    picker.SetBrowseOptions(0, nullptr, CSIDL_WINDOWS);
    EXPECT_STREQ(picker.Title(), kTitle);

    // 254 bytes and "表": the title holds 255 bytes, so the character goes whole.
    const std::string longTitle = std::string(254, 'a') + "\x95\x5C" + std::string(40, 'b');
    picker.SetBrowseOptions(0, longTitle.c_str(), 0);
    EXPECT_EQ(std::string(picker.Title()), std::string(254, 'a'));
}
