// The test harness: temporary folders, the staged program, processes, window
// lookup and real keyboard input, for tests that run under Wine. Paths are
// UTF-16, as the program's are; what the program shows or passes on is ANSI,
// so a path is compared with that through Ansi().
#pragma once
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/ansi_text.h"
#include "jump/file_path.h"

using namespace std::chrono_literals;

// Polls until the condition holds or the time is up, handling this thread's
// messages meanwhile (a second instance's broadcast visits the test's windows
// too). Returns the condition's last value.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    return true;
}

inline std::string Ansi(const std::wstring& text)
{
    std::string ansi;
    AnsiFromWide(text, ansi);
    return ansi;
}

inline std::wstring Wide(const std::string& text)
{
    std::wstring wide;
    WideFromAnsi(text, wide);
    return wide;
}

// Runs an action when it goes, however the test ends: for what a test changes
// outside its own folders.
struct ScopeExit {
    std::function<void()> action;
    ~ScopeExit() { action(); }
};

inline void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    EXPECT_TRUE(std::ofstream(path.c_str(), std::ios::binary).write(bytes.data(), bytes.size()).good()) << Ansi(path);
}

inline std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::wstring Quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

// A file of the build tree ("tools/standin_editor/standin_editor.exe"); Wine
// maps the Unix file system to drive Z: and takes its slashes.
inline std::wstring BuildTreePath(const std::string& relative)
{
    const char* root = std::getenv("WEXMOOR_BIN");
    EXPECT_TRUE(root) << "WEXMOOR_BIN is not set; run the tests through ctest";
    return Wide(std::string("Z:") + (root ? root : "") + "/" + relative);
}

// A fresh folder under the temporary folder, removed with everything in it when
// the object goes. A name (nested with backslashes) is made inside it.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name = L"")
    {
        static int counter = 0;
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        m_root = base + (L"wexmoor-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
        m_path = name.empty() ? m_root : m_root + L"\\" + name;
        SHCreateDirectoryExW(nullptr, m_path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        const std::wstring from = m_root + L'\0';
        SHFILEOPSTRUCTW remove = {nullptr, FO_DELETE, from.c_str()};
        remove.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationW(&remove);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Root() const { return m_root; }
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_root, m_path;
};

// A started process in a job of its own, so that the processes it starts are
// known too; killed with them if still running when the object goes.
class StartedProcess {
public:
    explicit StartedProcess(std::wstring commandLine)
    {
        // Wine starts the desktop's process for the first process that needs
        // the desktop; this one, so that it is not counted as the program's.
        GetDesktopWindow();
        STARTUPINFOW startup = {sizeof startup};
        EXPECT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                   nullptr, &startup, &m_info))
            << Ansi(commandLine);
        // Outside the job, the process would seem to have ended at once.
        EXPECT_TRUE(m_job && AssignProcessToJobObject(m_job, m_info.hProcess)) << "no job for " << Ansi(commandLine);
        ResumeThread(m_info.hThread);
    }
    ~StartedProcess()
    {
        Kill();
        CloseHandle(m_info.hThread);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_job);
    }
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }
    // Whether the process and every process it started have ended, so that
    // what they leave behind is final.
    bool WaitForExit(std::chrono::milliseconds timeout = 10s) const
    {
        return WaitUntil([&] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION job = {};
            return QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &job, sizeof job, nullptr) &&
                   job.ActiveProcesses == 0;
        }, timeout);
    }
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }
    void Kill() const
    {
        if (m_info.hProcess && TerminateJobObject(m_job, 1))
            WaitForExit(5s);
    }

private:
    PROCESS_INFORMATION m_info = {};
    HANDLE m_job = CreateJobObjectW(nullptr, nullptr);
};

// What the stand-in editor recorded ("key=value" lines; the first line of the
// history, recorded in hex, as bytes), waiting for it up to the time given;
// empty when it has written none. The record appears by a rename, whole.
inline std::map<std::string, std::string> StandinRecord(const std::wstring& path,
                                                        std::chrono::milliseconds wait = 0ms)
{
    std::map<std::string, std::string> record;
    if (!WaitUntil([&] {
            std::istringstream lines(ReadBytes(path));
            for (std::string line; std::getline(lines, line);)
                record[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
            return record.count("start_qpc") != 0;
        }, wait))
        return {};
    std::string& hex = record["history_first_line"];
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    hex = bytes;
    return record;
}

// A window's text as it shows, in UTF-16.
inline std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

// The visible top-level windows of a process.
inline std::vector<HWND> ProcessWindows(DWORD processId)
{
    std::vector<HWND> windows;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            windows.push_back(window);
    }
    return windows;
}

