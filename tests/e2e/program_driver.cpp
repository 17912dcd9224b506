#include "tests/e2e/program_driver.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
const char kPrompt[] = "秀丸エディタの場所を指定してください。";

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

INPUT KeyInput(WORD virtualKey, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void SendKeys(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
}  // namespace

StagedProgram::StagedProgram(const std::string& exeName, const std::string& folderName)
    : m_folder(folderName), m_exeName(exeName)
{
    CopyFileOrFail(BuildTreePath("Wexmoor.exe"), ExePath());
    CreateDirectoryA((m_folder / "Hide maru").c_str(), nullptr);
    CopyFileOrFail(BuildTreePath("tools/standin_editor/standin_editor.exe"), EditorPath());
    SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", RecordPath().c_str());
    SetEnvironmentVariableA("WEXMOOR_HISTORY", HistoryPath().c_str());
}

StagedProgram::~StagedProgram()
{
    m_process.reset();
    SetEnvironmentVariableA("WEXMOOR_STANDIN_RECORD", nullptr);
    SetEnvironmentVariableA("WEXMOOR_HISTORY", nullptr);
}

std::string StagedProgram::IniPath() const
{
    return m_folder / (m_exeName.substr(0, m_exeName.size() - 4) + ".ini");
}

std::string StagedProgram::HistoryPath() const
{
    return m_folder / (m_exeName.substr(0, m_exeName.size() - 4) + ".log");
}

void StagedProgram::WriteSettings(const std::string& bytes)
{
    WriteBytes(IniPath(), bytes);
}

void StagedProgram::UseStandinEditor(const std::string& extraLines)
{
    WriteSettings("[config]\r\nhidemaru=" + EditorPath() + "\r\n" + extraLines);
}

StartedProcess& StagedProgram::Start()
{
    m_process = std::make_unique<StartedProcess>(Quoted(ExePath()));
    EXPECT_TRUE(m_process->Started()) << ExePath();
    return *m_process;
}

std::unique_ptr<StartedProcess> StagedProgram::StartAnother() const
{
    return std::make_unique<StartedProcess>(Quoted(ExePath()));
}

std::vector<HWND> ProcessWindows(DWORD processId)
{
    WindowSearch search = {processId, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindProcessWindow(DWORD processId, const char* caption)
{
    for (HWND window : ProcessWindows(processId))
        if (WindowText(window) == caption)
            return window;
    return nullptr;
}

HWND WaitForProcessWindow(DWORD processId, const char* caption)
{
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindProcessWindow(processId, caption)) != nullptr; });
    return window;
}

// The folder browser is the process's one window that shows the prompt.
HWND WaitForFolderPrompt(DWORD processId)
{
    HWND browser = nullptr;
    WaitUntil([&] {
        for (HWND window : ProcessWindows(processId)) {
            for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (WindowText(child) == kPrompt)
                    return (browser = window) != nullptr;
        }
        return false;
    });
    return browser;
}

void PressKey(WORD virtualKey)
{
    SendKeys({KeyInput(virtualKey, false), KeyInput(virtualKey, true)});
}

void TypeText(const std::string& ascii)
{
    std::vector<INPUT> inputs;
    for (char c : ascii) {
        const SHORT scan = VkKeyScanA(c);
        const bool shift = (scan >> 8) & 1;
        if (shift)
            inputs.push_back(KeyInput(VK_SHIFT, false));
        inputs.push_back(KeyInput(LOBYTE(scan), false));
        inputs.push_back(KeyInput(LOBYTE(scan), true));
        if (shift)
            inputs.push_back(KeyInput(VK_SHIFT, true));
    }
    SendKeys(inputs);
}

void FocusForTyping(HWND window)
{
    SetCursorPos(1270, 1010);
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, std::chrono::seconds(2));
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::vector<std::string> ComboListItems(HWND combo)
{
    // The ANSI message comes back as UTF-16 across processes, so ask for that.
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring wide(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
        char ansi[1024] = {};
        WideCharToMultiByte(932, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
        items.push_back(ansi);
    }
    return items;
}

void SaveScreenshot(HWND window, const std::string& name)
{
    // A window that has just appeared may not have painted yet.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    const DWORD imageSize = ((width * 3 + 3) & ~3) * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    std::ofstream out(TestbedPath(name + ".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), imageSize);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
