; The setup program: puts vivarn.scr into the system folder, makes it the
; current user's screen saver, records itself in Programs and Features, and
; can remove all of that again. Built by the Windows build:
;   makensis -DVERSION=2.0.0.0 -DSCR=<vivarn.scr> -DICON=<vivarn.ico>
;            -DOUTFILE=<vivarn-setup.exe> installer/vivarn.nsi
; /S installs or uninstalls silently (no settings opened, settings kept).
;
; Two accounts take part. A standard user who types an administrator's
; password gets an elevated process that runs as that administrator, so
; everything written under HKCU there, and every window it opens, would land
; in the administrator's profile. The setup therefore starts as the user who
; ran it, starts an elevated copy of itself (/S /MACHINEPART) for what
; needs the machine - the file in the system folder, the Programs entry in
; HKLM - waits for its exit code, and only then, as the user, chooses the
; saver and opens the settings. The uninstaller does the same. The elevated
; copy runs nothing but .onInit and un.onInit and the Machine functions they
; call, and ends there; the installer_elevated_part test reads this file and
; fails when any of them touches the user's profile.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
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
!define SESSION_MANAGER_KEY "SYSTEM\CurrentControlSet\Control\Session Manager"
; SystemParametersInfo: SPI_SETSCREENSAVEACTIVE, written to the profile and
; broadcast, so an open Screen Saver Settings dialog and the system follow.
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SAVE_AND_SEND 3
; The option that makes a copy of the setup the elevated, machine-wide part.
!define MACHINE_OPTION "/MACHINEPART"
; ShellExecuteExW's SHELLEXECUTEINFOW on 64-bit Windows: 112 bytes, hProcess
; last. Every member is spelt out, padding included, so the layout does not
; depend on how the System plug-in aligns.
!define SEE_MASK_NOCLOSEPROCESS 0x40
!define SEI_SIZE 112
!define SEI_MEMBERS "i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p"
; The elevated part's exit codes besides 0; the Windows codes keep their
; meaning, the small ones name the step that failed.
!define EXIT_RESTART 3010     ; ERROR_SUCCESS_REBOOT_REQUIRED: replaced at the restart
!define EXIT_NEED_ADMIN 740   ; ERROR_ELEVATION_REQUIRED
!define EXIT_DECLINED 1223    ; ERROR_CANCELLED: the user said no to the elevation
!define EXIT_WRITE_NEW 2      ; vivarn.scr.new not written: nothing changed
!define EXIT_KEEP_OLD 3       ; no copy of the old file could be made: nothing changed
!define EXIT_SCHEDULE 4       ; the file in use, and its replacement not scheduled
!define EXIT_MOVE_IN 5        ; vivarn.scr.new not moved in: the old file restored
!define EXIT_PROGRAMS 6       ; the uninstaller or the Programs entry not written
!define EXIT_REMOVE 7         ; the file or the Programs entry not removed

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
LangString NeedAdmin ${LANG_ENGLISH} "${PRODUCT} is installed into the Windows system folder, which needs administrator rights, and they were not given. Run the setup again and confirm with an administrator's password. Nothing was changed."
LangString NeedAdmin ${LANG_RUSSIAN} "${PRODUCT} устанавливается в системную папку Windows, для этого нужны права администратора, а они не были предоставлены. Запустите установку снова и подтвердите её паролем администратора. Ничего не изменено."
LangString InUse ${LANG_ENGLISH} "The screen saver is in use (a preview may be running). It will be replaced when Windows restarts."
LangString InUse ${LANG_RUSSIAN} "Заставка сейчас используется (возможно, открыт предварительный просмотр). Она будет заменена после перезапуска Windows."
LangString InstallFailed ${LANG_ENGLISH} "The screen saver could not be put into the system folder (code $R0). A screen saver installed before is kept, and your choice of screen saver was not changed."
LangString InstallFailed ${LANG_RUSSIAN} "Не удалось поместить заставку в системную папку (код $R0). Установленная ранее заставка сохранена, выбор заставки не изменён."
LangString UninstallFailed ${LANG_ENGLISH} "The screen saver could not be removed from the system folder (code $R0). Your choice of screen saver and your settings were not changed."
LangString UninstallFailed ${LANG_RUSSIAN} "Не удалось удалить заставку из системной папки (код $R0). Выбор заставки и настройки не изменены."
LangString ChooseFailed ${LANG_ENGLISH} "The screen saver is installed but could not be made your screen saver. Choose it in the screen saver settings."
LangString ChooseFailed ${LANG_RUSSIAN} "Заставка установлена, но не выбрана текущей заставкой. Выберите её в параметрах заставки."
LangString RemoveSettings ${LANG_ENGLISH} "Remove my settings and palettes"
LangString RemoveSettings ${LANG_RUSSIAN} "Удалить мои настройки и палитры"
LangString RemoveSettingsDesc ${LANG_ENGLISH} "Also delete the saver's settings and named palettes of the current user."
LangString RemoveSettingsDesc ${LANG_RUSSIAN} "Также удалить настройки и именованные палитры заставки текущего пользователя."

