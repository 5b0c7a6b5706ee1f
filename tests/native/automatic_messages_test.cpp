// The messages of automatic runs exactly as users and driving programs see
// them. The Wine suites take their expected texts from the program's table;
// this table is where a changed text fails.
#include <gtest/gtest.h>

#include <string>

#include "autorun/AutomaticMessages.h"

namespace {

TEST(AutomaticMessages, EachRefusalShowsItsTextExactly)
{
    struct Case {
        Refusal refusal;
        const wchar_t* text;
    };
    const Case cases[] = {
        {Refusal::InputMissing, L"10進数が記述された「DekoKan.tbin」ファイルがりません。\r\n処理を中止します。"},
        {Refusal::InputEmpty, L"10進数が記述された「DekoKan.tbin」ファイルの中身が空です。\r\n処理を中止します。"},
        {Refusal::InputNotNumbers,
         L"10進数が記述された「DekoKan.tbin」ファイルに、数値以外の文字が書かれていました。\r\n処理を中止します。"},
        {Refusal::InputTooLarge,
         L"10進数が記述された「DekoKan.tbin」ファイルが大きすぎます。2077000バイト未満にして下さい。\r\n処理を中止します。"},
        {Refusal::InputUnreadable, L"10進数が記述された「DekoKan.tbin」ファイルを読み込めませんでした。\r\n処理を中止します。"},
        {Refusal::ValueTooLarge,
         L"計算できる最大値の2147483647を超えました。2147483647以下の数値で実行して下さい。\r\n処理を中止します。"},
        {Refusal::ResultNotWritten, L"変換結果を「BivoResult.tbin」ファイルに書き込めませんでした。\r\n処理を中止します。"},
        {Refusal::InputNotRemoved, L"変換結果は書き込みましたが、「DekoKan.tbin」ファイルを削除できませんでした。"},
        {Refusal::InUse, L"10進数が記述された「DekoKan.tbin」ファイルは別の処理で使用中です。\r\n処理を中止します。"},
        {Refusal::NoTurn, L"処理の順番を管理する「BivoA.lock」ファイルを開けませんでした。\r\n処理を中止します。"},
        {Refusal::DialogNotCreated, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.refusal));
        EXPECT_EQ(std::wstring(RefusalMessage(c.refusal)), c.text);
    }
    EXPECT_EQ(std::wstring(kCompletedMessage), L"処理を完了しました。");
    EXPECT_EQ(std::wstring(kAutoFolderCreatedMessage), L"自動処理設定用ディレクトリーを作成しました。");
    EXPECT_EQ(std::wstring(kAutoFolderExistsMessage), L"自動処理設定用ディレクトリーが既に有るので作成できませんでした。");
    EXPECT_EQ(std::wstring(kAutoFolderNotCreatedMessage), L"自動処理設定用ディレクトリーを作成できませんでした。");
}

}  // namespace
