// Start-up figures of the program under Wine, measured side by side in one run
// with reference programs that show the same dialog template with the same
// icon and manifest: with an empty history against the leanest program
// (lean_dialog.exe, no run-time) and the bare one (bare_dialog.exe, the C and
// C++ run-time linked like the program's), and with long histories against a
// plain program filling the same list (plain_fill.exe). Then Enter to editor
// start, and the parts of a long history timed one by one. Prints Markdown
// tables.
//
//   startup_bench [ROUNDS [PART]]   ROUNDS defaults to 15; PART is one of
//                                   startup, fill, enter or parts, all by default
//
// The start-up comparison takes ten times ROUNDS: single starts under Wine
// vary by a tenth and more, and the ratio sought lies within a few hundredths.
//
// $WEXMOOR_BEFORE may name an earlier build of the program, measured beside
// this one. tools/bench.sh builds the benchmark and runs it on the test bed.
// Every figure is a median over the rounds; the programs take turns.
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
// After a program has ended, the desktop process and the X server still tidy
// up behind it; the next start waits for that rather than competing with it.
const DWORD kSettleMs = 200;
const int64_t kFillLengths[] = {1000, 10000, 200000};

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
    double idleMs = -1;  // WaitForInputIdle: the dialog is shown and waits for the user
    HWND dialog = nullptr;
};

// Starts the program and waits, in one blocking call, until its dialog waits
// for input. Nothing is looked at meanwhile: polling the windows competed with
// the program for the wineserver and made the times slower and noisier.
Startup StartAndWatch(const std::wstring& exePath, std::unique_ptr<StartedProcess>& process)
{
    Startup startup;
    const LONGLONG started = Now();
    process = std::make_unique<StartedProcess>(Quoted(exePath));
    if (!process->Handle())
        Fail("cannot start " + Ansi(exePath));
    const DWORD patienceMs = static_cast<DWORD>(kPatience.count() * 1000);
    if (WaitForInputIdle(process->Handle(), patienceMs) != 0)
        Fail(Ansi(exePath) + " ended or hung before its dialog was ready");
    startup.idleMs = Milliseconds(started, Now());
    const std::vector<HWND> windows = ProcessWindows(process->Id());
    if (windows.empty())
        Fail(Ansi(exePath) + " waits for input without a window");
    startup.dialog = windows.front();
    return startup;
}

void Cancel(const Startup& startup, const StartedProcess& process)
{
    PostMessageA(startup.dialog, WM_COMMAND, IDCANCEL, 0);
    if (!process.WaitForExit(kPatience))
        Fail("a dialog did not close on Cancel");
}

Startup StartAndCancel(const std::wstring& exePath)
{
    std::unique_ptr<StartedProcess> process;
    const Startup startup = StartAndWatch(exePath, process);
    Cancel(startup, *process);
    return startup;
}

// When the stand-in editor's WinMain began, on this process's clock.
LONGLONG EditorStart(const StagedProgram& program)
{
    std::map<std::string, std::string> record = StandinRecord(program.RecordPath(), kPatience);
    if (record.empty())
        Fail("the editor left no record");
    return std::stoll(record["start_qpc"]);
}

// From Enter going in to the editor's start; the program then ends by itself.
double EnterToEditor(const StagedProgram& program, const Startup& startup, const StartedProcess& process)
{
    DeleteFileW(program.RecordPath().c_str());
    FocusForTyping(startup.dialog);
    const LONGLONG pressed = Now();
    TypeText(L"\n");
    const double latency = Milliseconds(pressed, EditorStart(program));
    if (!process.WaitForExit(kPatience))
        Fail("the program did not end after Enter");
    return latency;
}

// What starting the editor costs by itself: the floor under Enter-to-editor.
double EditorAlone(const StagedProgram& program)
{
    DeleteFileW(program.RecordPath().c_str());
    const LONGLONG created = Now();
    StartedProcess editor(Quoted(program.EditorPath()) + L" /h /x Wexmoor.imp");
    const double latency = Milliseconds(created, EditorStart(program));
    editor.WaitForExit(kPatience);
    return latency;
}

void CopyOrFail(const std::wstring& from, const std::wstring& to)
{
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
        Fail("cannot copy " + Ansi(from));
}

// A reference program staged beside the program's copy under its own name.
// It reads settings and history named after it: ShareFiles copies the
// program's there.
struct Reference {
    std::wstring exePath;

    Reference(const std::wstring& exePath, const std::wstring& builtPath) : exePath(exePath)
    {
        CopyOrFail(builtPath, exePath);
    }
    void ShareFiles(const StagedProgram& program) const
    {
        const std::wstring stem = WithoutLastFour(exePath);
        CopyOrFail(program.IniPath(), stem + L".ini");
        CopyOrFail(program.HistoryPath(), stem + L".log");
    }
};

