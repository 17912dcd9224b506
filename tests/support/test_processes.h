#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>

// Polls until the condition holds or the time is up, handling this thread's
// messages meanwhile. Returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A started process; the handles are closed with the object.
class StartedProcess {
public:
    explicit StartedProcess(const std::string& commandLine);
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }
    // Waits for the end; false when it is still running after the timeout.
    bool WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    void Kill() const;

private:
    PROCESS_INFORMATION m_info = {};
};

std::string Quoted(const std::string& path);

// What the stand-in editor recorded: its "key=value" lines as a map, empty when
// there is no record.
std::map<std::string, std::string> ReadStandinRecord(const std::string& path);
// Waits for the stand-in editor's complete record; empty when none came. The
// record appears by a rename, and just after it the file may still refuse to
// be opened, so it is read until its last line is there.
std::map<std::string, std::string> WaitForStandinRecord(const std::string& path);
std::string FromHex(const std::string& hex);
