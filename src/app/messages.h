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

// Common dialogs: what each error number of CommonDlg means.
inline constexpr std::string_view kDlgCannotLoad = "関数がﾀﾞｲｱﾛｸﾞ ﾎﾞｯｸｽをﾛｰﾄﾞできません。";
inline constexpr std::string_view kDlgBufferTooSmall = "ﾒﾝﾊﾞ lpstrFile が指すﾊﾞｯﾌｧが小さすぎます。";
inline constexpr std::string_view kDlgInvalidFileName = "ﾌｧｲﾙ名が無効です。";
inline constexpr std::string_view kDlgSubclassFailure = "ﾒﾓﾘ不足のために、ﾘｽﾄ ﾎﾞｯｸｽをｻﾌﾞｸﾗｽ化できません。";
inline constexpr std::string_view kDlgNoFonts = "ﾌｫﾝﾄが存在しません。";
inline constexpr std::string_view kDlgPrinterNotFound =
    "WIN.INI ﾌｧｲﾙ内の [devices] ｾｸｼｮﾝに、必要なﾌﾟﾘﾝﾀについてのｴﾝﾄﾘがありません。";
inline constexpr std::string_view kDlgCreateIcFailure = "PrintDlg 関数が情報ｺﾝﾃｷｽﾄを作成できません。";
inline constexpr std::string_view kDlgDevModeMismatch =
    "DevMode ﾃﾞｰﾀ構造と DevNames ﾃﾞｰﾀ構造のﾃﾞｰﾀが異なるﾌﾟﾘﾝﾀを指しています。";
inline constexpr std::string_view kDlgNoDefaultPrinter = "通常使うﾌﾟﾘﾝﾀが設定されていません。";
inline constexpr std::string_view kDlgNoPrinterDriver = "ﾌﾟﾘﾝﾀ ﾄﾞﾗｲﾊﾞが見つかりません。";
inline constexpr std::string_view kDlgPrintInitFailure = "PrintDlg 関数を初期化できません。";
inline constexpr std::string_view kDlgDevModeFailure = "ﾌﾟﾘﾝﾀ ﾄﾞﾗｲﾊﾞが DevMode ﾃﾞｰﾀ構造を初期化できません。";
inline constexpr std::string_view kDlgLoadDriverFailure = "PrintDlg 関数が、指定したﾌﾟﾘﾝﾀ ﾄﾞﾗｲﾊﾞをﾛｰﾄﾞできません。";
inline constexpr std::string_view kDlgReturnDefaultFailure =
    "PDReturnDefault ﾌﾗｸﾞが設定されていますが、hDevMode ﾌｨｰﾙﾄﾞまたは hDevNames ﾌｨｰﾙﾄﾞが 0 ではありません。";
inline constexpr std::string_view kDlgParseFailure = "CommonDialog 関数が WIN.INI の [devices] ｾｸｼｮﾝの文字列を解析できません。";
inline constexpr std::string_view kDlgLoadResources = "必要なﾘｿｰｽを読み込めません。";
inline constexpr std::string_view kDlgHelpFailure = "Microsoft Windows のﾍﾙﾌﾟを呼び出せません。";
inline constexpr std::string_view kDlgNoMemoryForNames = "FileName ﾌﾟﾛﾊﾟﾃｨまたは Filter ﾌﾟﾛﾊﾟﾃｨにﾒﾓﾘを割り当てられません。";
inline constexpr std::string_view kDlgCancelled = "[ｷｬﾝｾﾙ] ボタンが選択されました。";
inline constexpr std::string_view kDlgMemLockFailure = "関数が、ﾊﾝﾄﾞﾙに関連付けられたﾒﾓﾘをﾛｯｸできません。";
inline constexpr std::string_view kDlgMemAllocFailure = "関数が、内部のﾃﾞｰﾀ構造にﾒﾓﾘを割り当てられません。";
inline constexpr std::string_view kDlgLockResFailure = "関数が指定したﾘｿｰｽをﾛｯｸできません。";
inline constexpr std::string_view kDlgLoadResFailure = "関数が指定したﾘｿｰｽをﾛｰﾄﾞできません。";
inline constexpr std::string_view kDlgInitialization = "関数を初期化できません。";
inline constexpr std::string_view kDlgUnknownError = "未知のｴﾗｰです。";

}  // namespace tavi::text
