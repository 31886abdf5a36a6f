; The Windows installer, made by scripts/package-windows:
;   makensis -DVERSION=x.y.z -DSTAGE=<folder> -DOUTFILE=<setup.exe> installer.nsi
; where the folder holds vorandel.exe, vorandel.ico, README.txt, LICENSE.txt and
; THIRD-PARTY-NOTICES.txt. It installs the program for all users into Program Files with a
; Start-menu shortcut, and registers its uninstaller under Add/Remove Programs. /S installs (and
; uninstalls) silently; /D=<folder>, last on the command line, installs elsewhere.

Unicode true
; A 64-bit installer: the program is 64-bit, and 64-bit Wine cannot run the 32-bit stub.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorandel"

Name "Vorandel"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vorandel"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Vorandel"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Vorandel installer"
VIAddVersionKey "CompanyName" "The Vorandel developers"
VIAddVersionKey "LegalCopyright" "Copyright 2026 The Vorandel developers; MIT licence"

!define MUI_ICON "${STAGE}/vorandel.ico"
!define MUI_UNICON "${STAGE}/vorandel.ico"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Vorandel"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}/vorandel.exe"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
  File "${STAGE}/THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Vorandel.lnk" "$INSTDIR\vorandel.exe" "" "$INSTDIR\vorandel.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vorandel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Vorandel developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorandel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Vorandel.lnk"
  Delete "$INSTDIR\vorandel.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
