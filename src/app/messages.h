#pragma once
#include <string_view>

// Every text the program shows to its user, in one place, exactly as written.
namespace tavi::text {

inline constexpr std::string_view kAppTitle = "たびめにゅ～２－【多機能ランチャー】";
inline constexpr std::string_view kShortTitle = "たびめにゅ～２";
inline constexpr std::string_view kSubtitle = "【多機能ランチャー】";
// Caption of the program's own message boxes.
inline constexpr std::string_view kMessageCaption = kShortTitle;

inline constexpr std::string_view kAlreadyRunning = "既に起動中です　二重起動はできません";
inline constexpr std::string_view kStartupFailed =
    "起動に必要なランタイムが正しくインストールされていない可能性があります 処理を中断します";
inline constexpr std::string_view kDetails = "詳細";

inline constexpr std::string_view kLaunchFailed = "起動失敗";
inline constexpr std::string_view kOutOfMemory = "ﾒﾓﾘまたはﾘｿｰｽが足りません";
inline constexpr std::string_view kOfferDelete = "起動失敗 ｴﾝﾄﾘｰを削除しますか";

inline constexpr std::string_view kExplorerTitle = "ｴｸｽﾌﾟﾛｰﾗ";

inline constexpr std::string_view kPageLimit =
    "現在の「たびめにゅ～２」は 登録アイテム数 1000 以下の仕様となっています";

inline constexpr std::string_view kCloseButton = "閉じる";
inline constexpr std::string_view kNextButton = "次へ(F2)";
inline constexpr std::string_view kPreviousButton = "前へ(F1)";

inline constexpr std::string_view kMenuExit = "終了(&X)";

inline constexpr std::string_view kTrayTipPrefix = "たびめにゅ～２ ";

// Entry dialogs: the registration dialog (NewApp) and the icon picker (IconChange).
inline constexpr std::string_view kNewAppCaption = "ｱﾌﾟﾘｹｰｼｮﾝの登録";
inline constexpr std::string_view kNewAppTab = "ｱﾌﾟﾘｹｰｼｮﾝ情報";
inline constexpr std::string_view kNewAppProgramFrame = "ﾌﾟﾛｸﾞﾗﾑの指定";
inline constexpr std::string_view kNewAppKindFile = "ﾌｧｲﾙ(&F)";
inline constexpr std::string_view kNewAppKindFolder = "ﾌｫﾙﾀﾞ(&Z)";
inline constexpr std::string_view kNewAppKindGroup = "ｸﾞﾙｰﾌﾟ(&G)";
inline constexpr std::string_view kNewAppTitleLabel = "ﾀｲﾄﾙ名(&T)";
inline constexpr std::string_view kNewAppCommandLabel = "ｺﾏﾝﾄﾞﾗｲﾝ(&L)";
inline constexpr std::string_view kNewAppRunSizeLabel = "実行時の大きさ(&B)";
inline constexpr std::string_view kRunSizeNormal = "通常のｳｨﾝﾄﾞｳ";
inline constexpr std::string_view kRunSizeMinimized = "最小化";
inline constexpr std::string_view kRunSizeMaximized = "最大化";
inline constexpr std::string_view kNewAppIconTip = "ｱｲｺﾝの変更";
inline constexpr std::string_view kNewAppChangeIcon = "ｱｲｺﾝの変更(&H)...";
inline constexpr std::string_view kNewAppBrowseTitle = "登録ｱﾌﾟﾘｹｰｼｮﾝの指定";
inline constexpr std::string_view kNewAppFolderPrompt = "ﾌｫﾙﾀﾞを選択して下さい";
inline constexpr std::string_view kProgramFileFilter =
    "Exe Files (*.exe)|*.exe|Com Files (*.com)|*.com|All Files (*.*)|*.*";
inline constexpr std::string_view kIconChangeCaption = "ｱｲｺﾝの変更";
inline constexpr std::string_view kIconChangeFileLabel = "ﾌｧｲﾙ名(&F)";
inline constexpr std::string_view kIconChangeBrowseTitle = "変更ﾌｧｲﾙ名の指定";
inline constexpr std::string_view kEntryDialogBrowse = "...";
inline constexpr std::string_view kEntryDialogOk = "&OK";
inline constexpr std::string_view kEntryDialogCancel = "ｷｬﾝｾﾙ(&C)";

}  // namespace tavi::text
