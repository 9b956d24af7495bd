; The Quillmark setup: installs the program, its busy clip, its help and the read-me
; into a folder of the user's choice, adds a Start-menu folder and an uninstaller that
; removes exactly what the setup and the help viewer put there.
;   makensis -DARCH=x86|x64 -DSRC=<folder with the files> -DOUT=<setup.exe> Quillmark.nsi
; x86 is the 32-bit setup (ANSI, for Windows 95 and later), x64 the 64-bit one.

!ifndef ARCH | SRC | OUT
  !error "ARCH, SRC and OUT must be defined"
!endif

!if ${ARCH} == x64
  Target amd64-unicode
  InstallDir "$PROGRAMFILES64\Quillmark"
!else
  Target x86-ansi
  InstallDir "$PROGRAMFILES\Quillmark"
!endif

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmark"
; WinHelp looks up a help file named without a folder under this key.
!define HELP_KEY "Software\Microsoft\Windows\Help"

Name "Quillmark"
OutFile "${OUT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${SRC}\Quillmark.exe"
  File "${SRC}\s.dll"
  File "${SRC}\Kelvrane.exe"
  File "${SRC}\Pelmora.hlp"
  File "${SRC}\Pelmora.cnt"
  File "${SRC}\LIESMICH.TXT"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The shortcut starts the program in its folder, where the viewer finds the help.
  CreateDirectory "$SMPROGRAMS\Quillmark"
  CreateShortcut "$SMPROGRAMS\Quillmark\Quillmark.lnk" "$INSTDIR\Quillmark.exe"
  CreateShortcut "$SMPROGRAMS\Quillmark\Quillmark-Hilfe.lnk" "$INSTDIR\Pelmora.hlp"
  CreateShortcut "$SMPROGRAMS\Quillmark\Liesmich.lnk" "$INSTDIR\LIESMICH.TXT"
  CreateShortcut "$SMPROGRAMS\Quillmark\Quillmark entfernen.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${HELP_KEY}" "Pelmora.hlp" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Quillmark"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Quillmark.exe"
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section Uninstall
  SetShellVarContext all
  Delete "$INSTDIR\Quillmark.exe"
  Delete "$INSTDIR\s.dll"
  Delete "$INSTDIR\Kelvrane.exe"
  Delete "$INSTDIR\Pelmora.hlp"
  Delete "$INSTDIR\Pelmora.cnt"
  Delete "$INSTDIR\LIESMICH.TXT"
  ; Written by the help viewer beside the help file: its index and full-text search.
  Delete "$INSTDIR\Pelmora.gid"
  Delete "$INSTDIR\Pelmora.fts"
  Delete "$INSTDIR\Pelmora.ftg"
  Delete "$INSTDIR\Uninstall.exe"
  ; Without /r: a folder that still holds the user's own files stays.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Quillmark\Quillmark.lnk"
  Delete "$SMPROGRAMS\Quillmark\Quillmark-Hilfe.lnk"
  Delete "$SMPROGRAMS\Quillmark\Liesmich.lnk"
  Delete "$SMPROGRAMS\Quillmark\Quillmark entfernen.lnk"
  RMDir "$SMPROGRAMS\Quillmark"

  DeleteRegValue HKLM "${HELP_KEY}" "Pelmora.hlp"
  ; Shared with other programs' help: removed only when the setup made it and nothing else is in it.
  DeleteRegKey /ifempty HKLM "${HELP_KEY}"
  DeleteRegKey HKLM "${UNINST_KEY}"
  ; The settings under HKEY_CURRENT_USER\Software\ZUNT\Pelmora and the backups are
  ; the user's own and stay.
SectionEnd
