// The window's titles, the start/stop button's captions, and every caption and text the program
// shows in a message box. The user guide quotes each message (docs/guide-ja.md, "メッセージと対処"),
// and test_ui_rules holds the guide to kShownMessages, so a text changed here fails that test until
// the guide follows.
#pragma once

#include "product_info.h"

namespace kestul {

inline constexpr wchar_t kMainTitle[] = L"" KESTUL_PRODUCT_NAME;
inline constexpr wchar_t kSettingsTitle[] = L"" KESTUL_PRODUCT_NAME L" - 設定";
inline constexpr wchar_t kStartCaption[] = L"開始(&A)";
inline constexpr wchar_t kStopCaption[] = L"停止(&T)";

inline constexpr wchar_t kAlreadyRunningCaption[] = L"多重起動";
inline constexpr wchar_t kAlreadyRunningText[] = L"" KESTUL_PRODUCT_NAME L"は既に起動しています。";

inline constexpr wchar_t kSettingsWarningCaption[] = L"設定読み込み警告";
inline constexpr wchar_t kWarningUnreadable[] = L"設定ファイルを読み込めません。既定値で起動します。";
inline constexpr wchar_t kWarningSyntax[] = L"設定ファイルの構文が不正です。既定値で起動します。";
inline constexpr wchar_t kWarningVersion[] = L"設定ファイルのバージョンが不正です。既定値で起動します。";
inline constexpr wchar_t kWarningUnknownVersion[] =
    L"未知の設定バージョンです。ファイルを保護して既定値で起動します。";
inline constexpr wchar_t kWarningMissingKey[] = L"設定ファイルに必要な項目がありません。既定値で起動します。";
inline constexpr wchar_t kWarningMode[] = L"設定のモードが不正です。既定値で起動します。";
inline constexpr wchar_t kWarningButton[] = L"設定のボタンが不正です。既定値で起動します。";
inline constexpr wchar_t kWarningNumber[] = L"設定ファイルの数値が不正です。既定値で起動します。";
inline constexpr wchar_t kWarningLayout[] = L"保存位置の画面配置情報が不正です。既定値で起動します。";
inline constexpr wchar_t kWarningBinding[] = L"開始・停止キーの設定が不正です。既定値で起動します。";
inline constexpr wchar_t kWarningPositionMismatch[] =
    L"保存位置またはモニター配置が現在の環境と一致しません。開始前に位置を再登録してください。";

// The keys that could not be registered go between the two parts.
inline constexpr wchar_t kHotkeyConflictCaption[] = L"ホットキー競合";
inline constexpr wchar_t kHotkeyConflictText[] = L"次のホットキーを登録できませんでした: ";
inline constexpr wchar_t kHotkeyConflictTextAfterKeys[] = L"\n連打開始を禁止します。";

inline constexpr wchar_t kSessionErrorCaption[] = L"セッション通知エラー";
inline constexpr wchar_t kSessionErrorText[] =
    L"セッション通知を登録できないため、クリックを開始できません。アプリを再起動してください。";

inline constexpr wchar_t kInputErrorCaption[] = L"入力エラー";
inline constexpr wchar_t kIntervalErrorText[] = L"間隔は20～60000の符号なし整数で入力してください。";
inline constexpr wchar_t kInputRejectedText[] =
    L"SendInputが全イベントを受け付けませんでした。クリック受付や対象アプリの反応は保証されません。";

inline constexpr wchar_t kSavedPositionErrorCaption[] = L"保存位置エラー";
inline constexpr wchar_t kNotSavedText[] =
    L"保存位置が未登録です。停止中にF6または登録ボタンで現在位置を保存してください。";
inline constexpr wchar_t kLayoutChangedText[] =
    L"モニター配置が保存時から変わりました。保存位置を再登録してください。";
inline constexpr wchar_t kOffMonitorText[] =
    L"保存位置が現在の実在モニター上にありません。保存位置を再登録してください。";

inline constexpr wchar_t kRegisterErrorCaption[] = L"位置登録エラー";
inline constexpr wchar_t kCursorUnreadableText[] = L"現在のカーソル位置を取得できません。";
inline constexpr wchar_t kCursorOffMonitorText[] = L"カーソルが実在モニター上にありません。";

inline constexpr wchar_t kSaveErrorCaption[] = L"設定保存エラー";
inline constexpr wchar_t kSaveErrorFolder[] = L"設定フォルダーを作成できません。";
inline constexpr wchar_t kSaveErrorLayout[] = L"画面配置情報を保存できません。";
inline constexpr wchar_t kSaveErrorTemporaryCreate[] = L"一時設定ファイルを作成できません。";
inline constexpr wchar_t kSaveErrorTemporaryWrite[] = L"一時設定ファイルへ書き込めません。";
inline constexpr wchar_t kSaveErrorTemporaryClose[] = L"一時設定ファイルを確定できません。";
inline constexpr wchar_t kSaveErrorReplace[] = L"設定ファイルを置換できません。";

inline constexpr wchar_t kStartErrorCaption[] = L"開始エラー";
inline constexpr wchar_t kStartErrorText[] = L"クリック処理を開始できません。";

inline constexpr wchar_t kKeyTakenCaption[] = L"操作キー設定";
inline constexpr wchar_t kKeyTakenText[] = L"選択した操作キーを登録できません。別のキーを選んでください。";

struct ShownMessage {
  const wchar_t* caption;
  const wchar_t* text;
  const wchar_t* textAfterKeys;  // only the hotkey conflict: its text, the key names, then this
};

inline constexpr ShownMessage kShownMessages[] = {
    {kAlreadyRunningCaption, kAlreadyRunningText, nullptr},
    {kSettingsWarningCaption, kWarningUnreadable, nullptr},
    {kSettingsWarningCaption, kWarningSyntax, nullptr},
    {kSettingsWarningCaption, kWarningVersion, nullptr},
    {kSettingsWarningCaption, kWarningUnknownVersion, nullptr},
    {kSettingsWarningCaption, kWarningMissingKey, nullptr},
    {kSettingsWarningCaption, kWarningMode, nullptr},
    {kSettingsWarningCaption, kWarningButton, nullptr},
    {kSettingsWarningCaption, kWarningNumber, nullptr},
    {kSettingsWarningCaption, kWarningLayout, nullptr},
    {kSettingsWarningCaption, kWarningBinding, nullptr},
    {kSettingsWarningCaption, kWarningPositionMismatch, nullptr},
    {kHotkeyConflictCaption, kHotkeyConflictText, kHotkeyConflictTextAfterKeys},
    {kSessionErrorCaption, kSessionErrorText, nullptr},
    {kInputErrorCaption, kIntervalErrorText, nullptr},
    {kInputErrorCaption, kInputRejectedText, nullptr},
    {kSavedPositionErrorCaption, kNotSavedText, nullptr},
    {kSavedPositionErrorCaption, kLayoutChangedText, nullptr},
    {kSavedPositionErrorCaption, kOffMonitorText, nullptr},
    {kRegisterErrorCaption, kCursorUnreadableText, nullptr},
    {kRegisterErrorCaption, kCursorOffMonitorText, nullptr},
    {kSaveErrorCaption, kSaveErrorFolder, nullptr},
    {kSaveErrorCaption, kSaveErrorLayout, nullptr},
    {kSaveErrorCaption, kSaveErrorTemporaryCreate, nullptr},
    {kSaveErrorCaption, kSaveErrorTemporaryWrite, nullptr},
    {kSaveErrorCaption, kSaveErrorTemporaryClose, nullptr},
    {kSaveErrorCaption, kSaveErrorReplace, nullptr},
    {kStartErrorCaption, kStartErrorText, nullptr},
    {kKeyTakenCaption, kKeyTakenText, nullptr},
};

}  // namespace kestul