; --- the elevated copy: everything here runs as the administrator

; In the elevated copy: refuses to go on without administrator rights (a
; standard user's "runas" with UAC switched off starts the copy unelevated).
!macro MachineRequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    SetErrorLevel ${EXIT_NEED_ADMIN}
    Quit
  ${EndIf}
!macroend

; Ends the elevated copy with the given exit code.
!macro MachineExit CODE
  SetErrorLevel ${CODE}
  Quit
!macroend

; Drops every restart operation a former setup or uninstaller left on
; vivarn.scr or vivarn.scr.new. Left in place, a rename from an earlier
; install, kept after its vivarn.scr.new was deleted, would move the next
; install's file in early, and an uninstaller's pending delete would then
; remove it: the restart would leave no saver at all.
Function MachineDropPendingOperations
  ; The caller's registers are kept on the System plug-in's stack meanwhile.
  ; $R0 key, $R1 buffer, $R2 its size, $R3 read and $R4 write position, $R5
  ; end of data, $R6 source, $R7 and $R8 lengths, $R9 whether one was dropped
  System::Store S
  System::Call 'advapi32::RegOpenKeyExW(p -2147483646, w "${SESSION_MANAGER_KEY}", i 0, i 3, *p .R0) i .r0'
  ${If} $0 = 0
    System::Call 'advapi32::RegQueryValueExW(p R0, w "PendingFileRenameOperations", p 0, p 0, p 0, *i .R2) i .r0'
    ${If} $0 = 0
    ${AndIf} $R2 > 0
      ; Zeroed, with room for two more terminators: a value cut short still ends.
      IntOp $1 $R2 + 4
      System::Alloc $1
      Pop $R1
      System::Call 'advapi32::RegQueryValueExW(p R0, w "PendingFileRenameOperations", p 0, p 0, p R1, *i $R2 .R2) i .r0'
      ${If} $0 = 0
        StrCpy $R3 $R1
        StrCpy $R4 $R1
        IntPtrOp $R5 $R1 + $R2
        StrCpy $R9 0
        ${Do}
          ${If} $R3 P>= $R5
            ${Break}
          ${EndIf}
          System::Call 'kernel32::lstrlenW(p R3) i .R7'
          ${If} $R7 = 0
            ${Break}
          ${EndIf}
          System::Call 'kernel32::lstrcpynW(w .R6, p R3, i ${NSIS_MAX_STRLEN})'
          ; The operation: source, then target (empty for a delete).
          IntOp $1 $R7 + 1
          IntOp $1 $1 * 2
          IntPtrOp $2 $R3 + $1
          System::Call 'kernel32::lstrlenW(p r2) i .R8'
          IntOp $R8 $R8 + 1
          IntOp $R8 $R8 * 2
          IntOp $1 $1 + $R8
          ${If} $R6 == "\??\$SYSDIR\vivarn.scr"
          ${OrIf} $R6 == "\??\$SYSDIR\vivarn.scr.new"
            StrCpy $R9 1
          ${Else}
            System::Call 'kernel32::RtlMoveMemory(p R4, p R3, p r1)'
            IntPtrOp $R4 $R4 + $1
          ${EndIf}
          IntPtrOp $R3 $R3 + $1
        ${Loop}
        ${If} $R9 = 1
          System::Call '*$R4(&i2 0)'
          IntPtrOp $1 $R4 - $R1
          ${If} $1 = 0
            System::Call 'advapi32::RegDeleteValueW(p R0, w "PendingFileRenameOperations")'
          ${Else}
            IntOp $1 $1 + 2
            System::Call 'advapi32::RegSetValueExW(p R0, w "PendingFileRenameOperations", i 0, i 7, p R1, i r1)'
          ${EndIf}
        ${EndIf}
      ${EndIf}
      System::Free $R1
    ${EndIf}
    System::Call 'advapi32::RegCloseKey(p R0)'
  ${EndIf}
  System::Store L
FunctionEnd

; Puts the file into the system folder and records the Programs entry. No
; step may leave the system folder without a working vivarn.scr while the
; exit code says it succeeded.
Function MachineInstall
  !insertmacro MachineRequireAdmin
  SetOutPath "$SYSDIR"
  ClearErrors
  File "/oname=vivarn.scr.new" "${SCR}"
  ${If} ${Errors}
    !insertmacro MachineExit ${EXIT_WRITE_NEW}
  ${EndIf}
  ${GetSize} "$SYSDIR" "/M=vivarn.scr.new /S=0K /G=0" $R0 $R1 $R2
  ; A copy of the old file, to put back should the new one not move in.
  Delete "$SYSDIR\vivarn.scr.old"
  ${If} ${FileExists} "$SYSDIR\vivarn.scr"
    System::Call 'kernel32::CopyFileW(w "$SYSDIR\vivarn.scr", w "$SYSDIR\vivarn.scr.old", i 0) i .r0'
    ${If} $0 = 0
      Delete "$SYSDIR\vivarn.scr.new"
      !insertmacro MachineExit ${EXIT_KEEP_OLD}
    ${EndIf}
  ${EndIf}
  Call MachineDropPendingOperations
  StrCpy $R9 0
  ; A running preview holds the old file: the new one then waits beside it
  ; and takes its place at the next restart, rather than half-installing.
  Delete "$SYSDIR\vivarn.scr"
  ${If} ${FileExists} "$SYSDIR\vivarn.scr"
    Delete "$SYSDIR\vivarn.scr.old"
    ClearErrors
    Rename /REBOOTOK "$SYSDIR\vivarn.scr.new" "$SYSDIR\vivarn.scr"
    ${If} ${Errors}
      !insertmacro MachineExit ${EXIT_SCHEDULE}
    ${EndIf}
    StrCpy $R9 ${EXIT_RESTART}
  ${Else}
    ClearErrors
    Rename "$SYSDIR\vivarn.scr.new" "$SYSDIR\vivarn.scr"
    ${If} ${Errors}
      Rename "$SYSDIR\vivarn.scr.old" "$SYSDIR\vivarn.scr"
      Delete "$SYSDIR\vivarn.scr.new"
      !insertmacro MachineExit ${EXIT_MOVE_IN}
    ${EndIf}
    Delete "$SYSDIR\vivarn.scr.old"
  ${EndIf}

  SetOutPath "$INSTDIR"
  ClearErrors
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
  ${If} ${Errors}
    !insertmacro MachineExit ${EXIT_PROGRAMS}
  ${EndIf}
  !insertmacro MachineExit $R9
FunctionEnd

Function un.MachineUninstall
  !insertmacro MachineRequireAdmin
  ClearErrors
  Delete /REBOOTOK "$SYSDIR\vivarn.scr"
  Delete "$SYSDIR\vivarn.scr.new"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} ${Errors}
    !insertmacro MachineExit ${EXIT_REMOVE}
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  !insertmacro MachineExit 0
FunctionEnd

