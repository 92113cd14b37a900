; The Windows installer, made by scripts/build_windows.sh with makensis:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder of the zip's files> -DFILES=<lists> -DOUTFILE=<setup.exe>
;            -DICON=<tarnwick.ico>
; Installs under Program Files with a Start-menu shortcut and an uninstaller that Windows lists
; among its programs; /S installs and uninstalls silently. The uninstaller removes exactly the
; files the installer put there, and then the folders left empty.

; A 64-bit installer, for a 64-bit game: it sees Program Files and the registry as the game does.
Target amd64-unicode

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick"

Name "Tarnwick ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tarnwick"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Tarnwick"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Tarnwick installer"
VIAddVersionKey "CompanyName" "The Tarnwick developers"
VIAddVersionKey "LegalCopyright" "2026 The Tarnwick developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tarnwick"
  !include "${FILES}\install.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tarnwick.lnk" "$INSTDIR\tarnwick.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tarnwick"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Tarnwick developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarnwick.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Tarnwick.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !include "${FILES}\uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
