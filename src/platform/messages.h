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
// What screen readers offer as a bar button's default action.
inline constexpr std::string_view kActionStartEntry = "起動";
inline constexpr std::string_view kActionOpenGroup = "開く";

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
// Menus: both popup menus, their run-time lists and commands.
inline constexpr std::string_view kAppMenuCaption = "アプリケーション登録";
inline constexpr std::string_view kPopUpMenuCaption = "タスクトレイ用ポップアップ";
inline constexpr std::string_view kMenuNewIn = "新規登録(&N)...";
inline constexpr std::string_view kMenuEdit = "編集(&E)...";
inline constexpr std::string_view kMenuDelete = "削除(&D)";
inline constexpr std::string_view kMenuMove = "同列内で移動(&V)";
inline constexpr std::string_view kMenuCut = "切り取り(&C)";
inline constexpr std::string_view kMenuPaste = "貼り付け(&P)";
inline constexpr std::string_view kMenuUndo = "元に戻す(&U)";
inline constexpr std::string_view kMenuRedo = "やり直し(&Y)";
inline constexpr std::string_view kMenuFolder = "ﾌｫﾙﾀﾞ(&A)...";
inline constexpr std::string_view kMenuProperty = "ﾌﾟﾛﾊﾟﾃｨ(&R)...";
inline constexpr std::string_view kMenuOption = "ｵﾌﾟｼｮﾝ(&O)...";
inline constexpr std::string_view kMenuReDraw = "再表示(&W)";
inline constexpr std::string_view kMenuSearch = "ﾌｧｲﾙの検索(&I)...";
inline constexpr std::string_view kMenuHelp = "ﾍﾙﾌﾟ(&H)...";
inline constexpr std::string_view kMenuBackup = "ﾊﾞｯｸｱｯﾌﾟ(&K)...";
inline constexpr std::string_view kMenuDeskTop = "ﾃﾞｽｸﾄｯﾌﾟ(&T)...";
inline constexpr std::string_view kMenuDrive = "ｴｸｽﾌﾟﾛｰﾗ(&L)...";
inline constexpr std::string_view kMenuScreenSaver = "ｽｸﾘｰﾝｾｲﾊﾞｰ(&V)...";
inline constexpr std::string_view kMenuWallPaper = "壁紙(&W)...";
inline constexpr std::string_view kMenuMemorySpace = "ﾒﾓﾘ使用量(&E)";
inline constexpr std::string_view kMenuSettings = "設定...";
inline constexpr std::string_view kMenuDisplay = "画面(&G)...";
inline constexpr std::string_view kMenuDisplayProperties = "ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...";
inline constexpr std::string_view kMenuControlPanel = "ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ(&C)...";
inline constexpr std::string_view kMenuPrint = "ﾌﾟﾘﾝﾀ設定(&P)...";
inline constexpr std::string_view kMenuWizard = "ｲﾝｽﾄｰﾙ(&I)...";
inline constexpr std::string_view kMenuNetWork = "ﾈｯﾄﾜｰｸﾄﾞｲﾌﾞの割当て(&Z)...";
inline constexpr std::string_view kMenuNetWorkClose = "ﾈｯﾄﾜｰｸﾄﾞｲﾌﾞの切断(&W)...";
inline constexpr std::string_view kMenuFormat = "ﾃﾞｨｽｸﾌｫｰﾏｯﾄ(&F)...";
inline constexpr std::string_view kMenuMediaOpenClose = "CD-ROMﾄﾚｲの開閉(&M)...";
inline constexpr std::string_view kMenuMediaOut = "CD-ROMﾄﾚｲのﾄﾞｱを開く(&M)";
inline constexpr std::string_view kMenuMediaClose = "CD-ROMﾄﾚｲのﾄﾞｱを閉じる(&L)";
inline constexpr std::string_view kMenuMOEject = "MO取り出し(&B)";
inline constexpr std::string_view kMenuShutDown = "ｼｬｯﾄﾀﾞｳﾝ(&S)...";
// The exit item's caption is kMenuExit above.
inline constexpr std::string_view kShortcutNewIn = "Ctrl+N";
inline constexpr std::string_view kShortcutReDraw = "F5";
inline constexpr std::string_view kShortcutUndo = "Ctrl+Z";
inline constexpr std::string_view kShortcutRedo = "Ctrl+Y";
inline constexpr std::string_view kListNone = "(なし)";