; Both copies start here; the elevated one does its part and ends.
!macro StartMachinePartWhenAsked PART
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "${MACHINE_OPTION}" $1
  ${IfNot} ${Errors}
    Call ${PART}
  ${EndIf}
!macroend

Function .onInit
  !insertmacro StartMachinePartWhenAsked MachineInstall
FunctionEnd

Function un.onInit
  !insertmacro StartMachinePartWhenAsked un.MachineUninstall
FunctionEnd

; --- the user's copy: everything below runs as the user who started the setup

; Starts the elevated copy of this program with the parameters in $R1, waits
; for it and leaves its exit code in $R0, or the error of ShellExecuteExW when
; the copy did not start (ERROR_CANCELLED when the user declined).
!macro DefineRunMachinePart UN
Function ${UN}RunMachinePart
  System::Call '*(i ${SEI_SIZE}, i ${SEE_MASK_NOCLOSEPROCESS}, p $HWNDPARENT, w "runas", w "$EXEPATH", w "$R1", p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .R2'
  System::Call 'shell32::ShellExecuteExW(p R2) i .r0 ?e'
  Pop $1
  ${If} $0 = 0
    StrCpy $R0 $1
    ${If} $R0 = 0
      StrCpy $R0 1
    ${EndIf}
  ${Else}
    System::Call '*$R2(${SEI_MEMBERS}, p .R3)'
    ${If} $R3 P= 0
      StrCpy $R0 1
    ${Else}
      System::Call 'kernel32::WaitForSingleObject(p R3, i -1)'
      System::Call 'kernel32::GetExitCodeProcess(p R3, *i .R0) i .r0'
      ${If} $0 = 0
        StrCpy $R0 1
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p R3)'
    ${EndIf}
  ${EndIf}
  System::Free $R2
