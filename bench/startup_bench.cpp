// Start-up and Enter-to-editor figures of the program under Wine, measured side
// by side in one run with the leanest program of its kind (bare_dialog.exe: the
// same dialog template and manifest, and nothing else), and how they grow with
// the history length. Prints Markdown tables.
//
//   startup_bench [ROUNDS [PART]]   ROUNDS defaults to 15; PART is one of
//                                   bare, enter or growth, all three by default
//
// tools/bench.sh builds it and runs it on the test bed. Every figure is a median
// over the rounds; the two programs take turns, so a busy moment of the machine
// falls on both.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/sample_history.h"
#include "framework/controls.h"
#include "res/resource.h"
#include "tests/support/harness.h"

namespace {
const std::chrono::seconds kPatience(120);
const int64_t kHistoryLengths[] = {10, 1000, 10000, 100000};

LONGLONG Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(LONGLONG from, LONGLONG to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The value below which the fraction q of the values lie, interpolated.
double Quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    const double position = q * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(position);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (position - static_cast<double>(below));
}

double Median(const std::vector<double>& values)
{
    return Quantile(values, 0.5);
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "startup_bench: %s\n", what.c_str());
    std::exit(1);
}

struct Startup {
    double visibleMs = -1;  // the first visible window of the process
    double idleMs = -1;     // WaitForInputIdle: the dialog waits for the user
    HWND dialog = nullptr;
};

// Starts the program and watches it until its dialog is visible and it waits
// for input. The watch looks every millisecond, or every hundredth of the time
// gone by when that is longer: every look at the windows asks the wineserver,
// which the program needs too.
Startup StartAndWatch(const std::string& exePath, std::unique_ptr<StartedProcess>& process)
{
    Startup startup;
    const LONGLONG started = Now();
    process = std::make_unique<StartedProcess>(Quoted(exePath));
    if (!process->Handle())
        Fail("cannot start " + exePath);
    while (startup.visibleMs < 0 || startup.idleMs < 0) {
        const double elapsedMs = Milliseconds(started, Now());
        const DWORD interval = std::max<DWORD>(1, static_cast<DWORD>(elapsedMs / 100));
        if (startup.idleMs < 0 && WaitForInputIdle(process->Handle(), interval) == 0)
            startup.idleMs = Milliseconds(started, Now());
        else if (startup.idleMs >= 0)
            Sleep(interval);
        if (startup.visibleMs < 0) {
            const std::vector<HWND> windows = ProcessWindows(process->Id());
            if (!windows.empty()) {
                startup.visibleMs = Milliseconds(started, Now());
                startup.dialog = windows.front();
            }
        }
        if (process->WaitForExit(std::chrono::milliseconds(0)) || elapsedMs > kPatience.count() * 1000.0)
            Fail(exePath + " ended or hung before its dialog was ready");
    }
    return startup;
}

void Cancel(const Startup& startup, const StartedProcess& process)
{
    PostMessageA(startup.dialog, WM_COMMAND, IDCANCEL, 0);
    if (!process.WaitForExit(kPatience))
        Fail("a dialog did not close on Cancel");
}

Startup StartAndCancel(const std::string& exePath)
{
    std::unique_ptr<StartedProcess> process;
    const Startup startup = StartAndWatch(exePath, process);
    Cancel(startup, *process);
    return startup;
}

// When the stand-in editor's WinMain began, on this process's clock.
LONGLONG EditorStart(const StagedProgram& program)
{
    std::map<std::string, std::string> record = WaitForStandinRecord(program.RecordPath(), kPatience);
    if (record.empty())
        Fail("the editor left no record");
    return std::stoll(record["start_qpc"]);
}

// From Enter going in to the editor's start; the program then ends by itself.
double EnterToEditor(const StagedProgram& program, const Startup& startup, const StartedProcess& process)
{
    DeleteFileA(program.RecordPath().c_str());
    FocusForTyping(startup.dialog);
    const LONGLONG pressed = Now();
    TypeText("\n");
    const double latency = Milliseconds(pressed, EditorStart(program));
    if (!process.WaitForExit(kPatience))
        Fail("the program did not end after Enter");
    return latency;
}