inline constexpr std::string_view kConfirmDeleteSuffix = " を削除します　よろしいですか";
// A move asks: "title" を "target" へ移動します; an empty target is named 未定義 and its index.
inline constexpr std::string_view kConfirmMoveMiddle = " を ";
inline constexpr std::string_view kConfirmMoveSuffix = " へ移動します";
inline constexpr std::string_view kUndefinedEntry = "未定義";
inline constexpr std::string_view kOptionLoadFailed = "注意！！　ｺﾝﾄﾛｰﾙの読み込みに失敗しました Err#:";
inline constexpr std::string_view kOptionLoadHint = "ﾒﾆｭｰ上でｵﾌﾟｼｮﾝを選択してみてください";
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

// Display modes, wallpapers, screen savers: the restart question frmReboot
// and what a display mode change that did not happen tells the user.
inline constexpr std::string_view kFrmRebootCaption = "互換性の警告";
inline constexpr std::string_view kFrmRebootWarning =
    "ｺﾝﾋﾟｭｰﾀをここで再起動しないと選択された設定が原因でﾌﾟﾛｸﾞﾗﾑが正常に動作しないことがあります";
inline constexpr std::string_view kFrmRebootChoose = "どちらかを選んでください";
inline constexpr std::string_view kFrmRebootRestart = "新しい設定でｺﾝﾋﾟｭｰﾀを再起動する(&R)";
inline constexpr std::string_view kFrmRebootStoreOnly = "再起動せずに設定を更新する(&A)";
// frmReboot's buttons are kEntryDialogOk and kEntryDialogCancel.
// Parts of a display mode's caption, " 800x600 (60 kHz) (256色)" or " 1024x768 (32 ﾋﾞｯﾄ)".
inline constexpr std::string_view kModeColours16 = "(16色)";
inline constexpr std::string_view kModeColours256 = "(256色)";
inline constexpr std::string_view kModeBitsUnit = "ﾋﾞｯﾄ";
inline constexpr std::string_view kModeRateUnit = "kHz";
inline constexpr std::string_view kDisplayModeRefused = "ﾃﾞｨｽﾌﾟﾚｲがこの画面ﾓｰﾄﾞに対応していないため変更できません";
inline constexpr std::string_view kDisplayModeFailed = "画面ﾓｰﾄﾞを変更できませんでした";
inline constexpr std::string_view kRestartFailed =
    "ｺﾝﾋﾟｭｰﾀを再起動できませんでした 新しい画面ﾓｰﾄﾞは次回の起動時に有効になります";
// The system's result code, after the mode's caption: "(ｺｰﾄﾞ -2)".
inline constexpr std::string_view kDisplayChangeCodePrefix = "(ｺｰﾄﾞ ";
inline constexpr std::string_view kDisplayChangeCodeSuffix = ")";
// Drive tools: the format dialog (FDFormat).
inline constexpr std::string_view kFDFormatCaption = "ﾃﾞｨｽｸﾌｫｰﾏｯﾄ";
inline constexpr std::string_view kFDFormatDriveLabel = "ﾄﾞﾗｲﾌﾞ選択(&D)";
// A drive list line: "(" number ")" root and this, as in "(0)A:\ ドライブ".
inline constexpr std::string_view kFDFormatDriveSuffix = " ドライブ";
inline constexpr std::string_view kFDFormatOk = "&OK";
inline constexpr std::string_view kFDFormatCancel = "ｷｬﾝｾﾙ(&C)";
// Options and tools: the options dialog (OptionSet), the file properties
// (FileInfomation), the memory meter (frmMemorySpace) and the update-check registration.
inline constexpr std::string_view kOptionSetCaption = "ｵﾌﾟｼｮﾝ";
inline constexpr std::string_view kOptionTabDisplay = "表示";
inline constexpr std::string_view kOptionTabBehaviour = "動作";
inline constexpr std::string_view kOptionTabTimer = "ﾀｲﾏｰ";
inline constexpr std::string_view kOptionTabVersion = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr std::string_view kOptionButtonFlat = "ﾎﾞﾀﾝをﾌﾗｯﾄにする(&F) ※次回起動時有効";
inline constexpr std::string_view kOptionSmallIcon = "でｱｲｺﾝを表示する";
inline constexpr std::string_view kOptionIconSizes[] = {"32×32", "16×16", "24×24"};
inline constexpr std::string_view kOptionPosition = "表示位置(&P)";
inline constexpr std::string_view kOptionPositions[] = {"上端", "下端", "左端", "右端"};
inline constexpr std::string_view kOptionTopMost = "常に手前に表示する(&T)";
inline constexpr std::string_view kOptionAutoHide = "自動的に隠す(&A)";
inline constexpr std::string_view kOptionAutoHideDelays[] = {"0.5", "1.0", "1.5", "2.0", "2.5",
                                                              "3.0", "3.5", "4.0", "4.5", "5.0"};
