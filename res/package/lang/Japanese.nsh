; The setup's Japanese pages and texts, included by TaviMenu2.nsi through the
; list scripts/package.sh makes of this folder.
!insertmacro MUI_LANGUAGE "Japanese"

VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "TaviMenu2"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "たびめにゅ～２ セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "${COPYRIGHT} (MIT License)"

LangString ProductTitle ${LANG_JAPANESE} "たびめにゅ～２"
LangString RunningText ${LANG_JAPANESE} "たびめにゅ～２ を終了できませんでした。終了してから「再試行」を押してください。"
LangString UserDataTitle ${LANG_JAPANESE} "ボタンの一覧と設定"
LangString UserDataSubtitle ${LANG_JAPANESE} "ボタンの一覧と設定は、チェックを入れたときだけ削除します。"
LangString UserDataBox ${LANG_JAPANESE} "ボタンの一覧と設定も削除する (Launch.ini、TaviLaunch.ini、TaviMenu2.INI、backup フォルダー)"
LangString FilesKeptText ${LANG_JAPANESE} "使用中のため削除できなかったファイルがあります。たびめにゅ～２ のフォルダーを確かめてください。"