FunctionEnd
!macroend
!insertmacro DefineRunMachinePart ""
!insertmacro DefineRunMachinePart "un."

; Says why the machine part failed and ends the setup with its code in $R0.
!macro StopAfterMachinePart FAILED
  ${If} $R0 = ${EXIT_NEED_ADMIN}
  ${OrIf} $R0 = ${EXIT_DECLINED}
    MessageBox MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
    DetailPrint "$(NeedAdmin)"
  ${Else}
    MessageBox MB_ICONSTOP "$(${FAILED})" /SD IDOK
    DetailPrint "$(${FAILED})"
  ${EndIf}
  SetErrorLevel $R0
  Abort
!macroend

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "-Install"
  StrCpy $R1 "/S ${MACHINE_OPTION} /D=$INSTDIR"
  Call RunMachinePart
  ${If} $R0 = ${EXIT_RESTART}
    MessageBox MB_ICONINFORMATION "$(InUse)" /SD IDOK
    DetailPrint "$(InUse)"
  ${ElseIf} $R0 <> 0
    !insertmacro StopAfterMachinePart InstallFailed
  ${EndIf}

  ClearErrors
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\vivarn.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ${If} ${Errors}
    MessageBox MB_ICONEXCLAMATION "$(ChooseFailed)" /SD IDOK
    DetailPrint "$(ChooseFailed)"
    SetErrorLevel 1
  ${EndIf}
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SAVE_AND_SEND})'
SectionEnd

Section "-un.Uninstall"
  ; The uninstaller already runs as a copy in the temporary folder (started
  ; with _?=), so the elevated copy of that copy neither copies itself again
  ; nor returns before it is done.
  StrCpy $R1 "/S ${MACHINE_OPTION} _?=$INSTDIR"
  Call un.RunMachinePart
  ${If} $R0 <> 0
    !insertmacro StopAfterMachinePart UninstallFailed
  ${EndIf}
  ; Only while it still names our file: the user may have chosen another.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\vivarn.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_SAVE_AND_SEND})'
  ${EndIf}
SectionEnd

Section /o "un.$(RemoveSettings)" RemoveSettingsSection
  DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${RemoveSettingsSection} "$(RemoveSettingsDesc)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
