; The per-user installer of TaviMenu2, built by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=<folder> -DOUTFILE=<setup.exe>
;            -DLANGUAGES=<languages.nsh> TaviMenu2.nsi
; LANGUAGES includes each language's pages and texts from lang\*.nsh: the
; setup speaks the language of Windows, or English.
; STAGE holds what the portable zip holds. No administrator rights: the
; program goes under the user's own folder and its records under HKCU.
; The user's lists and settings beside the program are never written here
; and are kept by the uninstaller unless the user asks for them to go.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"
!include "WinMessages.nsh"

!ifndef VERSION | STAGE | OUTFILE | ESTIMATED_KB | LANGUAGES
  !error "VERSION, STAGE, OUTFILE, ESTIMATED_KB and LANGUAGES are given by scripts/package.sh"
!endif

!define EXE "TaviMenu2.exe"
!define BAR_CLASS "TaviMenu2"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TaviMenu2"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "TaviMenu2"
; The product's name in the language of the setup ("たびめにゅ～２", "TaviMenu2").
!define TITLE "$(ProductTitle)"
!define SHORTCUT "$SMPROGRAMS\${TITLE}.lnk"

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\TaviMenu2"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${TITLE} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
; The user's lists stay unless a box is ticked; silently they always stay.
UninstPage custom un.UserDataPage un.UserDataLeave
!insertmacro MUI_UNPAGE_INSTFILES

!include "${LANGUAGES}"

; The Start-menu shortcut bears the product's name in the setup's language:
; "たびめにゅ～２" in Japanese, "TaviMenu2" in any other. A setup or an
; uninstaller in one language removes the one an earlier run left in the other.
!macro DELETE_SHORTCUTS
  Delete "$SMPROGRAMS\たびめにゅ～２.lnk"
  Delete "$SMPROGRAMS\TaviMenu2.lnk"
!macroend

Var UserDataBox
Var RemoveUserData

; Ends a running bar the way its own close does (it saves its settings on
; the way out), so that its program file can be replaced or removed.
!macro CLOSE_RUNNING_BAR un
Function ${un}CloseRunningBar
  Push $0
  Push $1
  retry:
    StrCpy $1 0
    FindWindow $0 "${BAR_CLASS}"
    ${If} $0 <> 0
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    ${Do}
      FindWindow $0 "${BAR_CLASS}"
      ${IfThen} $0 = 0 ${|} ${Break} ${|}
      ${If} $1 >= 100
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(RunningText)" /SD IDCANCEL IDRETRY retry
        Abort
      ${EndIf}
      Sleep 100
      IntOp $1 $1 + 1
    ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_BAR ""
!insertmacro CLOSE_RUNNING_BAR "un."

Section "-Program"
  Call CloseRunningBar
  SetOutPath "$INSTDIR"
  File "${STAGE}\${EXE}"
  ; The help of each language: TaviMenu2.html, TaviMenu2.en.html, ...
  File "${STAGE}\TaviMenu2*.html"
  File "${STAGE}\はじめにお読みください.txt"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\THIRD-PARTY-NOTICES.txt"
  ; The icon cache of the build before may hold pictures of old resources.
  Delete "$INSTDIR\TaviMenu2.icons"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  !insertmacro DELETE_SHORTCUTS
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\${EXE}$\",0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "TaviMenu2 developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${ESTIMATED_KB}
SectionEnd

Function un.UserDataPage
  !insertmacro MUI_HEADER_TEXT "$(UserDataTitle)" "$(UserDataSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateCheckbox} 0 0 100% 24u "$(UserDataBox)"
  Pop $UserDataBox
  ${NSD_SetState} $UserDataBox $RemoveUserData
  nsDialogs::Show
FunctionEnd

Function un.UserDataLeave
  ${NSD_GetState} $UserDataBox $RemoveUserData
FunctionEnd

Section "-un.Program"
  Call un.CloseRunningBar
  ; The start-with-Windows value goes only when it starts this copy: a
  ; portable copy elsewhere keeps its own. StrCmp ignores case, as paths do.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$\"$INSTDIR\${EXE}$\""
  ${OrIf} $0 == "$INSTDIR\${EXE}"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  !insertmacro DELETE_SHORTCUTS
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\TaviMenu2*.html"
  Delete "$INSTDIR\はじめにお読みください.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\TaviMenu2.icons"
  Delete "$INSTDIR\TaviMenu2.yomi"
  Delete "$INSTDIR\TaviMenu2.trace"
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section "-un.UserData"
  ${If} $RemoveUserData == ${BST_CHECKED}
    Delete "$INSTDIR\Launch.ini"
    Delete "$INSTDIR\Launch.ini.utf8"
    Delete "$INSTDIR\TaviLaunch.ini"
    Delete "$INSTDIR\TaviMenu2.INI"
    RMDir /r "$INSTDIR\backup"
  ${EndIf}
SectionEnd

Section "-un.Folder"
  ; Gone only when nothing is left in it: the kept lists keep it.
  RMDir "$INSTDIR"
SectionEnd
