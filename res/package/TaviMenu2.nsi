; The per-user installer of TaviMenu2, built by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=<folder> -DOUTFILE=<setup.exe>
;            -DESTIMATED_KB=n -DPUBLISHER=... -DCOPYRIGHT=... -DICON=<.ico>
;            -DLANGUAGES=<languages.nsh> TaviMenu2.nsi
; LANGUAGES includes each language's pages and texts from lang\*.nsh: the
; setup speaks the language of Windows, or English.
; STAGE holds what the portable zip holds. No administrator rights: the
; program goes under the user's own folder and its records under HKCU.
; The user's lists and settings beside the program are never written here
; and are kept by the uninstaller unless the user asks for them to go.
; Only the bar running from this folder is closed (and started again after
; an upgrade): a copy of the program in another folder is never touched.
; Exit codes: 0 done, 1 cancelled by the user, 2 failed (nothing changed
; when the bar could not be closed).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"
!include "WinMessages.nsh"
!include "FileFunc.nsh"

!ifndef VERSION | STAGE | OUTFILE | ESTIMATED_KB | PUBLISHER | COPYRIGHT | ICON | LANGUAGES
  !error "VERSION, STAGE, OUTFILE, ESTIMATED_KB, PUBLISHER, COPYRIGHT, ICON and LANGUAGES are given by scripts/package.sh"
!endif

!define EXE "TaviMenu2.exe"
!define BAR_CLASS "TaviMenu2"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TaviMenu2"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "TaviMenu2"  ; and "TaviMenu2 (2)" ... for the program of another folder
; The product's name in the language of the setup ("たびめにゅ～２", "TaviMenu2").
!define TITLE "$(ProductTitle)"
!define SHORTCUT "$SMPROGRAMS\${TITLE}.lnk"
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define SYNCHRONIZE 0x00100000
!define SMTO_ABORTIFHUNG 2
!define WAIT_OBJECT_0 0

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\TaviMenu2"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${TITLE} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartBarUnlessRunning
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
Var OwnBar        ; the window of the bar running from this folder, or 0
Var OwnBarProcess ; its process id
Var ClosedBar     ; 1 once the setup closed this folder's bar, which it starts again
Var FilesKept     ; 1 when the uninstaller could not remove a program file

; The bar whose program is this folder's: a window of the bar's class whose
; process runs "$INSTDIR\TaviMenu2.exe", paths compared by their long forms
; and without regard to case. A bar of another folder is not this one.
!macro FIND_OWN_BAR un
Function ${un}FindOwnBar
  Push $0  ; a window of the bar's class
  Push $1  ; its process id
  Push $2
  Push $3  ; this folder's program
  Push $4  ; the window's program
  Push $5
  StrCpy $OwnBar 0
  StrCpy $OwnBarProcess 0
  StrCpy $3 "$INSTDIR\${EXE}"
  System::Call 'kernel32::GetLongPathNameW(w r3, w .r4, i ${NSIS_MAX_STRLEN}) i .r5'
  ${IfThen} $5 <> 0 ${|} StrCpy $3 $4 ${|}
  StrCpy $0 0
  ${Do}
    FindWindow $0 "${BAR_CLASS}" "" 0 $0
    ${IfThen} $0 = 0 ${|} ${Break} ${|}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r1) p .r2'
    ${If} $2 P<> 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r4, *i ${NSIS_MAX_STRLEN}) i .r5'
      System::Call 'kernel32::CloseHandle(p r2)'
      ${If} $5 <> 0
        System::Call 'kernel32::GetLongPathNameW(w r4, w .r2, i ${NSIS_MAX_STRLEN}) i .r5'
        ${IfThen} $5 <> 0 ${|} StrCpy $4 $2 ${|}
        ${If} $4 == $3
          StrCpy $OwnBar $0
          StrCpy $OwnBarProcess $1
          ${Break}
        ${EndIf}
      ${EndIf}
    ${EndIf}
  ${Loop}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro FIND_OWN_BAR ""
!insertmacro FIND_OWN_BAR "un."

; Ends this folder's bar the way its own close does (it saves its settings on
; the way out), so that its program file can be replaced or removed, and
; waits for its process to end. A bar that does not end stops the setup
; before anything changed: the user may close it and retry; silently, the
; setup ends with exit code 2.
!macro CLOSE_OWN_BAR un
Function ${un}CloseOwnBar
  Push $0
  Push $1
  retry:
    Call ${un}FindOwnBar
    ${IfThen} $OwnBar = 0 ${|} Goto done ${|}
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i $OwnBarProcess) p .r0'
    System::Call 'user32::SendMessageTimeoutW(p $OwnBar, i ${WM_CLOSE}, p 0, p 0, i ${SMTO_ABORTIFHUNG}, i 5000, *p .r1) p'
    ${If} $0 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r0, i 10000) i .r1'
      System::Call 'kernel32::CloseHandle(p r0)'
    ${Else}
      StrCpy $1 1
    ${EndIf}
    ${If} $1 = ${WAIT_OBJECT_0}
      StrCpy $ClosedBar 1
      Goto done
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(RunningText)" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort
  done:
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_OWN_BAR ""
!insertmacro CLOSE_OWN_BAR "un."

