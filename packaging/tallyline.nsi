; The installer: for the current user, without elevation, into a folder the
; user can write (the program keeps its settings and data beside itself).
; scripts/package passes VERSION, EXE, CLI, README, LICENSE, ICON and OUTFILE.
Unicode true
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyline"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; WM_COPYDATA's dwData that asks the main window (class TFrmMain) of the copy
; running from the folder sent along to end.
!define EXIT_REQUEST 0x54584954
!define EXIT_WAIT_S 20
!define SYNCHRONIZE 0x00100000  ; the right to wait for a process

Name "Tallyline ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tallyline"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText " "
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Tallyline"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Tallyline ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "MIT License"

Var Closed  ; how many running copies of $INSTDIR were ended

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup will install Tallyline ${VERSION} in the following folder. Tallyline keeps its settings and data beside itself: choose a folder you can write to, never Program Files. Click Next to continue."
!define MUI_COMPONENTSPAGE_SMALLDESC
; The finish page, and so the offer to start the program, never shows in a
; silent install.
!define MUI_FINISHPAGE_RUN "$INSTDIR\tallyline.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tallyline now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.ComponentsPageShow
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Stops the install or the uninstall: said in a box, and by exit code 2
; when silent.
!macro Fail TEXT
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

; Puts one file into $INSTDIR. A silent install answers "Ignore" when the
; file cannot be written: an old program would stay under the new version.
!macro InstallFile NAME SOURCE
  ClearErrors
  File "/oname=${NAME}" "${SOURCE}"
  ${If} ${Errors}
    !insertmacro Fail "Setup could not replace ${NAME} in $INSTDIR.$\r$\nClose every program that uses it, then try again."
  ${EndIf}
!macroend

; Asks every running Tallyline to end if it runs from $INSTDIR, and waits for
; each one that does: it writes what it counted as it ends, and frees its
; executable. A copy of another folder answers FALSE and runs on.
!macro CloseRunningCopies UN
Function ${UN}CloseRunningCopies
  StrCpy $Closed 0
  ; The folder as the program compares it: ANSI, with its NUL.
  System::Call '*(&m${NSIS_MAX_STRLEN} "$INSTDIR") p .r1'
  System::Call 'kernel32::lstrlenA(p r1) i .r2'
  IntOp $2 $2 + 1
  System::Call '*(p ${EXIT_REQUEST}, i r2, p r1) p .r3'  ; COPYDATASTRUCT
  StrCpy $0 0
  ${Do}
    FindWindow $0 "TFrmMain" "" 0 $0
    ${IfThen} $0 = 0 ${|} ${Break} ${|}
    ; Opened before it is asked, so that a copy which ends at once is still
    ; waited for.
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r4)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r4) p .r5'
    SendMessage $0 ${WM_COPYDATA} $HWNDPARENT $3 $6 /TIMEOUT=5000
    ${If} $6 = 1
      System::Call 'kernel32::WaitForSingleObject(p r5, i ${EXIT_WAIT_S}000) i .r6'
      ${If} $6 <> 0
        !insertmacro Fail "Tallyline, running from $INSTDIR, did not end within ${EXIT_WAIT_S} seconds.$\r$\nClose it, then try again."
      ${EndIf}
      IntOp $Closed $Closed + 1
      StrCpy $0 0  ; its window is gone: search again from the first
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r5)'
  ${Loop}
  System::Free $3
  System::Free $1
FunctionEnd
!macroend
!insertmacro CloseRunningCopies ""
!insertmacro CloseRunningCopies "un."

Section "Tallyline" SecProgram
  SectionIn RO
  Call CloseRunningCopies
  SetOutPath "$INSTDIR"
  !insertmacro InstallFile tallyline.exe "${EXE}"
  !insertmacro InstallFile tallyline-cli.exe "${CLI}"
  !insertmacro InstallFile README.txt "${README}"
  !insertmacro InstallFile LICENSE.txt "${LICENSE}"
  ; For an administrator's Prometheus and Grafana.
  SetOutPath "$INSTDIR\prometheus"
  !insertmacro InstallFile tallyline.rules.yml "${RULES}"
  !insertmacro InstallFile tallyline-dashboard.json "${DASHBOARD}"
  SetOutPath "$INSTDIR"
  Delete "$INSTDIR\README.md"  ; the developers' README, shipped before README.txt
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tallyline.lnk" "$INSTDIR\tallyline.exe"
  ; Written again below when the box stays ticked.
  DeleteRegValue HKCU "${RUN_KEY}" "Tallyline"
  SectionGetSize ${SecProgram} $0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tallyline"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tallyline"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tallyline.exe"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; The copy this install ended comes back from the new files, as the user
  ; had it, a silent update's too: a meter left stopped counts nothing.
  ${If} $Closed > 0
    Exec '"$INSTDIR\tallyline.exe"'
  ${EndIf}
SectionEnd

Section "Start at logon" SecRun
  WriteRegStr HKCU "${RUN_KEY}" "Tallyline" '"$INSTDIR\tallyline.exe"'
SectionEnd

; A program already started again needs no second start.
Function FinishPageShow
  ${If} $Closed > 0
    ${NSD_Uncheck} $mui.FinishPage.Run
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

; An uninstall needs no space: "Space required: 0.0 KB" only puzzles.
Function un.ComponentsPageShow
  ShowWindow $mui.ComponentsPage.SpaceRequired ${SW_HIDE}
FunctionEnd

; First, so that the running program has ended, and written its files,
; before they may go.
Section "un.Tallyline" SecUnProgram
  SectionIn RO
  Call un.CloseRunningCopies
  ClearErrors
  Delete "$INSTDIR\tallyline.exe"
  ${If} ${Errors}
    !insertmacro Fail "Tallyline could not be removed from $INSTDIR.$\r$\nClose it, then try again."
  ${EndIf}
  Delete "$INSTDIR\tallyline-cli.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\prometheus\tallyline.rules.yml"
  Delete "$INSTDIR\prometheus\tallyline-dashboard.json"
  RMDir "$INSTDIR\prometheus"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Tallyline.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tallyline"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; What the program wrote stays unless the user asks otherwise.
Section /o "un.Settings and data" SecUnData
  Delete "$INSTDIR\settings.ini"
  RMDir /r "$INSTDIR\data"
  Delete "$INSTDIR\Connection.log"
SectionEnd

Section "-un.Folder"
  RMDir "$INSTDIR"  ; only when nothing is left in it
SectionEnd

; /REMOVEDATA ticks the data box, for a silent uninstall.
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecUnData} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The program, its command-line tool tallyline-cli.exe, the README and a Start menu shortcut."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecRun} "Starts Tallyline each time you log on to Windows, so that it counts from the start."
!insertmacro MUI_FUNCTION_DESCRIPTION_END
!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnProgram} "The program, its command-line tool, the Start menu shortcut and the start at logon."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnData} "Your settings.ini, the month files in data\ and Connection.log. Unticked, they stay."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
