; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer of QNCF: the programs and everything they load, a Start menu entry, the
; .QNC file type, and an uninstaller. makensis is given VERSION, DEPLOY (the folder
; scripts/windows-deploy filled), FILES (the uninstaller's list of them, one Delete each),
; ICON, LICENSE and OUTFILE.
; A 64-bit installer for the 64-bit programs (and Wine without its 32-bit half runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

Name "QNCF ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\QNCF"
InstallDirRegKey HKLM "Software\QNCF" "InstallDir"
RequestExecutionLevel admin

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QNCF"
!define FILE_TYPE "QNCF.Configuration"

Section "QNCF"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${DEPLOY}\*.*"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\QNCF"
  CreateShortcut "$SMPROGRAMS\QNCF\QNCF.lnk" "$INSTDIR\qncf.exe"
  CreateShortcut "$SMPROGRAMS\QNCF\Uninstall QNCF.lnk" "$INSTDIR\uninstall.exe"

  ; A .QNC file shows as a QNCF configuration, with the program's icon, and opens in qncf
  ; (which asks which model to open it as).
  WriteRegStr HKLM "Software\Classes\.QNC" "" "${FILE_TYPE}"
  WriteRegStr HKLM "Software\Classes\${FILE_TYPE}" "" "QNCF configuration"
  WriteRegStr HKLM "Software\Classes\${FILE_TYPE}\DefaultIcon" "" "$INSTDIR\qncf.exe,0"
  WriteRegStr HKLM "Software\Classes\${FILE_TYPE}\shell\open\command" "" '"$INSTDIR\qncf.exe" "%1"'

  WriteRegStr HKLM "Software\QNCF" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "QNCF"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The QNCF developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qncf.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\QNCF\QNCF.lnk"
  Delete "$SMPROGRAMS\QNCF\Uninstall QNCF.lnk"
  RMDir "$SMPROGRAMS\QNCF"

  ; The file type goes only while it is still ours.
  ReadRegStr $0 HKLM "Software\Classes\.QNC" ""
  StrCmp $0 "${FILE_TYPE}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.QNC"
  DeleteRegKey HKLM "Software\Classes\${FILE_TYPE}"

  ; What the installer put there, by name: nothing else in the folder is touched, and a
  ; folder that still holds something stays.
  !include "${FILES}"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\QNCF"
SectionEnd