// Starts every program once per round, the order turning by one each round, so
// a busy moment of the machine falls on all of them alike. The first start of
// each reads its files from the disk and is not counted.
std::vector<std::vector<Startup>> StartInTurns(const std::vector<std::wstring>& exePaths, int rounds)
{
    for (const std::wstring& exePath : exePaths)
        StartAndCancel(exePath);
    std::vector<std::vector<Startup>> startups(exePaths.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t turn = 0; turn < exePaths.size(); ++turn) {
            const size_t which = (turn + static_cast<size_t>(round)) % exePaths.size();
            startups[which].push_back(StartAndCancel(exePaths[which]));
            Sleep(kSettleMs);
        }
    return startups;
}

std::vector<double> IdleMs(const std::vector<Startup>& startups)
{
    std::vector<double> ms;
    for (const Startup& startup : startups)
        ms.push_back(startup.idleMs);
    return ms;
}

// Round by round, how many times longer the first took than the second.
std::vector<double> Ratios(const std::vector<double>& ms, const std::vector<double>& referenceMs)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < ms.size(); ++i)
        ratios.push_back(ms[i] / referenceMs[i]);
    return ratios;
}

std::string RatioCells(const std::vector<double>& ratios)
{
    char cells[64];
    std::snprintf(cells, sizeof cells, "%.3f | %.3f to %.3f", Median(ratios), Quantile(ratios, 0.25),
                  Quantile(ratios, 0.75));
    return cells;
}

// An earlier build of the program to measure beside this one ($WEXMOOR_BEFORE),
// staged under its own name; empty when none is given.
std::wstring StageEarlierBuild(const StagedProgram& program, std::vector<Reference>& staged)
{
    const char* before = std::getenv("WEXMOOR_BEFORE");
    if (!before || !*before)
        return L"";
    staged.emplace_back(program.Folder() / L"WexmoorBefore.exe", Wide(before));
    return staged.back().exePath;
}

void CompareWithLeanestProgram(StagedProgram& program, int rounds)
{
    program.UseStandinEditor();
    WriteBytes(program.HistoryPath(), "");
    std::vector<Reference> staged;
    staged.emplace_back(program.Folder() / L"lean_dialog.exe", BuildTreePath("bench/lean_dialog.exe"));
    staged.emplace_back(program.Folder() / L"bare_dialog.exe", BuildTreePath("bench/bare_dialog.exe"));
    std::vector<std::wstring> exePaths = {staged[0].exePath, staged[1].exePath, program.ExePath()};
    std::vector<std::string> names = {"leanest program (no run-time)", "bare program (C and C++ run-time)",
                                      "Wexmoor"};
    const std::wstring before = StageEarlierBuild(program, staged);
    if (!before.empty()) {
        exePaths.push_back(before);
        names.push_back("Wexmoor before");
    }
    for (const Reference& reference : staged)
        reference.ShareFiles(program);

    const auto startups = StartInTurns(exePaths, rounds);
    const std::vector<double> leanMs = IdleMs(startups[0]), bareMs = IdleMs(startups[1]);
    std::printf("## Start-up to dialog ready, empty history (%d rounds taken in turns)\n\n", rounds);
    std::printf("Medians of waits for input (WaitForInputIdle); ratios are taken round by\n"
                "round, with their median and the middle half of them. The fastest start is the one least\n"
                "disturbed by the machine's other work.\n\n");
    std::printf("| program | waits for input | fastest | ratio to the leanest | "
                "middle half | ratio to the bare program | middle half |\n|---|---:|---:|---:|---:|---:|---:|\n");
    for (size_t i = 0; i < exePaths.size(); ++i) {
        const std::vector<double> ms = IdleMs(startups[i]);
        std::printf("| %s | %.1f ms | %.1f ms | %s | %s |\n", names[i].c_str(), Median(ms),
                    Quantile(ms, 0), RatioCells(Ratios(ms, leanMs)).c_str(), RatioCells(Ratios(ms, bareMs)).c_str());
    }
    const double ratio = Median(Ratios(IdleMs(startups[2]), leanMs));
    std::printf("\nTarget: Wexmoor at most 1.05 times the leanest program -> %s\n\n", ratio <= 1.05 ? "met" : "NOT met");
}

