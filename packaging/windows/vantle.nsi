; Vantle's installer: makensis -DVERSION=3.6.0.0 -DSTAGE=<folder> -DOUTFILE=<setup.exe>
; -DICON=<vantle.ico> vantle.nsi, where STAGE holds the program folder as the zip has it and
; STAGE/../uninstall.nsh the lines that remove exactly those files (make_zip.cmake writes
; both). It installs for every user under Program Files, adds a Start-menu entry and an entry
; in Add/Remove Programs. The learner's own folder, %APPDATA%\Vantle, is never touched.
; A 64-bit installer for a 64-bit program (and wine64 runs it without a 32-bit wine).
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
Name "Vantle"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\Vantle"
RequestExecutionLevel admin
ManifestDPIAware true
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "Vantle"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "Vantle Setup"
VIAddVersionKey /LANG=2052 "CompanyName" "The Vantle developers"
VIAddVersionKey /LANG=2052 "LegalCopyright" "2026 The Vantle developers, GPL-3.0-or-later"

!include "MUI2.nsh"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantle"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Vantle"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Vantle.lnk" "$INSTDIR\Vantle.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vantle"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Vantle developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vantle.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: a file the learner added to the folder stays, and
; so does the folder holding it.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Vantle.lnk"
  !include /CHARSET=UTF8 "${STAGE}/../uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
