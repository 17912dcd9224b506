#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"

// A staged copy of the real executable in a folder of its own, with the
// stand-in editor as its editor, started and driven as a user would. The
// folder may be given a name of its own (nested with backslashes).
class StagedProgram {
public:
    explicit StagedProgram(const std::string& exeName = "Wexmoor.exe",
                           const std::string& folderName = "");
    ~StagedProgram();

    std::string ExePath() const { return m_folder / m_exeName; }
    std::string IniPath() const;
    std::string HistoryPath() const;
    std::string RecordPath() const { return m_folder / "standin-record.txt"; }
    // The stand-in editor, in a folder whose name has a space in it.
    std::string EditorPath() const { return m_folder / "Hide maru\\Hidemaru.exe"; }
    const TempFolder& Folder() const { return m_folder; }

    void WriteSettings(const std::string& bytes);
    // Settings that name the stand-in editor, plus extra lines of [config].
    void UseStandinEditor(const std::string& extraLines = "");

    StartedProcess& Start();
    StartedProcess& Process() { return *m_process; }
    // Starts one more instance of the same copy.
    std::unique_ptr<StartedProcess> StartAnother() const;

private:
    TempFolder m_folder;
    std::string m_exeName;
    std::unique_ptr<StartedProcess> m_process;
};

// A visible top-level window of the process with the caption, or nullptr.
HWND FindProcessWindow(DWORD processId, const char* caption);
// Waits for it; nullptr when it did not appear in time.
HWND WaitForProcessWindow(DWORD processId, const char* caption);
// Every visible top-level window of the process.
std::vector<HWND> ProcessWindows(DWORD processId);
// The folder browser that asks for the editor's folder; nullptr when it did
// not appear in time.
HWND WaitForFolderPrompt(DWORD processId);

// Real keyboard input, as the user's keyboard gives it, to the foreground window.
void PressKey(WORD virtualKey);
void TypeText(const std::string& ascii);
// Makes the window the one that receives the keyboard, and parks the mouse
// pointer where it cannot open a drop-down or hover a link.
void FocusForTyping(HWND window);

std::string WindowText(HWND window);
// The combo box's list, in the order shown, as ANSI (code page 932) bytes.
std::vector<std::string> ComboListItems(HWND combo);

// Saves what the screen shows of the window as a bitmap file in the test bed's
// folder of the build tree.
void SaveScreenshot(HWND window, const std::string& name);
