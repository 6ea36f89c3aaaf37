; Tellbud's setup: installs the program for the signed-in user, without administrator rights,
; into a folder the user can write, because Tellbud keeps its settings in INI files beside
; Tellbud.exe. Installing over an earlier version keeps the user's settings and language files.
;
; Built by tools/package.sh:
;   makensis -DVERSION=1.0.0.2 -DTARGET=x86-unicode -DSTAGE=<folder> -DICON=<tellbud.ico>
;            -DOUTFILE=<setup.exe> installer/tellbud.nsi
; STAGE is the program's folder as `cmake --install` lays it out.

!macro REQUIRE NAME
  !ifndef ${NAME}
    !error "define ${NAME} (see tools/package.sh)"
  !endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE TARGET
!insertmacro REQUIRE STAGE
!insertmacro REQUIRE ICON
!insertmacro REQUIRE OUTFILE

Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define APP "Tellbud"
; The title of Tellbud's main window and the name of its single-instance mutex.
!define INSTANCE_NAME "Tellbud<1.0>"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define SHELL_FOLDERS_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
; How long a running Tellbud gets to end on its exit marker.
!define EXIT_WAIT_MS 10000
; The exit code of a setup or removal that stopped because Tellbud did not end.
!define EXIT_TELLBUD_RUNS 3

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tellbud.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tellbud"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APP} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "${APP}-${VERSION}-setup.exe"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) the Tellbud authors"

; The files setup replaces on every install; everything else in the folder belongs to the user.
!macro PROGRAM_FILES DO
  !insertmacro ${DO} "Tellbud.exe"
  !insertmacro ${DO} "ok.ico"
  !insertmacro ${DO} "nophone.ico"
  !insertmacro ${DO} "nodevice.ico"
  !insertmacro ${DO} "Tellbud.lnk"
!macroend

!macro MAKE_WRITABLE FILE
  SetFileAttributes "$INSTDIR\${FILE}" NORMAL
!macroend

!macro DELETE_PROGRAM_FILE FILE
  Delete "$INSTDIR\${FILE}"
!macroend

