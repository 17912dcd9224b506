#include "tests/support/test_processes.h"

#include <sstream>
#include <vector>

#include "tests/support/test_files.h"

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

StartedProcess::StartedProcess(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &m_info))
        m_info = {};
}

StartedProcess::~StartedProcess()
{
    if (!Started())
        return;
    if (!WaitForExit(std::chrono::milliseconds(0)))
        Kill();
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

bool StartedProcess::WaitForExit(std::chrono::milliseconds timeout) const
{
    return Started() &&
           WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD StartedProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

void StartedProcess::Kill() const
{
    TerminateProcess(m_info.hProcess, 1);
    WaitForSingleObject(m_info.hProcess, 5000);
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

std::map<std::string, std::string> ReadStandinRecord(const std::string& path)
{
    std::map<std::string, std::string> record;
    std::istringstream lines(ReadBytes(path));
    std::string line;
    while (std::getline(lines, line)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return record;
}

std::map<std::string, std::string> WaitForStandinRecord(const std::string& path)
{
    std::map<std::string, std::string> record;
    WaitUntil([&] { return (record = ReadStandinRecord(path)).count("start_qpc") != 0; });
    return record;
}

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}
