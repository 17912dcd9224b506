#include "controls/folder_picker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "framework/win_app.h"
#include "tests/support/test_files.h"

namespace {
// What the test thread saw of the browser, from hooks that do not depend on
// the class under test.
std::vector<HWND> g_browsers;
std::vector<WPARAM> g_selectionKinds;  // wParam of every BFFM_SETSELECTIONA
bool g_watchdogFired = false;

LRESULT CALLBACK RecordBrowsers(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const HWND hWnd = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(hWnd, className, sizeof className);
        if (!(reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->style & WS_CHILD) &&
            std::string(className) == "#32770")
            g_browsers.push_back(hWnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK RecordSelections(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == BFFM_SETSELECTIONA)
        g_selectionKinds.push_back(sent->wParam);
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

struct Notification {
    char kind;         // 'I' browser initialised, 'S' selection changed
    std::string path;  // of the new selection
    HWND hDlg;         // the browser as the shell names it
    HWND attached;     // the object's window at that moment
};

std::string PathOf(LPCITEMIDLIST pidl)
{
    char path[MAX_PATH] = {};
    SHGetPathFromIDListA(pidl, path);
    return path;
}

// Records every step and notification, and closes the browser from its
// initialisation through the object itself.
class ProbePicker : public CFolderPicker {
public:
    using CFolderPicker::CFolderPicker;
    using CFolderPicker::BrowseCallbackProc;

    std::string selectOnInit;
    UINT closeWith = IDOK;
    int alsoInitialCsidl = 0;  // set beside whatever Browse set

    std::vector<std::string> steps;
    std::vector<Notification> notifications;
    std::vector<std::string> rejectedNames;
    int ownedLists = 0;   // item lists the picker obtained or was handed
    int leakedLists = 0;  // of those, still allocated when the browse ended
    HWND ownerAtInit = nullptr;
    bool titleShown = false;

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
            m_nInitialCsidl = alsoInitialCsidl;
        m_owned.clear();
        const int result = CFolderPicker::RunBrowse();
        for (void* pidl : m_owned)
            leakedLists += Spy().IsLive(pidl);
        return result;
    }
    BOOL CsidlToPidl(int nCsidl, LPITEMIDLIST* ppidl) override
    {
        steps.push_back("Csidl " + std::to_string(nCsidl));
        const BOOL resolved = CFolderPicker::CsidlToPidl(nCsidl, ppidl);
        if (resolved)
            Own(*ppidl);
        return resolved;
    }
    void FreePidls(LPITEMIDLIST pidlChosen) override
    {
        steps.push_back("Free");
        Own(pidlChosen);
        CFolderPicker::FreePidls(pidlChosen);
    }
    BOOL OnBrowseInit() override
    {
        notifications.push_back({'I', "", nullptr, m_hWnd});
        ownerAtInit = GetWindow(m_hWnd, GW_OWNER);
        titleShown = FindWindowExA(m_hWnd, nullptr, "Static", m_szTitle) != nullptr;
        if (!selectOnInit.empty())
            SendMessageA(m_hWnd, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(selectOnInit.c_str()));
        PostMessageA(m_hWnd, WM_COMMAND, closeWith, 0);
        return TRUE;
    }
    void OnBrowseSelChanged(HWND hDlg, LPITEMIDLIST pidlItem) override
    {
        notifications.push_back({'S', PathOf(pidlItem), hDlg, m_hWnd});
    }
    void OnBrowseValidateFailed(const char* pszName) override { rejectedNames.push_back(pszName); }

private:
    void Own(void* pidl)
    {
        if (pidl) {
            m_owned.push_back(pidl);
            ++ownedLists;
        }
    }

    std::vector<void*> m_owned;
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

const std::vector<std::string> kPlainSteps = {"Reset", "Run", "Csidl 0", "Csidl 0", "Free"};
const char kTitle[] = "秀丸エディタの場所を指定してください。";
const UINT kFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;

class FolderPickerBrowse : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_browsers.clear();
        g_selectionKinds.clear();
        g_watchdogFired = false;
        creations = SetWindowsHookExA(WH_CBT, RecordBrowsers, nullptr, GetCurrentThreadId());
        messages =
            SetWindowsHookExA(WH_CALLWNDPROC, RecordSelections, nullptr, GetCurrentThreadId());
        watchdog = SetTimer(nullptr, 0, 5000, CloseForgottenBrowsers);
        Spy();
    }
    void TearDown() override
    {
        KillTimer(nullptr, watchdog);
        UnhookWindowsHookEx(messages);
        UnhookWindowsHookEx(creations);
        EXPECT_FALSE(g_watchdogFired) << "a browser stayed open";
        EXPECT_EQ(picker.leakedLists, 0);
    }

    ProbePicker picker{kFlags, kTitle, 0};

private:
    HHOOK creations = nullptr;
    HHOOK messages = nullptr;
    UINT_PTR watchdog = 0;
};
}  // namespace

