#include "app/failure_text.h"

namespace {
// The Windows error codes, spelled out so that the texts build and are
// tested without windows.h.
const uint32_t kAccessDenied = 5;
const uint32_t kSharingViolation = 32;
const uint32_t kLockViolation = 33;
const uint32_t kHandleDiskFull = 39;
const uint32_t kDiskFull = 112;
const uint32_t kUserMappedFile = 1224;
const uint32_t kDiskQuotaExceeded = 1295;
const uint32_t kFileReadOnly = 6009;

// Moving the program moves its files: whatever names their paths follows.
#define WEXMOOR_MOVE_ALSO WIDE_TEXT("（マクロに書いた履歴ファイルのパスとショートカットも直してください）。")

struct Advice {
    Failure failure;
    Cause cause;
    const WideChar* text;
};

// The files' paths are fixed when the program starts, so a program moved
// elsewhere must be started again from there. The editor not started has one
// advice for every cause.
const Advice kAdvice[] = {
    {Failure::HistoryNotSaved, Cause::ReadOnly,
     WIDE_TEXT("ファイルのプロパティで「読み取り専用」のチェックを外してから、もう一度 OK を押してください。")},
    {Failure::HistoryNotSaved, Cause::NoWriteAccess,
     WIDE_TEXT("このフォルダーには書き込めません。キャンセルで閉じ、Wexmoor を書き込みのできるフォルダーに移して、")
         WIDE_TEXT("そこで起動し直してください") WEXMOOR_MOVE_ALSO},
    {Failure::HistoryNotSaved, Cause::FolderInPlace,
     WIDE_TEXT("履歴ファイルと同じ名前のフォルダーがあるため、ファイルを書けません。そのフォルダーの名前を変えるか")
         WIDE_TEXT("別の場所に移してから、もう一度 OK を押してください。")},
    {Failure::HistoryNotSaved, Cause::InUse,
     WIDE_TEXT("このファイルを使っているプログラム（履歴ファイルを開いたままの秀丸エディタを含みます）を閉じてから、")
         WIDE_TEXT("もう一度 OK を押してください。")},
    {Failure::HistoryNotSaved, Cause::DiskFull,
     WIDE_TEXT("ディスクの空き容量を増やしてから、もう一度 OK を押してください。")},
    {Failure::HistoryNotSaved, Cause::Other, WIDE_TEXT("上の理由を取り除いてから、もう一度 OK を押してください。")},
    {Failure::SettingsNotSaved, Cause::ReadOnly,
     WIDE_TEXT("次回までに、設定ファイルのプロパティで「読み取り専用」のチェックを外してください。")},
    {Failure::SettingsNotSaved, Cause::NoWriteAccess,
     WIDE_TEXT("このフォルダーには書き込めません。Wexmoor を書き込みのできるフォルダーに移し、そこで起動してください")
         WEXMOOR_MOVE_ALSO},
    {Failure::SettingsNotSaved, Cause::FolderInPlace,
     WIDE_TEXT("次回までに、設定ファイルと同じ名前のフォルダーの名前を変えるか、別の場所に移してください。")},
    {Failure::SettingsNotSaved, Cause::InUse, WIDE_TEXT("次回までに、設定ファイルを使っているプログラムを閉じてください。")},
    {Failure::SettingsNotSaved, Cause::DiskFull, WIDE_TEXT("次回までに、ディスクの空き容量を増やしてください。")},
    {Failure::SettingsNotSaved, Cause::Other, WIDE_TEXT("次回までに、上の理由を取り除いてください。")},
};

const WideChar kCheckTheEditor[] =
    WIDE_TEXT("秀丸エディタがこの場所にあるか確かめてください。場所が違うときは、設定ファイルの hidemaru を直してください。");
#undef WEXMOOR_MOVE_ALSO
}  // namespace

Cause CauseOf(uint32_t error, bool folderInPlace)
{
    switch (error) {
    case kFileReadOnly:
        return Cause::ReadOnly;
    case kAccessDenied:
        return folderInPlace ? Cause::FolderInPlace : Cause::NoWriteAccess;
    case kSharingViolation:
    case kLockViolation:
    case kUserMappedFile:
        return Cause::InUse;
    case kDiskFull:
    case kHandleDiskFull:
    case kDiskQuotaExceeded:
        return Cause::DiskFull;
    default:
        return Cause::Other;
    }
}

const WideChar* WhatFailed(Failure failure)
{
    switch (failure) {
    case Failure::HistoryNotSaved:
        return WIDE_TEXT("履歴ファイルに保存できなかったため、秀丸エディタを起動しませんでした。");
    case Failure::EditorNotStarted:
        return WIDE_TEXT("履歴は保存しましたが、秀丸エディタを起動できませんでした。");
    case Failure::SettingsNotSaved:
        return WIDE_TEXT("秀丸エディタの場所を設定ファイルに保存できませんでした。選んだフォルダーは今回だけ使い、")
            WIDE_TEXT("次回の起動時にもう一度お尋ねします。");
    }
    return WIDE_TEXT("");
}

WideText CodePageName(uint32_t codePage)
{
    switch (codePage) {
    case 932:
        return WIDE_TEXT("Shift_JIS");
    case 65001:
        return WIDE_TEXT("UTF-8");
    }
    WideText digits;
    do
        digits.insert(digits.begin(), static_cast<WideChar>(WIDE_TEXT('0') + codePage % 10));
    while (codePage /= 10);
    return WIDE_TEXT("コード ページ ") + digits;
}

const WideChar* AdviceFor(Failure failure, Cause cause)
{
    if (failure == Failure::EditorNotStarted)
        return kCheckTheEditor;
    for (const Advice& advice : kAdvice)
        if (advice.failure == failure && advice.cause == cause)
            return advice.text;
    return WIDE_TEXT("");
}
