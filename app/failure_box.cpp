#include "app/failure_box.h"

#include "framework/message_box.h"

namespace {
const UINT kFailureBoxType = MB_OK | MB_ICONEXCLAMATION;
// A storage quota was exceeded; missing from MinGW's headers.
const DWORD kDiskQuotaExceeded = 1295;

// What the user can do about a failed write depends on its cause.
enum Cause { kReadOnly, kNoWriteAccess, kInUse, kDiskFull, kOtherCause, kCauseCount };

Cause CauseOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_READ_ONLY:
        return kReadOnly;
    case ERROR_ACCESS_DENIED:
        return kNoWriteAccess;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return kInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded:
        return kDiskFull;
    default:
        return kOtherCause;
    }
}

struct FailureText {
    const wchar_t* what;
    const wchar_t* advice[kCauseCount];
};

const wchar_t kCheckTheEditor[] =
    L"秀丸エディタがこの場所にあるか確かめてください。場所が違うときは、設定ファイルの hidemaru を直してください。";

// In the order of Failure. The files' paths are fixed when the program starts,
// so a program moved elsewhere must be started again from there.
const FailureText kFailureTexts[] = {
    {L"履歴ファイルに保存できなかったため、秀丸エディタを起動しませんでした。",
     {L"ファイルのプロパティで「読み取り専用」のチェックを外してから、もう一度 OK を押してください。",
      L"このフォルダーには書き込めません。キャンセルで閉じ、Wexmoor を書き込みのできるフォルダーに移してから、"
      L"そこで起動し直してください。",
      L"このファイルを使っているプログラムを閉じてから、もう一度 OK を押してください。",
      L"ディスクの空き容量を増やしてから、もう一度 OK を押してください。",
      L"上の理由を取り除いてから、もう一度 OK を押してください。"}},
    {L"履歴は保存しましたが、秀丸エディタを起動できませんでした。",
     {kCheckTheEditor, kCheckTheEditor, kCheckTheEditor, kCheckTheEditor, kCheckTheEditor}},
    {L"秀丸エディタの場所を設定ファイルに保存できませんでした。選んだフォルダーは今回だけ使い、次回の起動時に"
     L"もう一度お尋ねします。",
     {L"次回までに、設定ファイルのプロパティで「読み取り専用」のチェックを外してください。",
      L"このフォルダーには書き込めません。Wexmoor を書き込みのできるフォルダーに移し、そこで起動してください。",
      L"次回までに、設定ファイルを使っているプログラムを閉じてください。",
      L"次回までに、ディスクの空き容量を増やしてください。",
      L"次回までに、上の理由を取り除いてください。"}},
};
}  // namespace

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

void ShowFailure(Failure failure, const std::wstring& path, DWORD error)
{
    const FailureText& text = kFailureTexts[static_cast<int>(failure)];
    AfxMessageBox(std::wstring(text.what) + L"\n\n" + path + L"\n" + SystemReason(error) + L"\n\n" +
                      text.advice[CauseOf(error)],
                  kFailureBoxType);
}

void ShowFolderRefused(const std::wstring& folder, FolderRefusal why)
{
    const wchar_t* const reason =
        why == FolderRefusal::NotInCodePage
            ? L"このパスには Shift_JIS で表せない文字が含まれています。"
            : L"このパスは長すぎます。末尾に \\Hidemaru.exe を付けると、259 バイト（半角 259 文字）を超えます。";
    AfxMessageBox(L"選んだフォルダーは設定ファイルに保存できません。\n\n" + folder + L"\n" + reason +
                      L"\n\n秀丸エディタのあるフォルダーを選び直してください。",
                  kFailureBoxType);
}