// A window of the process with the caption (nullptr: any) and, when childText
// is given, a control whose text holds it; nullptr when none came in time.
// Compared in UTF-16, so that a character shown as '?' does not pass.
inline HWND WaitForProcessWindow(DWORD processId, const wchar_t* caption, const std::wstring& childText = L"",
                                 std::chrono::milliseconds timeout = 10s)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : ProcessWindows(processId)) {
            bool hasChild = childText.empty();
            for (HWND child = GetWindow(window, GW_CHILD); !hasChild && child; child = GetWindow(child, GW_HWNDNEXT))
                hasChild = WindowText(child).find(childText) != std::wstring::npos;
            if (hasChild && (!caption || WindowText(window) == caption))
                found = window;
        }
        return found != nullptr;
    }, timeout);
    return found;
}

// The system's own message for an error as a box shows it, without its line
// end; Wine has none for some codes, and a box then gives the number.
inline std::wstring SystemMessage(DWORD error)
{
    wchar_t text[1024] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  1024, nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r'))
        text[--length] = L'\0';
    return length ? text : L"エラー " + std::to_wstring(error);
}

// A box of the program's that names the path, gives the system's reason for
// the error on the line after it, and then what to do (it begins with advice).
inline HWND WaitForFailureBox(DWORD processId, const std::wstring& path, DWORD error, const std::wstring& advice = L"")
{
    return WaitForProcessWindow(processId, nullptr, path + L"\n" + SystemMessage(error) + L"\n\n" + advice);
}

// Selects an item in the process's open folder browser, as the user would in
// its tree: a folder's path, or a parsing name ("::{CLSID}") for a virtual
// one. The browser takes the text only from its own process's memory. A
// folder made a moment ago may be missing from its tree at first: it is
// asked again until it has an item selected.
inline void SelectInBrowser(HANDLE process, HWND browser, const std::wstring& item)
{
    const size_t bytes = (item.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(remote && WriteProcessMemory(process, remote, item.c_str(), bytes, nullptr));
    EXPECT_TRUE(WaitUntil([&] {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote));
        return SendMessageW(FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr), TVM_GETNEXTITEM, TVGN_CARET, 0);
    }));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
}

// What a screen reader learns of a window's client object through Microsoft
// Active Accessibility, read from this process as a screen reader does.
struct AccessibleInfo {
    std::wstring name;
    LONG role = 0;
};

inline AccessibleInfo ReadAccessible(HWND window)
{
    CoInitialize(nullptr);
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))))
        return {};
    VARIANT self = {}, role = {};
    self.vt = VT_I4;  // CHILDID_SELF is 0
    BSTR name = nullptr;
    object->get_accName(self, &name);
    object->get_accRole(self, &role);
    AccessibleInfo info = {name ? name : L"", role.vt == VT_I4 ? role.lVal : 0};
    SysFreeString(name);
    object->Release();
    return info;
}

// Closes a message box with OK; whether there was one and it has gone.
inline bool Answer(HWND box)
{
    return box && PostMessageA(box, WM_COMMAND, IDOK, 0) && WaitUntil([&] { return !IsWindow(box); });
}

// Real keyboard input to the foreground window: text, and "\n" Enter, "\t"
// Tab, "\x1B" Escape, "\x7F" Delete, "\x03" Shift+Delete, "\x01" and "\x02"
// the down and up arrows, "\x04" Alt+F4. A character beyond ASCII, which no
// key gives, comes as an input method hands it over.
inline void TypeText(const std::wstring& keys)
{
    const std::map<wchar_t, SHORT> special = {{'\n', VK_RETURN}, {'\x1B', VK_ESCAPE}, {'\x7F', VK_DELETE},
                                              {'\x03', 0x100 | VK_DELETE}, {'\x01', VK_DOWN}, {'\x02', VK_UP},
                                              {'\x04', 0x400 | VK_F4}};
    for (wchar_t c : keys) {
        const SHORT key = special.count(c) ? special.at(c) : c < 0x80 ? VkKeyScanW(c) : 0;
        // Each key goes down and up inside the modifiers (high byte: 1 Shift, 4 Alt).
        std::vector<INPUT> inputs;
        for (WORD vk : {WORD(key & 0x100 ? VK_SHIFT : 0), WORD(key & 0x400 ? VK_MENU : 0), WORD(LOBYTE(key))}) {
            INPUT down = {INPUT_KEYBOARD}, up = {INPUT_KEYBOARD};
            down.ki = up.ki = key ? KEYBDINPUT{vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC))}
                                  : KEYBDINPUT{0, static_cast<WORD>(c), KEYEVENTF_UNICODE};
            up.ki.dwFlags |= KEYEVENTF_KEYUP;
            if (vk || (!key && inputs.empty()))
                inputs.insert(inputs.begin() + inputs.size() / 2, {down, up});
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
}

