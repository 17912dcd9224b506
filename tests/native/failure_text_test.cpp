// What the failure boxes advise for each cause: each Windows error must find
// the advice written for its cause, whatever order the texts stand in. The
// causes the tests under Wine provoke are theirs.
#include <gtest/gtest.h>

#include <tuple>

#include "app/failure_text.h"

TEST(FailureText, AdviceFitsTheCause)
{
    using F = Failure;
    const std::tuple<F, uint32_t, bool, std::u16string> rows[] = {
        {F::HistoryNotSaved, 5, false, u"このフォルダーには書き込めません。キャンセルで閉じ"},  // access denied
        {F::HistoryNotSaved, 5, true, u"履歴ファイルと同じ名前のフォルダーがある"},
        {F::HistoryNotSaved, 33, false, u"このファイルを使っているプログラム"},  // a locked range
        {F::HistoryNotSaved, 1224, false, u"このファイルを使っているプログラム"},  // mapped
        {F::HistoryNotSaved, 112, false, u"ディスクの空き容量を増やして"},  // disk full
        {F::HistoryNotSaved, 1295, false, u"ディスクの空き容量を増やして"},  // quota
        {F::HistoryNotSaved, 87, true, u"上の理由を取り除いて"},  // any other
        {F::SettingsNotSaved, 5, false, u"このフォルダーには書き込めません。Wexmoor を"},
        {F::SettingsNotSaved, 33, false, u"次回までに、設定ファイルを使っているプログラム"},
        {F::SettingsNotSaved, 39, false, u"次回までに、ディスクの空き容量"},
        {F::SettingsNotSaved, 1, false, u"次回までに、上の理由を"},
    };
    for (const auto& [failure, error, folder, advice] : rows)
        EXPECT_EQ(std::u16string(AdviceFor(failure, CauseOf(error, folder))).substr(0, advice.size()), advice)
            << static_cast<int>(failure) << " " << error;
    EXPECT_EQ(CodePageName(932), u"Shift_JIS");
    EXPECT_EQ(CodePageName(65001), u"UTF-8");
    EXPECT_EQ(CodePageName(1252), u"コード ページ 1252");
}