// Start-up with a long history, against the plain program filling the same list.
void CompareWithPlainFill(StagedProgram& program, int rounds)
{
    std::printf("## Start-up with a long history, against the plain program (`history` set to the length)\n\n");
    std::printf("| entries | rounds | plain program | Wexmoor | ratio | middle half | Wexmoor before | ratio | "
                "middle half |\n|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    std::vector<Reference> staged;
    staged.emplace_back(program.Folder() / L"plain_fill.exe", BuildTreePath("bench/plain_fill.exe"));
    const std::wstring before = StageEarlierBuild(program, staged);
    std::vector<std::wstring> exePaths = {staged[0].exePath, program.ExePath()};
    if (!before.empty())
        exePaths.push_back(before);
    for (const int64_t length : kFillLengths) {
        SaveHistory(program.HistoryPath(), SampleHistory(length));
        program.UseStandinEditor("history=" + std::to_string(length) + "\r\n");
        for (const Reference& reference : staged)
            reference.ShareFiles(program);
        const int lengthRounds = length > 10000 ? std::max(3, rounds / 5) : rounds;
        const auto startups = StartInTurns(exePaths, lengthRounds);
        const std::vector<double> plainMs = IdleMs(startups[0]), ms = IdleMs(startups[1]);
        std::printf("| %lld | %d | %.1f ms | %.1f ms | %s | ", static_cast<long long>(length), lengthRounds,
                    Median(plainMs), Median(ms), RatioCells(Ratios(ms, plainMs)).c_str());
        if (before.empty()) {
            std::printf("- | - | - |\n");
            continue;
        }
        const std::vector<double> beforeMs = IdleMs(startups[2]);
        std::printf("%.1f ms | %s |\n", Median(beforeMs), RatioCells(Ratios(beforeMs, plainMs)).c_str());
    }
    std::printf("\nTarget: at most 1.2 times the plain program (aim: 1.1)\n\n");
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
    double loadMs, fillMs, reservedFillMs, subclassedFillMs, saveMs;
};

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

enum class Fill { Bare, Reserved, Subclassed };

// The insertions the jump dialog makes, into the combo box of its template in
// this process: bare, bare with the list's storage reserved first
// (CB_INITSTORAGE), or through the framework's window subclass.
double FillMs(const HistoryList& history, Fill fill)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_JUMP), nullptr,
                                     PassiveDialogProc, 0);
    HWND box = GetDlgItem(dialog, IDC_INPUT);
    CComboBox combo;
    if (fill == Fill::Subclassed)
        combo.SubclassWindow(box);
    const LONGLONG start = Now();
    if (fill == Fill::Reserved)
        SendMessageA(box, CB_INITSTORAGE, history.size(), 0);
    for (size_t i = 0; i < history.size(); ++i)
        SendMessageA(box, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(history[i].c_str()));
    const double fillMs = Milliseconds(start, Now());
    DestroyWindow(dialog);
    return fillMs;
}

// The program's parts, timed one by one in this process under Wine.
Parts TimeParts(const StagedProgram& program, int64_t length)
{
    std::vector<double> loads, fills, reservedFills, subclassedFills, saves;
    const std::wstring scratch = program.Folder() / L"scratch.log";
    for (int i = 0; i < 3; ++i) {
        HistoryList history;
        LONGLONG start = Now();
        LoadHistory(program.HistoryPath(), static_cast<int32_t>(length), history);
        loads.push_back(Milliseconds(start, Now()));
        fills.push_back(FillMs(history, Fill::Bare));
        reservedFills.push_back(FillMs(history, Fill::Reserved));
        subclassedFills.push_back(FillMs(history, Fill::Subclassed));
        start = Now();
        SaveHistory(scratch, history);
        saves.push_back(Milliseconds(start, Now()));
    }
    DeleteFileW(scratch.c_str());
    return {Median(loads), Median(fills), Median(reservedFills), Median(subclassedFills), Median(saves)};
}

void WhereTheTimeGoes(StagedProgram& program)
{
    std::printf("## Where the time goes: the parts, timed one by one in the benchmark's process\n\n");
    std::printf("| entries | LoadHistory | combo box fill | the same, storage reserved first | "
                "the same through the window subclass | SaveHistory |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    for (const int64_t length : kFillLengths) {
        SaveHistory(program.HistoryPath(), SampleHistory(length));
        const Parts parts = TimeParts(program, length);
        std::printf("| %lld | %.2f ms | %.1f ms | %.1f ms | %.1f ms | %.2f ms |\n", static_cast<long long>(length),
                    parts.loadMs, parts.fillMs, parts.reservedFillMs, parts.subclassedFillMs, parts.saveMs);
    }
    std::printf("\n");
}
}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string part = argc > 2 ? argv[2] : "";
    StagedProgram program;
    if (part.empty() || part == "startup")
        CompareWithLeanestProgram(program, rounds * 10);
    if (part.empty() || part == "fill")
        CompareWithPlainFill(program, rounds);
    if (part.empty() || part == "enter")
        EnterLatency(program, rounds);
    if (part.empty() || part == "parts")
        WhereTheTimeGoes(program);
    return 0;
}