TEST_F(FolderPickerBrowse, WithNothingGivenNothingIsPreselected)
{
    const std::string desktop = FolderPath(CSIDL_DESKTOPDIRECTORY);
    const std::vector<std::function<int()>> browses = {
        [&] { return picker.Browse(); },
        [&] { return picker.Browse(0); },
        [&] { return picker.Browse(static_cast<const char*>(nullptr)); },
        [&] { return picker.Browse(""); },
    };
    for (size_t i = 0; i < browses.size(); ++i) {
        SCOPED_TRACE(i);
        picker.steps.clear();
        picker.notifications.clear();
        EXPECT_EQ(browses[i](), IDOK);
        EXPECT_EQ(picker.steps, kPlainSteps);
        ASSERT_EQ(picker.notifications.size(), 1u);
        EXPECT_EQ(picker.notifications[0].attached, g_browsers.back());
        EXPECT_EQ(picker.ownerAtInit, nullptr);
        EXPECT_TRUE(picker.titleShown);
        EXPECT_EQ(Chosen(picker), desktop);  // the shell's own preselection
    }
    EXPECT_EQ(g_browsers.size(), browses.size());
    EXPECT_TRUE(g_selectionKinds.empty());
}

TEST_F(FolderPickerBrowse, APathIsSentAsTextAndWinsOverASpecialFolder)
{
    TempFolder temp;
    const std::string folder = temp / "\x8E\x91\x97\xBF";  // "資料"
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));

    picker.alsoInitialCsidl = CSIDL_WINDOWS;
    EXPECT_EQ(picker.Browse(folder.c_str()), IDOK);
    EXPECT_EQ(g_selectionKinds, std::vector<WPARAM>{TRUE});
    ASSERT_FALSE(picker.notifications.empty());
    EXPECT_EQ(picker.notifications[0].kind, 'S');
    EXPECT_EQ(picker.notifications[0].path, folder);
    EXPECT_EQ(Chosen(picker), folder);

    // The next browse starts afresh.
    picker.alsoInitialCsidl = 0;
    picker.notifications.clear();
    EXPECT_EQ(picker.Browse(), IDOK);
    EXPECT_EQ(g_selectionKinds.size(), 1u);
    EXPECT_EQ(picker.notifications.size(), 1u);
    EXPECT_EQ(Chosen(picker), FolderPath(CSIDL_DESKTOPDIRECTORY));
}

TEST_F(FolderPickerBrowse, ASpecialFolderIsSentAsAnItemList)
{
    const std::string windows = FolderPath(CSIDL_WINDOWS);
    EXPECT_EQ(picker.Browse(CSIDL_WINDOWS), IDOK);
    EXPECT_EQ(g_selectionKinds, std::vector<WPARAM>{FALSE});
    ASSERT_FALSE(picker.notifications.empty());
    EXPECT_EQ(picker.notifications[0].path, windows);
    EXPECT_EQ(Chosen(picker), windows);
    EXPECT_EQ(picker.ownedLists, 2);
}

TEST_F(FolderPickerBrowse, TheObjectIsAttachedToTheBrowserOnlyWhileItIsOpen)
{
    const std::string windows = FolderPath(CSIDL_WINDOWS);
    const std::string system = FolderPath(CSIDL_SYSTEM);
    picker.selectOnInit = system;
    for (size_t browse = 0; browse < 2; ++browse) {
        SCOPED_TRACE(browse);
        picker.notifications.clear();
        EXPECT_EQ(picker.Browse(windows.c_str()), IDOK);
        ASSERT_EQ(g_browsers.size(), browse + 1);
        const HWND browser = g_browsers.back();
        // The initial selection is made before the object takes the window.
        ASSERT_EQ(picker.notifications.size(), 3u);
        EXPECT_EQ(picker.notifications[0].kind, 'S');
        EXPECT_EQ(picker.notifications[0].path, windows);
        EXPECT_EQ(picker.notifications[0].hDlg, browser);
        EXPECT_EQ(picker.notifications[0].attached, nullptr);
        EXPECT_EQ(picker.notifications[1].kind, 'I');
        EXPECT_EQ(picker.notifications[1].attached, browser);
        EXPECT_EQ(picker.notifications[2].kind, 'S');
        EXPECT_EQ(picker.notifications[2].path, system);
        EXPECT_EQ(picker.notifications[2].hDlg, browser);
        EXPECT_EQ(picker.notifications[2].attached, browser);
        EXPECT_EQ(picker.m_hWnd, nullptr);
        EXPECT_FALSE(IsWindow(browser));
        EXPECT_EQ(Chosen(picker), system);
    }
}