; Functions the installer and the uninstaller both need (NSIS wants the uninstaller's with "un.").
!macro SHARED_FUNCTIONS UN
  ; Pushes 1 while a Tellbud runs on this desktop: its window or its mutex (which goes only with
  ; the process) is there. Pushes 0 otherwise.
  Function ${UN}TellbudRuns
    Push $0
    FindWindow $0 "" "${INSTANCE_NAME}"
    ${If} $0 != 0
      StrCpy $0 1
    ${Else}
      ; SYNCHRONIZE access, handle not inherited.
      System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_NAME}") p.r0'
      ${If} $0 != 0
        System::Call 'kernel32::CloseHandle(p r0)'
        StrCpy $0 1
      ${Else}
        StrCpy $0 0
      ${EndIf}
    ${EndIf}
    Exch $0
  FunctionEnd

  ; When the folder holds a Tellbud.exe, ends the running Tellbud with that program's exit
  ; marker and waits a few seconds for it to go. When it stays, or Tellbud.exe still cannot be
  ; written, says so and stops before anything is changed.
  Function ${UN}EndRunningTellbud
    Push $0
    Push $1
    Push $2
    ${IfNot} ${FileExists} "$INSTDIR\Tellbud.exe"
      ; A Tellbud running from another folder holds nothing here.
      Goto done
    ${EndIf}
    Call ${UN}TellbudRuns
    Pop $0
    ${If} $0 = 1
      DetailPrint "Ending the running Tellbud"
      Exec '"$INSTDIR\Tellbud.exe" *exit*'
      ; Wall time, so that slow checks do not stretch the bound.
      System::Call 'kernel32::GetTickCount() i.r1'
      IntOp $1 $1 + ${EXIT_WAIT_MS}
      ${Do}
        Sleep 250
        Call ${UN}TellbudRuns
        Pop $0
        ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
        System::Call 'kernel32::GetTickCount() i.r2'
        IntOp $2 $1 - $2
      ${LoopWhile} $2 > 0
      ${If} $0 = 1
        MessageBox MB_OK|MB_ICONSTOP "Tellbud is running and did not end when asked to.$\r$\n$\r$\nEnd it with Exit in its tray menu, then run this again. Nothing was changed." /SD IDOK
        SetErrorLevel ${EXIT_TELLBUD_RUNS}
        Quit
      ${EndIf}
    ${EndIf}
    ; A program file still mapped by a process cannot be opened for writing (a sharing violation,
    ; 32): found before the first file is touched. Write protection alone is no obstacle. (A
    ; failed open's handle is the invalid one, which CloseHandle leaves alone.)
    System::Call 'kernel32::CreateFileW(w "$INSTDIR\Tellbud.exe", i 0x40000000, i 7, p 0, i 3, i 0, p 0) p.r0 ?e'
    Pop $1
    System::Call 'kernel32::CloseHandle(p r0)'
    ${If} $1 = 32
      MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\Tellbud.exe is in use and cannot be replaced or removed.$\r$\n$\r$\nEnd Tellbud, then run this again. Nothing was changed." /SD IDOK
      SetErrorLevel ${EXIT_TELLBUD_RUNS}
      Quit
    ${EndIf}
  done:
    Pop $2
    Pop $1
    Pop $0
  FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Section "Tellbud"
  Call EndRunningTellbud

  ; The program: replaced on every install (a write-protected copy too).
  SetOutPath "$INSTDIR"
  !insertmacro PROGRAM_FILES MAKE_WRITABLE
  SetOverwrite on
  File "${STAGE}\Tellbud.exe"
  File "${STAGE}\ok.ico"
  File "${STAGE}\nophone.ico"
  File "${STAGE}\nodevice.ico"
  ; The shortcut AutoRun copies into the Startup folder: it names the installed program by its
  ; full path, so that the copy still finds it from there.
  CreateShortcut "$INSTDIR\Tellbud.lnk" "$INSTDIR\Tellbud.exe" "" "$INSTDIR\Tellbud.exe" 0

  ; The user's files: only added where missing, never overwritten.
  SetOverwrite off
  File "${STAGE}\Tellbud.ini"
  SetOutPath "$INSTDIR\Language"
  File "${STAGE}\Language\*.ini"
  SetOutPath "$INSTDIR"
  ${IfNot} ${FileExists} "$INSTDIR\Custom.ini"
    ; An empty custom file, as the program would create it on its first start.
    FileOpen $0 "$INSTDIR\Custom.ini" w
    FileClose $0
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\Tellbud.exe" "" "$INSTDIR\Tellbud.exe" 0
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tellbud.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Deletes a settings file unless it is write-protected: the user protected it, so it stays.
!macro DELETE_SETTINGS_FILE FILE
  System::Call 'kernel32::GetFileAttributesW(w "${FILE}") i.r0'
  ${If} $0 <> -1
    IntOp $0 $0 & 1 ; FILE_ATTRIBUTE_READONLY
    ${If} $0 = 0
      Delete "${FILE}"
    ${Else}
      DetailPrint "Kept the write-protected ${FILE}"
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  Call un.EndRunningTellbud

  !insertmacro PROGRAM_FILES DELETE_PROGRAM_FILE
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\${APP}.lnk"
  ; The AutoRun shortcut: Tellbud copies it into the folder the registry names as the Startup
  ; folder, which is normally the shell's own.
  Delete "$SMSTARTUP\Tellbud.lnk"
  ReadRegStr $0 HKCU "${SHELL_FOLDERS_KEY}" "StartUp"
  ${If} $0 != ""
    Delete "$0\Tellbud.lnk"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION "Keep your Tellbud settings (Tellbud.ini, Custom.ini and the Language files) in $INSTDIR?" /SD IDYES IDYES keep
  !insertmacro DELETE_SETTINGS_FILE "$INSTDIR\Tellbud.ini"
  !insertmacro DELETE_SETTINGS_FILE "$INSTDIR\Custom.ini"
  FindFirst $1 $2 "$INSTDIR\Language\*.ini"
  ${DoWhile} $2 != ""
    !insertmacro DELETE_SETTINGS_FILE "$INSTDIR\Language\$2"
    FindNext $1 $2
  ${Loop}
  FindClose $1
keep:
  ; Only empty folders go.
  RMDir "$INSTDIR\Language"
  RMDir "$INSTDIR"
SectionEnd