inline constexpr std::string_view kOptionSeconds = "秒後";
inline constexpr std::string_view kOptionToolTips = "ﾂｰﾙﾁｯﾌﾟを表示する(D)";
inline constexpr std::string_view kOptionExMenuCount = "拡張ﾒﾆｭｰ登録可能ｱｲﾃﾑ数(&K)";
inline constexpr std::string_view kOptionNextStart = "※再起同時有効";
inline constexpr std::string_view kOptionTargetDrop = "ﾀｰｹﾞｯﾄﾄﾞﾛｯﾌﾟを有効にする(&R)";
inline constexpr std::string_view kOptionMediaEject = "終了時ﾘﾑｰﾊﾞﾌﾞﾙﾒﾃﾞｨｱをｲｼﾞｪｸﾄする(&V)";
inline constexpr std::string_view kOptionEndSave = "終了時の状態を保存する(&S)";
inline constexpr std::string_view kOptionWallPaperFrame = "壁紙";
inline constexpr std::string_view kOptionWallPaperChange = "壁紙を自動的に切り替える(&W)";
inline constexpr std::string_view kOptionMinutes = "分毎";
inline constexpr std::string_view kOptionNoSplash = "ｽﾌﾟﾗｯｼｭﾛｺﾟを表示しない(&N)";
inline constexpr std::string_view kOptionWaveLabel = "お知らせﾀｲﾏｰ用のｳｪｰﾌﾞﾌｧｲﾙを指定して下さい";
inline constexpr std::string_view kOptionWaveTest = "ﾃｽﾄ";
inline constexpr std::string_view kOptionWaveStop = "ｽﾄｯﾌﾟ";
inline constexpr std::string_view kOptionAlarmNumberSuffix = ".";
inline constexpr std::string_view kOptionTimeSeparator = ":";
inline constexpr std::string_view kOptionWaveBrowseTitle = "WAVEﾌｧｲﾙの参照";
inline constexpr std::string_view kOptionWaveFilter = "Wave Files (*.wav)|*.wav";
inline constexpr std::string_view kOptionFixedDrive = "(ﾊｰﾄﾞﾃﾞｨｽｸ)    ";
inline constexpr std::string_view kOptionNetworkDrive = "(ﾈｯﾄﾜｰｸ)       ";
inline constexpr std::string_view kOptionMegabytes = " MB";
inline constexpr std::string_view kOptionDriveSpace = "ﾃﾞｨｽｸの空き容量";
inline constexpr std::string_view kOptionVersionPrefix = "Version ";
inline constexpr std::string_view kOptionNotice = "ご意見・ご要望は下記までお寄せください";
inline constexpr std::string_view kOptionLinks[] = {"https://tavimenu2.example/", "mailto:support@tavimenu2.example"};
// The display page's monitor list, one item a monitor: "1: 1280×1024 (プライマリ)".
inline constexpr std::string_view kOptionMonitor = "ﾓﾆﾀｰ(&M)";
inline constexpr std::string_view kOptionMonitorNumberAfter = ": ";
inline constexpr std::string_view kOptionMonitorTimes = "×";
inline constexpr std::string_view kOptionMonitorPrimary = " (プライマリ)";
// The behaviour page's global key.
inline constexpr std::string_view kOptionHotKey = "ﾎｯﾄｷｰ(&H)";
inline constexpr std::string_view kOptionStartWithWindows = "Windows の起動時に実行する(&W)";
inline constexpr std::string_view kStartWithWindowsFailed =
    "Windows の起動時に実行する設定を変更できませんでした";

