#include "app/failure_box.h"

#include "framework/message_box.h"

namespace {
const UINT kFailureBoxType = MB_OK | MB_ICONEXCLAMATION;

struct FailureText {
    const wchar_t* what;
    const wchar_t* remedy;
};

// In the order of Failure.
const FailureText kFailureTexts[] = {
    {L"履歴ファイルに保存できなかったため、秀丸エディタを起動しませんでした。",
     L"Wexmoor を書き込みのできるフォルダーに移すか、このファイルを開いているプログラムを閉じてから、"
     L"もう一度 OK を押してください。"},
    {L"履歴は保存しましたが、秀丸エディタを起動できませんでした。",
     L"秀丸エディタがこの場所にあるか確かめてください。場所が違うときは、設定ファイルの hidemaru を直してください。"},
    {L"秀丸エディタの場所を設定ファイルに保存できませんでした。今回はこの場所を使いますが、次回の起動時にもう一度"
     L"聞かれます。",
     L"Wexmoor を書き込みのできるフォルダーに移してください。"},
};

// The system's own words for an error, in its language.
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
}  // namespace

void ShowFailure(Failure failure, const std::wstring& path, DWORD error)
{
    const FailureText& text = kFailureTexts[static_cast<int>(failure)];
    AfxMessageBox(std::wstring(text.what) + L"\n\n" + path + L"\n" + SystemReason(error) + L"\n\n" + text.remedy,
                  kFailureBoxType);
}

void ShowFolderRefused(const std::wstring& folder, FolderRefusal why)
{
    AfxMessageBox(std::wstring(L"選んだフォルダーは設定ファイルに保存できません。\n\n") + folder + L"\n" +
                      (why == FolderRefusal::NotInCodePage
                           ? L"このパスには Shift_JIS で表せない文字が含まれています。"
                           : L"このパスは長すぎます。末尾に \\Hidemaru.exe を付けると、259 バイト（半角 259 文字）を超えます。") +
                      L"\n\n秀丸エディタのあるフォルダーを、別の場所から選んでください。",
                  kFailureBoxType);
}
