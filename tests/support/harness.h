// The test harness: temporary folders, the staged program, processes, window
// lookup and real keyboard input, for tests that run under Wine.
#pragma once
#include <windows.h>
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

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    EXPECT_TRUE(std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size()).good()) << path;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

// A file of the build tree ("tools/standin_editor/standin_editor.exe"); Wine
// maps the Unix file system to drive Z: and takes its slashes.
inline std::string BuildTreePath(std::string relative)
{
    const char* root = std::getenv("WEXMOOR_BIN");
    EXPECT_TRUE(root) << "WEXMOOR_BIN is not set; run the tests through ctest";
    return std::string("Z:") + (root ? root : "") + "/" + relative;
}

// A fresh folder under the temporary folder, removed with everything in it when
// the object goes. A name (nested with backslashes) is made inside it.
class TempFolder {
public:
    explicit TempFolder(const std::string& name = "")
    {
        static int counter = 0;
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_root = base + ("wexmoor-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
        m_path = name.empty() ? m_root : m_root + "\\" + name;
        SHCreateDirectoryExA(nullptr, m_path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        const std::string from = m_root + '\0';
        SHFILEOPSTRUCTA remove = {nullptr, FO_DELETE, from.c_str()};
        remove.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&remove);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_root, m_path;
};

// A started process in a job of its own, so that the processes it starts are
// known too; killed with them if still running when the object goes.
class StartedProcess {
public:
    explicit StartedProcess(std::string commandLine)
    {
        // Wine starts the desktop's process for the first process that needs
        // the desktop; this one, so that it is not counted as the program's.
        GetDesktopWindow();
        STARTUPINFOA startup = {sizeof startup};
        EXPECT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                   nullptr, &startup, &m_info))
            << commandLine;
        AssignProcessToJobObject(m_job, m_info.hProcess);
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
            QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &job, sizeof job, nullptr);
            return job.ActiveProcesses == 0;
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
    HANDLE m_job = CreateJobObjectA(nullptr, nullptr);
};

// What the stand-in editor recorded ("key=value" lines; the first line of the
// history, recorded in hex, as bytes), waiting for it up to the time given;
// empty when it has written none. The record appears by a rename, whole.
inline std::map<std::string, std::string> StandinRecord(const std::string& path,
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

inline std::string WindowText(HWND window)
{
    char text[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
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

// A window of the process with the caption, or (caption nullptr) the folder
// browser asking for the editor's folder; nullptr when none came in time.
inline HWND WaitForProcessWindow(DWORD processId, const char* caption, std::chrono::milliseconds timeout = 10s)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : ProcessWindows(processId)) {
            if (caption && WindowText(window) == caption)
                found = window;
            for (HWND child = GetWindow(window, GW_CHILD); !caption && child; child = GetWindow(child, GW_HWNDNEXT))
                found = WindowText(child) == "秀丸エディタの場所を指定してください。" ? window : found;
        }
        return found != nullptr;
    }, timeout);
    return found;
}

// Real keyboard input to the foreground window: text, and "\n" Enter, "\x1B"
// Escape, "\x7F" Delete, "\x01" and "\x02" the down and up arrows, "\x04" Alt+F4.
inline void TypeText(const std::string& keys)
{
    const std::map<char, SHORT> special = {{'\n', VK_RETURN}, {'\x1B', VK_ESCAPE}, {'\x7F', VK_DELETE},
                                           {'\x01', VK_DOWN},  {'\x02', VK_UP},     {'\x04', 0x400 | VK_F4}};
    for (char c : keys) {
        const SHORT key = special.count(c) ? special.at(c) : VkKeyScanA(c);
        // Each key goes down and up inside the modifiers (high byte: 1 Shift, 4 Alt).
        std::vector<INPUT> inputs;
        for (WORD vk : {WORD(key & 0x100 ? VK_SHIFT : 0), WORD(key & 0x400 ? VK_MENU : 0), WORD(LOBYTE(key))}) {
            INPUT down = {INPUT_KEYBOARD}, up = {INPUT_KEYBOARD};
            down.ki = up.ki = {vk, static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC))};
            up.ki.dwFlags = KEYEVENTF_KEYUP;
            if (vk)
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

// A copy of the real executable in a folder of its own (a name may be given,
// nested with backslashes), with the stand-in editor in "Hide maru\".
class StagedProgram {
public:
    explicit StagedProgram(const std::string& exeName = "Wexmoor.exe", const std::string& folderName = "")
        : m_folder(folderName), m_exeName(exeName)
    {
        CreateDirectoryA((m_folder / "Hide maru").c_str(), nullptr);
        EXPECT_TRUE(CopyFileA(BuildTreePath("Wexmoor.exe").c_str(), ExePath().c_str(), FALSE));
        EXPECT_TRUE(CopyFileA(BuildTreePath("tools/standin_editor/standin_editor.exe").c_str(),
                              EditorPath().c_str(), FALSE));
        SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", RecordPath().c_str());
        SetEnvironmentVariableA("WEXMOOR_HISTORY", HistoryPath().c_str());
    }

    std::string ExePath() const { return m_folder / m_exeName; }
    std::string IniPath() const { return m_folder / (m_exeName.substr(0, m_exeName.size() - 4) + ".ini"); }
    std::string HistoryPath() const { return m_folder / (m_exeName.substr(0, m_exeName.size() - 4) + ".log"); }
    std::string RecordPath() const { return m_folder / "standin-record.txt"; }
    std::string EditorPath() const { return m_folder / "Hide maru\\Hidemaru.exe"; }
    const TempFolder& Folder() const { return m_folder; }

    // Settings that name the stand-in editor, plus extra lines of [config].
    void UseStandinEditor(const std::string& extraLines = "")
    {
        WriteBytes(IniPath(), "[config]\r\nhidemaru=" + EditorPath() + "\r\n" + extraLines);
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
        HWND dialog = WaitForProcessWindow(Start().Id(), "Wexmoor");
        if (dialog)
            FocusForTyping(dialog);
        return dialog;
    }

private:
    TempFolder m_folder;
    std::string m_exeName;
    std::unique_ptr<StartedProcess> m_process;
};
