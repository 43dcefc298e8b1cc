; The setup's English pages and texts, included by TaviMenu2.nsi through the
; list scripts/package.sh makes of this folder. English comes first there: a
; Windows whose language the setup does not speak gets it.
!insertmacro MUI_LANGUAGE "English"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "TaviMenu2"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "TaviMenu2 Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT} (MIT License)"

LangString ProductTitle ${LANG_ENGLISH} "TaviMenu2"
LangString RunningText ${LANG_ENGLISH} "TaviMenu2 could not be closed. Close it, then press Retry."
LangString UserDataTitle ${LANG_ENGLISH} "The list of buttons and the settings"
LangString UserDataSubtitle ${LANG_ENGLISH} "The list of buttons and the settings are removed only when the box is ticked."
LangString UserDataBox ${LANG_ENGLISH} "Remove the list of buttons and the settings too (Launch.ini, TaviLaunch.ini, TaviMenu2.INI, the backup folder)"
LangString FilesKeptText ${LANG_ENGLISH} "Some files could not be removed because they are in use. Check the TaviMenu2 folder."