TEST_F(FolderPickerBrowse, ACancelLeavesThePathEmptyAndWritesNothing)
{
    ASSERT_EQ(picker.Browse(CSIDL_WINDOWS), IDOK);
    picker.closeWith = IDCANCEL;
    EXPECT_EQ(picker.Browse(CSIDL_WINDOWS), IDCANCEL);
    EXPECT_EQ(picker.steps.back(), "Free");
    EXPECT_EQ(Chosen(picker), "");
    char buffer[] = "untouched";
    EXPECT_EQ(picker.GetResult(buffer, 8, 1), 0);
    EXPECT_STREQ(buffer, "untouched");
}

TEST_F(FolderPickerBrowse, TheMainWindowOwnsTheBrowser)
{
    TestApp app;
    CWnd mainWnd;
    const HWND main = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                      nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(mainWnd.SubclassWindow(main));
    app.m_pMainWnd = &mainWnd;
    EXPECT_EQ(picker.Browse(), IDOK);
    EXPECT_EQ(picker.ownerAtInit, main);
    DestroyWindow(main);
}

TEST_F(FolderPickerBrowse, AnUnresolvableSpecialFolderFailsWithoutABrowser)
{
    const int kNoSuchFolder = 0x7F;
    const std::string lookUpNothing = "Csidl " + std::to_string(kNoSuchFolder);
    picker.SetBrowseOptions(kFlags, nullptr, kNoSuchFolder);
    EXPECT_EQ(picker.Browse(), -1);
    EXPECT_EQ(picker.steps, (std::vector<std::string>{"Reset", "Run", lookUpNothing}));

    // The root's item list is released again (checked on tear-down).
    picker.steps.clear();
    picker.SetBrowseOptions(kFlags, nullptr, CSIDL_WINDOWS);
    EXPECT_EQ(picker.Browse(kNoSuchFolder), -1);
    const std::string lookUpWindows = "Csidl " + std::to_string(CSIDL_WINDOWS);
    EXPECT_EQ(picker.steps,
              (std::vector<std::string>{"Reset", "Run", lookUpWindows, lookUpNothing}));
    EXPECT_EQ(picker.ownedLists, 1);

    EXPECT_TRUE(g_browsers.empty());
    EXPECT_TRUE(picker.notifications.empty());
    EXPECT_STREQ(picker.Title(), kTitle);
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

TEST(FolderPickerResult, TheByteBufferTakesAtMostTheGivenCount)
{
    ASSERT_EQ(GetACP(), 932u);
    ProbePicker picker(kFlags, nullptr, 0);
    picker.SetChosen("C:\\abcde", "name");
    char buffer[12];

    auto copy = [&](int maxBytes) {
        std::fill(std::begin(buffer), std::end(buffer), '#');
        return picker.GetResult(buffer, maxBytes, 1);
    };
    EXPECT_EQ(copy(8), 8);
    EXPECT_EQ(std::string(buffer, 12), std::string("C:\\abcde\0###", 12));
    EXPECT_EQ(copy(11), 8);
    EXPECT_EQ(std::string(buffer, 12), std::string("C:\\abcde\0###", 12));
    EXPECT_EQ(copy(4), 4);
    EXPECT_EQ(std::string(buffer, 12), std::string("C:\\a\0#######", 12));
    EXPECT_EQ(copy(0), 0);
    EXPECT_EQ(std::string(buffer, 12), std::string("\0###########", 12));
    EXPECT_EQ(copy(-1), 0);
    EXPECT_EQ(std::string(buffer, 12), std::string(12, '#'));

    // Cut inside "表" (0x95 0x5C) under the current code page, 932.
    picker.SetChosen("C:\\\x95\x5C", "");
    EXPECT_EQ(copy(4), 4);
    EXPECT_EQ(std::string(buffer, 12), std::string("C:\\\0\0#######", 12));
    EXPECT_EQ(copy(5), 5);
    EXPECT_EQ(std::string(buffer, 12), std::string("C:\\\x95\x5C\0######", 12));

    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(picker.GetResult(buffer, 8, 0), 0);
    EXPECT_EQ(std::string(buffer, 12), std::string(12, '#'));
}

TEST(FolderPickerResult, OneSelectsThePathAnyOtherValueTheName)
{
    ProbePicker picker(kFlags, nullptr, 0);
    picker.SetChosen("C:\\path", "name");
    for (int nWhich : {0, 2, -1}) {
        std::string text;
        picker.GetResult(text, nWhich);
        EXPECT_EQ(text, "name");
        char buffer[MAX_PATH];
        EXPECT_EQ(picker.GetResult(buffer, MAX_PATH - 1, nWhich), 4);
        EXPECT_STREQ(buffer, "name");
    }
    EXPECT_EQ(Chosen(picker), "C:\\path");
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
