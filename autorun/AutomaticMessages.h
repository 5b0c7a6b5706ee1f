// The messages of automatic processing and of the auto-run switch.
#pragma once

constexpr wchar_t kInputMissingMessage[] =
    L"10進数が記述された「DekoKan.tbin」ファイルがりません。\r\n処理を中止します。";
constexpr wchar_t kInputEmptyMessage[] = L"10進数が記述された「DekoKan.tbin」ファイルの中身が空です。\r\n処理を中止します。";
constexpr wchar_t kInputNotNumbersMessage[] =
    L"10進数が記述された「DekoKan.tbin」ファイルに、数値以外の文字が書かれていました。\r\n処理を中止します。";
constexpr wchar_t kInputTooLargeMessage[] =
    L"10進数が記述された「DekoKan.tbin」ファイルが大きすぎます。2077000バイト未満にして下さい。\r\n処理を中止します。";
constexpr wchar_t kInputUnreadableMessage[] =
    L"10進数が記述された「DekoKan.tbin」ファイルを読み込めませんでした。\r\n処理を中止します。";
constexpr wchar_t kInputInUseMessage[] =
    L"10進数が記述された「DekoKan.tbin」ファイルは別の処理で使用中です。\r\n処理を中止します。";
constexpr wchar_t kValueTooLargeMessage[] =
    L"計算できる最大値の2147483647を超えました。2147483647以下の数値で実行して下さい。\r\n処理を中止します。";
constexpr wchar_t kResultNotWrittenMessage[] =
    L"変換結果を「BivoResult.tbin」ファイルに書き込めませんでした。\r\n処理を中止します。";
constexpr wchar_t kInputNotRemovedMessage[] =
    L"変換結果は書き込みましたが、「DekoKan.tbin」ファイルを削除できませんでした。";
constexpr wchar_t kCompletedMessage[] = L"処理を完了しました。";

constexpr wchar_t kAutoFolderCreatedMessage[] = L"自動処理設定用ディレクトリーを作成しました。";
constexpr wchar_t kAutoFolderExistsMessage[] = L"自動処理設定用ディレクトリーが既に有るので作成できませんでした。";
constexpr wchar_t kAutoFolderNotCreatedMessage[] = L"自動処理設定用ディレクトリーを作成できませんでした。";
