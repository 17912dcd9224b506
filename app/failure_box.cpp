#include "app/failure_box.h"

#include "framework/ansi_text.h"
#include "framework/message_box.h"

namespace {
const UINT kFailureBoxType = MB_OK | MB_ICONEXCLAMATION;

// The system's own words for an error, in its language, or its number where
// the system has none.
std::wstring SystemReason(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    // The run-time's own conversion: std::to_wstring would link a whole wide printf.
    wchar_t number[16];
    std::wstring reason = length ? std::wstring(text, length) : L"エラー " + std::wstring(_ultow(error, number, 10));
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r'))
        reason.pop_back();
    return reason;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Names the characters of the text that the ANSI code page cannot write.
std::wstring UnwritableCharacters(const std::wstring& text)
{
    std::wstring characters;
    for (const std::wstring& character : CharactersOutsideAnsi(text))
        characters += L" " + character;
    return L"この PC で Unicode 対応ではないプログラムが使う文字コード（" + CodePageName(GetACP()) +
           L"）で表せない文字があります:" + characters;
}

void ShowBox(const std::wstring& what, const std::wstring& shown, const std::wstring& reason,
             const std::wstring& advice)
{
    AfxMessageBox(what + L"\n\n" + shown + L"\n" + reason + L"\n\n" + advice, kFailureBoxType);
}
}  // namespace

void ShowFailure(Failure failure, const std::wstring& path, DWORD error)
{
    ShowBox(WhatFailed(failure), path, SystemReason(error), AdviceFor(failure, CauseOf(error, IsFolder(path))));
}

void ShowFolderRefused(const std::wstring& shown, FolderRefusal why)
{
    const wchar_t* const what = why == FolderRefusal::NoFileSystemPath ? L"選んだ項目は、フォルダーとして使えません。"
                                                                        : L"選んだフォルダーは設定ファイルに保存できません。";
    std::wstring reason;
    switch (why) {
    case FolderRefusal::NoFileSystemPath:
        reason = L"Windows がこの項目のパスを返しませんでした。ファイル システム上のフォルダーでないか、"
                 L"パスが長すぎます（260 文字以上）。";
        break;
    case FolderRefusal::NotInCodePage:
        reason = L"このパスには、" + UnwritableCharacters(shown);
        break;
    case FolderRefusal::TooLong:
        reason = L"このパスは長すぎます。末尾に \\Hidemaru.exe を付けると、259 バイト（半角 259 文字）を超えます。";
        break;
    }
    ShowBox(what, shown, reason, L"秀丸エディタのあるフォルダーを選び直してください。");
}

void ShowInputRefused(const std::wstring& input)
{
    ShowBox(L"この入力は履歴ファイルに保存できません。", input, UnwritableCharacters(input),
            L"入力を直してから、もう一度 OK を押してください。");
}