inline constexpr std::string_view kFileInfoCaptionSuffix = "のﾌﾟﾛﾊﾟﾃｨ";
inline constexpr std::string_view kFileInfoTab = "全般";
inline constexpr std::string_view kFileInfoPlaceCaptions[] = {"種類：", "場所：", "ｻｲｽﾟ："};
inline constexpr std::string_view kFileInfoDateCaptions[] = {"MS-DOS ﾌｧｲﾙ名：", "作成日時：", "更新日時：",
                                                             "ｱｸｾｽ日時："};
inline constexpr std::string_view kFileInfoAttributeCaption = "属性：";
inline constexpr std::string_view kFileInfoAttributes[] = {"読み取り専用", "隠しﾌｧｲﾙ", "ｱｰｶｲﾌﾞ", "ｼｽﾃﾑ", "圧縮"};
inline constexpr std::string_view kFileInfoUnknown = "<不明>";
inline constexpr std::string_view kFileInfoBytes = "ﾊﾞｲﾄ";
inline constexpr std::string_view kTypeRecycleBin = "ごみ箱";
inline constexpr std::string_view kTypeFolder = "ﾌｧｲﾙ ﾌｫﾙﾀﾞ";
inline constexpr std::string_view kTypeFile = "ﾌｧｲﾙ";
// A date reads 2003年4月5日 土曜日 9:5:7.
inline constexpr std::string_view kDateYear = "年";
inline constexpr std::string_view kDateMonth = "月";
inline constexpr std::string_view kDateDay = "日";
inline constexpr std::string_view kDateWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
inline constexpr std::string_view kDateWeekdaySuffix = "曜日 ";

inline constexpr std::string_view kMemorySpaceCaption = "ﾒﾓﾘ使用量";
inline constexpr std::string_view kMemoryLoadLabel = "ﾒﾓﾘ使用率";
inline constexpr std::string_view kSystemResourceLabel = "ｼｽﾃﾑﾘｿｰｽ";
inline constexpr std::string_view kUserResourceLabel = "Userﾘｿｰｽ";
inline constexpr std::string_view kGdiResourceLabel = "GDIﾘｿｰｽ";
inline constexpr std::string_view kTotalPhysLabel = "全物理ﾒﾓﾘ";
inline constexpr std::string_view kAvailPhysLabel = "空き物理ﾒﾓﾘ";
inline constexpr std::string_view kKilobytes = " KB";
inline constexpr std::string_view kResourceLibraryMissing = "        rsrc32.dllが見つかりません";

inline constexpr std::string_view kUpCheckNotInstalled = "更新風鐸がインストールされていないのでソフトの情報が書き込めません";
inline constexpr std::string_view kUpCheckNoMailAddress = "メールアドレスが指定されていません";
inline constexpr std::string_view kUpCheckNoAuthor = "開発者名が指定されていません";
inline constexpr std::string_view kUpCheckNoInfoUrl = "アップデート情報ファイルのアドレスが指定されていません";
inline constexpr std::string_view kUpCheckNoName =
    "App.Productname からソフト名が取得できません。Distinctnameを指定してください";
inline constexpr std::string_view kUpCheckNegativeIcon = "IconIndex には負の値は設定できません";
inline constexpr std::string_view kUpCheckRegistryError = "レジストリに原因不明のエラーが発生しアクセスできません";
inline constexpr std::string_view kNewerVersionExists = "最新バージョンが存在します";
// Who we are to the update checker.
inline constexpr std::string_view kDeveloperMail = "support@tavimenu2.example";
inline constexpr std::string_view kDeveloperName = "TaviMenu2 開発チーム";
inline constexpr std::string_view kDeveloperHost = "tavimenu2.example";
inline constexpr std::string_view kUpdateInfoUrl = "https://tavimenu2.example/update/TaviMenu2.txt";

// A save that failed; the program's folder follows.
inline constexpr std::string_view kSaveFailed =
    "変更を保存できませんでした。\n\n"
    "ファイルに書き込めません (読み取り専用のフォルダー、ディスクの空き不足、ほかのプログラムが使用中など)。\n"
    "前に保存した内容はそのまま残っています。書き込めるようになると、次の保存で今の内容が保存されます。\n\n"
    "保存先: ";
// A file of the program's that exists but could not be read; its path goes
// between the two halves. Told once per file.
inline constexpr std::string_view kFileUnreadableBefore = "次のファイルを読み込めませんでした。\n\n";
inline constexpr std::string_view kFileUnreadableAfter =
    "\n\nほかのプログラムが使用中か、読み取りが許可されていないか、ファイルが大きすぎます。\n"
    "このファイルは変更せず、そのまま残します。読み込めるようになると、次の保存の前か「再表示」(F5) で読み直します。";
