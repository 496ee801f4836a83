; The installer: for the current user, without elevation, into a folder the
; user can write (the program keeps its settings and data beside itself).
; scripts/package passes VERSION, EXE, README, LICENSE and OUTFILE.
Unicode true
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyline"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Tallyline ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tallyline"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Tallyline"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Tallyline ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "MIT License"

; The finish page, and so the offer to start the program, never shows in a
; silent install.
!define MUI_FINISHPAGE_RUN "$INSTDIR\tallyline.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tallyline now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Tallyline" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=tallyline.exe" "${EXE}"
  File "/oname=README.md" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tallyline.lnk" "$INSTDIR\tallyline.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tallyline"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tallyline.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start Tallyline when I log on" SecRun
  WriteRegStr HKCU "${RUN_KEY}" "Tallyline" '"$INSTDIR\tallyline.exe"'
SectionEnd

; What the program wrote stays unless the user asks otherwise.
Section /o "un.Remove my settings, data and connection log" SecUnData
  Delete "$INSTDIR\settings.ini"
  RMDir /r "$INSTDIR\data"
  Delete "$INSTDIR\Connection.log"
SectionEnd

Section "-un.Tallyline"
  Delete "$INSTDIR\tallyline.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Tallyline.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tallyline"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  RMDir "$INSTDIR"  ; only when nothing is left in it
SectionEnd