// What starting the editor costs by itself: the floor under Enter-to-editor.
double EditorAlone(const StagedProgram& program)
{
    DeleteFileA(program.RecordPath().c_str());
    const LONGLONG created = Now();
    StartedProcess editor(Quoted(program.EditorPath()) + " /h /x Wexmoor.imp");
    const double latency = Milliseconds(created, EditorStart(program));
    editor.WaitForExit(kPatience);
    return latency;
}

void CompareWithBareProgram(StagedProgram& program, int rounds)
{
    program.UseStandinEditor();
    SaveHistory(program.HistoryPath(), SampleHistory(10));
    const std::string bare = program.Folder() / "bare_dialog.exe";
    CopyFileA(BuildTreePath("bench/bare_dialog.exe").c_str(), bare.c_str(), FALSE);

    // The first start of each reads its files from the disk; not counted.
    StartAndCancel(bare);
    StartAndCancel(program.ExePath());
    std::vector<double> bareVisible, bareIdle, visible, idle, visibleRatio, idleRatio;
    for (int round = 0; round < rounds; ++round) {
        Startup b, w;
        if (round % 2 == 0) {
            b = StartAndCancel(bare);
            w = StartAndCancel(program.ExePath());
        } else {
            w = StartAndCancel(program.ExePath());
            b = StartAndCancel(bare);
        }
        bareVisible.push_back(b.visibleMs);
        bareIdle.push_back(b.idleMs);
        visible.push_back(w.visibleMs);
        idle.push_back(w.idleMs);
        visibleRatio.push_back(w.visibleMs / b.visibleMs);
        idleRatio.push_back(w.idleMs / b.idleMs);
    }
    std::printf("## Start-up to dialog ready, against the bare program (%d rounds, history of 10)\n\n", rounds);
    std::printf("| measure | bare program | Wexmoor | median ratio | middle half of the ratios |\n"
                "|---|---:|---:|---:|---:|\n");
    std::printf("| first visible window | %.1f ms | %.1f ms | %.3f | %.3f to %.3f |\n", Median(bareVisible),
                Median(visible), Median(visibleRatio), Quantile(visibleRatio, 0.25), Quantile(visibleRatio, 0.75));
    std::printf("| waits for input (WaitForInputIdle) | %.1f ms | %.1f ms | %.3f | %.3f to %.3f |\n\n",
                Median(bareIdle), Median(idle), Median(idleRatio), Quantile(idleRatio, 0.25),
                Quantile(idleRatio, 0.75));
    std::printf("Target: median ratio at most 1.10 -> %s\n\n",
                Median(visibleRatio) <= 1.10 && Median(idleRatio) <= 1.10 ? "met" : "NOT met");
}

void EnterLatency(StagedProgram& program, int rounds)
{
    program.UseStandinEditor();
    SaveHistory(program.HistoryPath(), SampleHistory(10));
    std::vector<double> alone, latency;
    for (int round = 0; round < rounds; ++round) {
        alone.push_back(EditorAlone(program));
        std::unique_ptr<StartedProcess> process;
        const Startup startup = StartAndWatch(program.ExePath(), process);
        latency.push_back(EnterToEditor(program, startup, *process));
    }
    std::printf("## Enter to editor start (%d rounds, history of 10)\n\n", rounds);
    std::printf("| measure | median |\n|---|---:|\n");
    std::printf("| Enter to the editor's WinMain | %.1f ms |\n", Median(latency));
    std::printf("| starting the editor alone (CreateProcess to its WinMain) | %.1f ms |\n", Median(alone));
    std::printf("| the program's own share (the difference) | %.1f ms |\n\n", Median(latency) - Median(alone));
}

struct Parts {
    double loadMs, fillMs, subclassedFillMs, saveMs;
};

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The insertions the jump dialog makes, into the combo box of its template in
// this process: bare, or through the framework's window subclass as in the
// program.
double FillMs(const HistoryList& history, bool subclassed)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_JUMP), nullptr,
                                     PassiveDialogProc, 0);
    HWND box = GetDlgItem(dialog, IDC_INPUT);
    CComboBox combo;
    if (subclassed)
        combo.SubclassWindow(box);
    const LONGLONG start = Now();
    for (size_t i = 0; i < history.size(); ++i)
        SendMessageA(box, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(history[i].c_str()));
    const double fillMs = Milliseconds(start, Now());
    DestroyWindow(dialog);
    return fillMs;
}

