// Stand-in for the text editor.
//
// Run by the program in place of the editor, it reads the jump target the way
// the editor macro does: the first line of the history file named by the
// environment variable WEXMOOR_HISTORY.
//
// With WEXMOOR_STANDIN_RECORD set to a file path it writes a record there and
// exits without a window; tests read it. Otherwise it shows what it received.
//
// Record format, one "key=value" line each:
//   command_line=<the full command line as received>
//   flags=<STARTUPINFO dwFlags, decimal>
//   show_window=<STARTUPINFO wShowWindow, decimal>
//   history_first_line=<the first line's bytes in hex, without its line end>
//   history_state=missing | present
//   start_qpc=<QueryPerformanceCounter at the start of WinMain, decimal>
//
// The performance counter is one clock for every process of the machine, so a
// benchmark that reads it just before pressing Enter learns how long the editor
// took to start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// The first line of the file without its line end; false when it cannot be read.
bool ReadFirstLine(const wchar_t* path, std::string& line)
{
    FILE* file = _wfopen(path, L"rb");
    if (!file)
        return false;
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n')
        line += static_cast<char>(c);
    std::fclose(file);
    if (c == '\n' && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

std::string Hex(const std::string& bytes)
{
    std::string hex;
    char pair[3];
    for (unsigned char b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        hex += pair;
    }
    return hex;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);

    std::string firstLine;
    // Read by its UTF-16 path: the program may live in a folder of any name.
    wchar_t historyPath[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"WEXMOOR_HISTORY", historyPath, MAX_PATH);
    const bool haveHistory = length > 0 && length < MAX_PATH && ReadFirstLine(historyPath, firstLine);

    if (const char* recordPath = std::getenv("WEXMOOR_STANDIN_RECORD")) {
        // Written beside the record and renamed, so a waiting test never reads half of it.
        const std::string partial = std::string(recordPath) + ".partial";
        FILE* record = std::fopen(partial.c_str(), "wb");
        if (!record)
            return 1;
        std::fprintf(record, "command_line=%s\n", GetCommandLineA());
        std::fprintf(record, "flags=%lu\n", static_cast<unsigned long>(startup.dwFlags));
        std::fprintf(record, "show_window=%u\n", static_cast<unsigned>(startup.wShowWindow));
        std::fprintf(record, "history_first_line=%s\n", Hex(firstLine).c_str());
        std::fprintf(record, "history_state=%s\n", haveHistory ? "present" : "missing");
        std::fprintf(record, "start_qpc=%lld\n", static_cast<long long>(started.QuadPart));
        if (std::fclose(record) != 0)
            return 1;
        return MoveFileExA(partial.c_str(), recordPath, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
    }

    std::string text = "ジャンプ先: " + (haveHistory ? firstLine : std::string("(履歴ファイルなし)")) +
                       "\n\nコマンドライン:\n" + GetCommandLineA();
    MessageBoxA(nullptr, text.c_str(), "秀丸エディタ (代役)", MB_OK | MB_ICONINFORMATION);
    return 0;
}
