; The installer of Kodrin (kodrinsetup.exe), built by scripts/release.sh with
; Debian's NSIS:
;   makensis -DVERSION=1.2.3.0 -DPROGRAM=... -DCLI=... -DHELP=... -DOUTFILE=... kodrin.nsi
; It installs the program, its command-line companion and the help file into
; Program Files, adds a Start-menu shortcut and the uninstall entry, and
; installs over an older version once that one has ended. The uninstaller
; removes what was installed and nothing of the user's: catalogs and the
; data folders stay. "/S" runs either of them silently.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!ifndef VERSION | PROGRAM | CLI | HELP | OUTFILE
  !error "VERSION, PROGRAM, CLI, HELP and OUTFILE must be defined"
!endif

!define NAME "Kodrin"
!define COMPANY "Fenwold"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kodrin"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${NAME} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${COMPANY}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The running program holds a mutex of its name: files in use cannot be
; replaced. A program that started this setup to update itself is still
; ending while the setup starts, so it is given ten seconds; after that the
; user is asked to close it (silently: the setup ends with status 2).
!macro WaitWhileRunning
  StrCpy $1 0
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${NAME}") p .r0'
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    IntOp $1 $1 + 1
    ${If} $1 > 40
      ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NAME} is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY`
        SetErrorLevel 2
        Quit
      ${EndIf}
      StrCpy $1 0
    ${EndIf}
    Sleep 250
  ${Loop}
!macroend

!include "LogicLib.nsh"
!include "x64.nsh"

Function .onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro WaitWhileRunning
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro WaitWhileRunning
FunctionEnd

Section "Kodrin"
  SetOutPath "$INSTDIR"
  File "/oname=kodrin.exe" "${PROGRAM}"
  File "/oname=kodrin-cli.exe" "${CLI}"
  File "/oname=Kodrin.chm" "${HELP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\kodrin.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kodrin.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\kodrin.exe"
  Delete "$INSTDIR\kodrin-cli.exe"
  Delete "$INSTDIR\Kodrin.chm"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  ; Only when nothing of the user's was put there.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