// The program's parts, timed one by one in this process under Wine.
Parts TimeParts(const StagedProgram& program, int64_t length)
{
    std::vector<double> loads, fills, subclassedFills, saves;
    const std::string scratch = program.Folder() / "scratch.log";
    for (int i = 0; i < 3; ++i) {
        HistoryList history;
        LONGLONG start = Now();
        LoadHistory(program.HistoryPath(), static_cast<int32_t>(length), history);
        loads.push_back(Milliseconds(start, Now()));
        fills.push_back(FillMs(history, false));
        subclassedFills.push_back(FillMs(history, true));
        start = Now();
        SaveHistory(scratch, history);
        saves.push_back(Milliseconds(start, Now()));
    }
    DeleteFileA(scratch.c_str());
    return {Median(loads), Median(fills), Median(subclassedFills), Median(saves)};
}

void GrowthWithHistoryLength(StagedProgram& program, int rounds)
{
    struct Row {
        int64_t length;
        int rounds;
        double visibleMs, idleMs, enterMs;
        Parts parts;
    };
    std::vector<Row> rows;
    for (const int64_t length : kHistoryLengths) {
        Row row = {length, length >= 10000 ? std::max(3, rounds / 3) : rounds, 0, 0, 0, {}};
        SaveHistory(program.HistoryPath(), SampleHistory(length));
        program.UseStandinEditor("history=" + std::to_string(length) + "\r\n");
        row.parts = TimeParts(program, length);
        std::vector<double> visible, idle, enter;
        for (int round = 0; round < row.rounds; ++round) {
            std::unique_ptr<StartedProcess> process;
            const Startup startup = StartAndWatch(program.ExePath(), process);
            visible.push_back(startup.visibleMs);
            idle.push_back(startup.idleMs);
            enter.push_back(EnterToEditor(program, startup, *process));
        }
        row.visibleMs = Median(visible);
        row.idleMs = Median(idle);
        row.enterMs = Median(enter);
        rows.push_back(row);
    }

    std::printf("## Growth with the history length\n\n");
    std::printf("\"per 1,000\" is the cost above the first row per 1,000 entries more: the same figure\n"
                "down a column means linear growth.\n\n");
    std::printf("| entries | rounds | visible | waits for input | per 1,000 | Enter to editor | per 1,000 |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|\n");
    const Row& base = rows.front();
    for (const Row& row : rows) {
        std::printf("| %lld | %d | %.1f ms | %.1f ms | ", static_cast<long long>(row.length), row.rounds,
                    row.visibleMs, row.idleMs);
        if (row.length == base.length) {
            std::printf("- | %.1f ms | - |\n", row.enterMs);
            continue;
        }
        const double thousands = static_cast<double>(row.length - base.length) / 1000.0;
        std::printf("%.2f ms | %.1f ms | %.2f ms |\n", (row.idleMs - base.idleMs) / thousands, row.enterMs,
                    (row.enterMs - base.enterMs) / thousands);
    }
    std::printf("\n### Where the time goes: the parts, timed one by one in the benchmark's process\n\n");
    std::printf("| entries | LoadHistory | combo box fill | the same through the window subclass | "
                "SaveHistory |\n");
    std::printf("|---:|---:|---:|---:|---:|\n");
    for (const Row& row : rows)
        std::printf("| %lld | %.2f ms | %.1f ms | %.1f ms | %.2f ms |\n", static_cast<long long>(row.length),
                    row.parts.loadMs, row.parts.fillMs, row.parts.subclassedFillMs, row.parts.saveMs);
    std::printf("\n");
}
}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string part = argc > 2 ? argv[2] : "";
    StagedProgram program;
    if (part.empty() || part == "bare")
        CompareWithBareProgram(program, rounds);
    if (part.empty() || part == "enter")
        EnterLatency(program, rounds);
    if (part.empty() || part == "growth")
        GrowthWithHistoryLength(program, rounds);
    return 0;
}
