// The messages of automatic processing and of the auto-run switch.
// Portable: no Windows header.
#pragma once

#include "protocol/FileProtocol.h"

struct RefusalText {
    Refusal refusal;
    const wchar_t* text;
};

// The stop-icon message of each refusal, exactly as shown. The missing
// input's "がりません" (for "がありません") is kept as it has always been
// shown: users and driving programs may look for it. A dialog that cannot be
// created shows nothing.
constexpr RefusalText kRefusalMessages[] = {
    {Refusal::InputMissing, L"10進数が記述された「DekoKan.tbin」ファイルがりません。\r\n処理を中止します。"},
    {Refusal::InputEmpty, L"10進数が記述された「DekoKan.tbin」ファイルの中身が空です。\r\n処理を中止します。"},
    {Refusal::InputNotNumbers,
     L"10進数が記述された「DekoKan.tbin」ファイルに、数値以外の文字が書かれていました。\r\n処理を中止します。"},
    {Refusal::InputTooLarge,
     L"10進数が記述された「DekoKan.tbin」ファイルが大きすぎます。" NUMVERA_TEXT_OF(NUMVERA_INPUT_FILE_SIZE_LIMIT) L"バイト未満にして下さい。\r\n処理を中止します。"},
    {Refusal::InputUnreadable, L"10進数が記述された「DekoKan.tbin」ファイルを読み込めませんでした。\r\n処理を中止します。"},
    {Refusal::ValueTooLarge,
     L"計算できる最大値の" NUMVERA_TEXT_OF(NUMVERA_LARGEST_VALUE) L"を超えました。" NUMVERA_TEXT_OF(NUMVERA_LARGEST_VALUE) L"以下の数値で実行して下さい。\r\n処理を中止します。"},
    {Refusal::ResultNotWritten, L"変換結果を「BivoResult.tbin」ファイルに書き込めませんでした。\r\n処理を中止します。"},
    {Refusal::InputNotRemoved, L"変換結果は書き込みましたが、「DekoKan.tbin」ファイルを削除できませんでした。"},
    {Refusal::InUse, L"10進数が記述された「DekoKan.tbin」ファイルは別の処理で使用中です。\r\n処理を中止します。"},
    {Refusal::NoTurn, L"処理の順番を管理する「BivoA.lock」ファイルを開けませんでした。\r\n処理を中止します。"},
};

inline const wchar_t* RefusalMessage(Refusal refusal)
{
    for (const RefusalText& entry : kRefusalMessages) {
        if (entry.refusal == refusal)
            return entry.text;
    }
    return L"";
}

constexpr wchar_t kCompletedMessage[] = L"処理を完了しました。";

constexpr wchar_t kAutoFolderCreatedMessage[] = L"自動処理設定用ディレクトリーを作成しました。";
constexpr wchar_t kAutoFolderExistsMessage[] = L"自動処理設定用ディレクトリーが既に有るので作成できませんでした。";
constexpr wchar_t kAutoFolderNotCreatedMessage[] = L"自動処理設定用ディレクトリーを作成できませんでした。";
