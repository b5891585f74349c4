; The tarvodisp installer for Windows, built by tools/windows-package.sh with
; makensis -DVERSION=... -DSOURCE=<the folder to install> -DFILES=<its list>
; -DOUTFILE=<the installer>. The uninstaller removes only what the installer
; put in place: message files and copies are kept in the user's folders and
; the application data folder, which it leaves alone.
; A 64-bit installer for a 64-bit program (and for Wine without its 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

Name "tarvodisp ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\tarvodisp"
InstallDirRegKey HKLM "Software\tarvodisp" "InstallDir"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\tarvodisp"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvodisp.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section "tarvodisp"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\Disinstalla.exe"
    CreateDirectory "$SMPROGRAMS\tarvodisp"
    CreateShortcut "$SMPROGRAMS\tarvodisp\tarvodisp.lnk" "$INSTDIR\tarvodisp.exe"
    CreateShortcut "$SMPROGRAMS\tarvodisp\Leggimi.lnk" "$INSTDIR\LEGGIMI.txt"
    CreateShortcut "$SMPROGRAMS\tarvodisp\Disinstalla tarvodisp.lnk" "$INSTDIR\Disinstalla.exe"
    WriteRegStr HKLM "Software\tarvodisp" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "tarvodisp ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvodisp.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Disinstalla.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Disinstalla.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    ; One Delete per installed file and one RMDir per folder, deepest first: a
    ; folder that still holds anything of the user's stays.
    !include "${FILES}"
    Delete "$INSTDIR\Disinstalla.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\tarvodisp\tarvodisp.lnk"
    Delete "$SMPROGRAMS\tarvodisp\Leggimi.lnk"
    Delete "$SMPROGRAMS\tarvodisp\Disinstalla tarvodisp.lnk"
    RMDir "$SMPROGRAMS\tarvodisp"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\tarvodisp"
SectionEnd