// Makes the window the keyboard's, with the mouse pointer parked where it
// cannot open a drop-down or hover a link.
inline void FocusForTyping(HWND window)
{
    SetCursorPos(1270, 1010);
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, 2s);
}

// The keys to the window, once it is the keyboard's.
inline void TypeInto(HWND window, const std::wstring& keys)
{
    ASSERT_TRUE(window);
    FocusForTyping(window);
    TypeText(keys);
}

// The stand-in editor on the desktop, where the folder browser starts, until
// the object goes: Enter in the folder prompt chooses its folder.
struct DesktopEditor {
    std::wstring path;
    explicit DesktopEditor(const std::wstring& editor)
    {
        wchar_t desktop[MAX_PATH] = {};
        SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
        path = std::wstring(desktop) + L"\\Hidemaru.exe";
        EXPECT_TRUE(CopyFileW(editor.c_str(), path.c_str(), FALSE));
    }
    ~DesktopEditor() { DeleteFileW(path.c_str()); }
};

// A copy of the real executable in a folder of its own (a name may be given,
// nested with backslashes), with the stand-in editor ("秀丸 エディタ\") and its
// record in the temporary folder above that one.
class StagedProgram {
public:
    explicit StagedProgram(const std::wstring& exeName = L"Wexmoor.exe", const std::wstring& folderName = L"")
        : m_folder(folderName), m_exeName(exeName)
    {
        CreateDirectoryW((m_folder.Root() + L"\\秀丸 エディタ").c_str(), nullptr);
        EXPECT_TRUE(CopyFileW(BuildTreePath("Wexmoor.exe").c_str(), ExePath().c_str(), FALSE));
        EXPECT_TRUE(CopyFileW(BuildTreePath("tools/standin_editor/standin_editor.exe").c_str(),
                              EditorPath().c_str(), FALSE));
        SetEnvironmentVariableW(L"WEXMOOR_STANDIN_RECORD", RecordPath().c_str());
        SetEnvironmentVariableW(L"WEXMOOR_HISTORY", HistoryPath().c_str());
    }

    std::wstring ExePath() const { return m_folder / m_exeName; }
    std::wstring IniPath() const { return m_folder / (WithoutLastFour(m_exeName) + L".ini"); }
    std::wstring HistoryPath() const { return m_folder / (WithoutLastFour(m_exeName) + L".log"); }
    std::wstring RecordPath() const { return m_folder.Root() + L"\\standin-record.txt"; }
    std::wstring EditorPath() const { return m_folder.Root() + L"\\秀丸 エディタ\\Hidemaru.exe"; }
    const TempFolder& Folder() const { return m_folder; }

    // Settings that name the stand-in editor, plus extra lines of [config].
    void UseStandinEditor(const std::string& extraLines = "")
    {
        WriteBytes(IniPath(), "[config]\r\nhidemaru=" + Ansi(EditorPath()) + "\r\n" + extraLines);
    }
    StartedProcess& Start() { return *(m_process = StartAnother()); }
    StartedProcess& Process() { return *m_process; }
    std::unique_ptr<StartedProcess> StartAnother() const
    {
        return std::make_unique<StartedProcess>(Quoted(ExePath()));
    }
    // Starts the program and waits for the jump dialog, ready for typing.
    HWND OpenDialog()
    {
        HWND dialog = WaitForProcessWindow(Start().Id(), L"Wexmoor");
        if (dialog)
            FocusForTyping(dialog);
        return dialog;
    }

private:
    TempFolder m_folder;
    std::wstring m_exeName;
    std::unique_ptr<StartedProcess> m_process;
};