; The finish page's box: a bar this setup started again is not started twice.
Function StartBarUnlessRunning
  Call FindOwnBar
  ${If} $OwnBar = 0
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
FunctionEnd

Section "-Program"
  Call CloseOwnBar
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
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ; Run in place (_?=), so that whoever started it waits for the real work
  ; and sees its exit code; the uninstaller moves itself away at the end.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" _?=$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S _?=$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${ESTIMATED_KB}
  ; An upgrade puts back the bar it closed.
  ${If} $ClosedBar = 1
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
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

; The start-with-Windows values of this folder's program go: "TaviMenu2"
; or "TaviMenu2 (n)" naming it, quoted or not, with arguments or without. A
; value naming another folder's program keeps its place.
Function un.RemoveOwnRunValues
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  ${Do}
    EnumRegValue $1 HKCU "${RUN_KEY}" $0
    ${IfThen} $1 == "" ${|} ${Break} ${|}
    IntOp $0 $0 + 1
    StrCpy $2 $1 11
    ${If} $1 == "${RUN_VALUE}"
    ${OrIf} $2 == "${RUN_VALUE} ("
      ReadRegStr $2 HKCU "${RUN_KEY}" $1
      StrCpy $3 "$\"$INSTDIR\${EXE}$\""
      Push $2
      Push $3
      Call un.StartsWithCommand
      Pop $3
      ${IfNot} $3 = 1
        Push $2
        Push "$INSTDIR\${EXE}"
        Call un.StartsWithCommand
        Pop $3
      ${EndIf}
      ${If} $3 = 1
        DeleteRegValue HKCU "${RUN_KEY}" $1
        StrCpy $0 0  ; the values after it moved up
      ${EndIf}
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; 1 when the command (below the top) is the program (on the top), alone or
; followed by a blank and its arguments; otherwise 0.
Function un.StartsWithCommand
  Exch $1  ; the program
  Exch
  Exch $0  ; the command
  Push $2
  Push $3
  StrLen $2 $1
  StrCpy $3 $0 $2
  ${If} $3 == $1
    StrCpy $3 $0 1 $2
    ${If} $3 == ""
    ${OrIf} $3 == " "
      StrCpy $2 1
    ${Else}
      StrCpy $2 0
    ${EndIf}
  ${Else}
    StrCpy $2 0
  ${EndIf}
  StrCpy $0 $2
  Pop $3
  Pop $2
  ; The callers' $0 and $1 back, the answer on the stack.
  Exch $0
  Exch
  Pop $1
FunctionEnd

Section "-un.Program"
  Call un.CloseOwnBar
  Call un.RemoveOwnRunValues
  ClearErrors
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\TaviMenu2*.html"
  Delete "$INSTDIR\はじめにお読みください.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\TaviMenu2.icons"
  Delete "$INSTDIR\TaviMenu2.yomi"
  Delete "$INSTDIR\TaviMenu2.trace"
  ${If} ${Errors}
    ; Held by another program: the record and the uninstaller stay, so that
    ; the user can try again.
    StrCpy $FilesKept 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(FilesKeptText)" /SD IDOK
    SetErrorLevel 2
  ${Else}
    !insertmacro DELETE_SHORTCUTS
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd

Section "-un.UserData"
  ${If} $RemoveUserData == ${BST_CHECKED}
    ClearErrors
    Delete "$INSTDIR\Launch.ini"
    Delete "$INSTDIR\Launch.ini.utf8"
    Delete "$INSTDIR\TaviLaunch.ini"
    Delete "$INSTDIR\TaviMenu2.INI"
    ${If} ${FileExists} "$INSTDIR\backup\*.*"
      RMDir /r "$INSTDIR\backup"
    ${EndIf}
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONEXCLAMATION "$(FilesKeptText)" /SD IDOK
      SetErrorLevel 2
    ${EndIf}
  ${EndIf}
SectionEnd

Section "-un.Folder"
  ${IfThen} $FilesKept = 1 ${|} Return ${|}
  SetOutPath $TEMP
  ${If} $EXEDIR == $INSTDIR
    ; Run in place (_?=), the uninstaller cannot remove its own file while it
    ; runs: started without _?=, it copies itself to the temporary folder,
    ; and that copy removes it once this one has ended.
    Exec '"$EXEPATH" /S /TIDY'
  ${Else}
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Gone only when nothing is left in it: the kept lists keep it.
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd

; The copy started by an uninstaller that ran in place: its file and then the
; folder go, as soon as that one has let go of them (10 s at most).
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/TIDY" $1
  ${IfThen} ${Errors} ${|} Return ${|}
  StrCpy $1 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${UNINSTALLER}"
    ${IfNotThen} ${Errors} ${|} ${Break} ${|}
    ${IfThen} $1 >= 100 ${|} ${Break} ${|}
    Sleep 100
    IntOp $1 $1 + 1
  ${Loop}
  SetOutPath $TEMP
  RMDir "$INSTDIR"
  Quit
FunctionEnd