// A change that would have written over a file not read; the files follow.
inline constexpr std::string_view kSaveRefusedUnread =
    "変更を保存できませんでした。\n\n"
    "次のファイルを読み込めていないため、上書きしません。変更は行っていません。\n";
// A file that could not be read reads now: the bar shows it, and the change
// asked for was not made, as it was chosen on the list without the file.
inline constexpr std::string_view kListReadAgain =
    "読み込めなかった一覧を読み込めるようになったため、読み直しました。\n\n"
    "今の操作は行っていません。一覧を確かめてから、もう一度操作してください。";
// The shell allows one auto-hidden bar an edge, and another bar has this one's.
inline constexpr std::string_view kAutoHideTaken =
    "この画面の端には、ほかのバーが「自動的に隠す」で表示されています。\n\n"
    "画面の端ごとに自動的に隠れるバーは一つだけのため、このバーは隠さずに表示します。";
// A copy of the list that could not be kept in the backup folder; the folder follows.
inline constexpr std::string_view kBackupFailed =
    "変更前の一覧をバックアップできませんでした。\n\n"
    "保存はバックアップなしで続けます。フォルダーに書き込めるようになると、次の保存からまたバックアップを残します。\n\n"
    "バックアップ先: ";

// The global key of the settings ("HotKey") could not be registered; its
// name (or the value read) goes between the two halves.
inline constexpr std::string_view kHotKeyBefore = "ホットキー「";
inline constexpr std::string_view kHotKeyHeldAfter =
    "」はほかのプログラムが使用しているため登録できませんでした。\n"
    "設定はそのまま残し、次の起動時にもう一度登録を試みます。";
inline constexpr std::string_view kHotKeyRefusedAfter =
    "」はシステムが受け付けなかったため登録できませんでした。\n"
    "別のキーの組み合わせを設定してください。";
inline constexpr std::string_view kHotKeyInvalidBefore = "TaviLaunch.ini のホットキーの値「";
inline constexpr std::string_view kHotKeyInvalidAfter =
    "」はキーの組み合わせではないため、ホットキーは登録していません。";

// The import of shortcuts from a folder, from the tray menu.
inline constexpr std::string_view kMenuImport = "ｼｮｰﾄｶｯﾄの取り込み(&J)...";
inline constexpr std::string_view kImportCaption = "ｼｮｰﾄｶｯﾄの取り込み";
inline constexpr std::string_view kImportChooseFolder = "取り込むショートカットのあるフォルダーを選んでください。";
inline constexpr std::string_view kImportBrowse = "参照(&B)...";
inline constexpr std::string_view kImportBrowsePrompt = "ショートカットを取り込むフォルダーを選んでください。";
// A folder without shortcuts; the folder follows.
inline constexpr std::string_view kImportNoShortcuts = "このフォルダーにはショートカット (.lnk) がありません。\n\n";
inline constexpr std::string_view kImportAskEach =
    "ショートカットをそれぞれ別のエントリーとして登録しますか？\n\n"
    "「いいえ」を選ぶと、すべてを一つのグループにまとめて登録します。";
// The count at the end: imported, then skipped, each followed by kImportUnit.
inline constexpr std::string_view kImportDone = "ショートカットの取り込みが終わりました。\n\n取り込んだもの: ";
inline constexpr std::string_view kImportSkipped = "\n取り込まなかったもの: ";
inline constexpr std::string_view kImportUnit = " 個";
// Why shortcuts were skipped, each with its count, after the skipped count.
inline constexpr std::string_view kImportDuplicates = "\n　登録済みと同じ: ";
inline constexpr std::string_view kImportUnusable = "\n　読み取れない・対象のないもの: ";
inline constexpr std::string_view kImportOverLimit = "\n　登録できる数を超えたもの: ";

// A folder entry opened as a menu of its contents.
inline constexpr std::string_view kFolderMenuMore = "その他...";
inline constexpr std::string_view kFolderMenuUnreadable = "(開けません)";
inline constexpr std::string_view kFolderMenuEmpty = "(空)";
inline constexpr std::string_view kFolderMenuNoAnswer = "(応答がありません)";

}  // namespace tavi::text
