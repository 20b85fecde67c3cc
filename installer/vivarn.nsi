; The setup program: puts vivarn.scr into the system folder, makes it the
; current user's screen saver, records itself in Programs and Features, and
; can remove all of that again. Built by the Windows build:
;   makensis -DVERSION=2.0.0.0 -DSCR=<vivarn.scr> -DICON=<vivarn.ico>
;            -DOUTFILE=<vivarn-setup.exe> installer/vivarn.nsi
; /S installs or uninstalls silently (no settings opened, settings kept).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifndef VERSION | SCR | ICON | OUTFILE
  !error "VERSION, SCR, ICON and OUTFILE are defined by the build"
!endif

!define PRODUCT "Vivarn Screen Saver 2"
!define PUBLISHER "Vivarn"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_KEY "SOFTWARE\${PRODUCT}"
; SystemParametersInfo: SPI_SETSCREENSAVEACTIVE, written to the profile and
; broadcast, so an open Screen Saver Settings dialog and the system follow.
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SAVE_AND_SEND 3

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The saver itself lives in the system folder, where the Screen Saver
; Settings dialog looks; the uninstaller needs a folder of its own.
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettings)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString OpenSettings ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenSettings ${LANG_RUSSIAN} "Открыть параметры заставки"
LangString NeedAdmin ${LANG_ENGLISH} "${PRODUCT} is installed into the Windows system folder, which needs administrator rights. Run the setup again as an administrator. Nothing was changed."
LangString NeedAdmin ${LANG_RUSSIAN} "${PRODUCT} устанавливается в системную папку Windows, для этого нужны права администратора. Запустите установку от имени администратора. Ничего не изменено."
LangString InUse ${LANG_ENGLISH} "The screen saver is in use (a preview may be running). It will be replaced when Windows restarts."
LangString InUse ${LANG_RUSSIAN} "Заставка сейчас используется (возможно, открыт предварительный просмотр). Она будет заменена после перезапуска Windows."
LangString RemoveSettings ${LANG_ENGLISH} "Remove my settings and palettes"
LangString RemoveSettings ${LANG_RUSSIAN} "Удалить мои настройки и палитры"
LangString RemoveSettingsDesc ${LANG_ENGLISH} "Also delete the saver's settings and named palettes of the current user."
LangString RemoveSettingsDesc ${LANG_RUSSIAN} "Также удалить настройки и именованные палитры заставки текущего пользователя."

!macro RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RequireAdmin
FunctionEnd

Function un.onInit
  !insertmacro RequireAdmin
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "-Install"
  SetOutPath "$SYSDIR"
  ; A running preview holds the old file: the new one then waits beside it
  ; and takes its place at the next restart, rather than half-installing.
  File "/oname=vivarn.scr.new" "${SCR}"
  ${GetSize} "$SYSDIR" "/M=vivarn.scr.new /S=0K /G=0" $R0 $R1 $R2
  Delete "$SYSDIR\vivarn.scr"
  ${If} ${FileExists} "$SYSDIR\vivarn.scr"
    Rename /REBOOTOK "$SYSDIR\vivarn.scr.new" "$SYSDIR\vivarn.scr"
    MessageBox MB_ICONINFORMATION "$(InUse)" /SD IDOK
    DetailPrint "$(InUse)"
  ${Else}
    Rename "$SYSDIR\vivarn.scr.new" "$SYSDIR\vivarn.scr"
  ${EndIf}

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\vivarn.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KB, as Programs and Features shows it.
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $R0

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\vivarn.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SAVE_AND_SEND})'
SectionEnd

Section "-un.Uninstall"
  Delete /REBOOTOK "$SYSDIR\vivarn.scr"
  Delete "$SYSDIR\vivarn.scr.new"
  ; Only while it still names our file: the user may have chosen another.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\vivarn.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_SAVE_AND_SEND})'
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.$(RemoveSettings)" RemoveSettingsSection
  DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${RemoveSettingsSection} "$(RemoveSettingsDesc)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
