; Korvanel's Windows installer, built on Linux with makensis by
; installer/make-installer, which passes:
;   KORVANEL_EXE       the program to install
;   KORVANEL_SEND_EXE  the sender's tool to install beside it
;   KORVANEL_VERSION   the version, as in the top-level CMakeLists.txt
;   OUTFILE            where to write the installer
; Per machine: Program Files, HKLM, elevation asked for.

!ifndef KORVANEL_EXE | KORVANEL_SEND_EXE | KORVANEL_VERSION | OUTFILE
  !error "run installer/make-installer, which passes the file and version defines"
!endif

; Korvanel is a 64-bit program. A 64-bit installer runs only where the
; program can, sees the same Program Files and registry view as the program,
; and needs no 32-bit Wine to be tested.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include WinMessages.nsh
!include x64.nsh

!define PRODUCT "Korvanel"
!define PUBLISHER "Korvanel team"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvanel"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
; The program's main window: a dialog (class #32770) with this caption.
!define MAIN_WINDOW_CLASS "#32770"
!define MAIN_WINDOW_CAPTION "Korvanel"
; The program's one-instance mutex; it lives exactly as long as the program.
!define INSTANCE_MUTEX "Global\Korvanel"
!define SYNCHRONIZE 0x00100000
!define WAIT_TIMEOUT 0x102
; PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION
!define TERMINATE_ACCESS 0x1001
!define TH32CS_SNAPPROCESS 0x2
!define MAX_PATH 260

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Unicode true
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${KORVANEL_VERSION}"

VIProductVersion "${KORVANEL_VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${KORVANEL_VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${KORVANEL_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${__FILEDIR__}\..\res\korvanel.ico"
!define MUI_UNICON "${__FILEDIR__}\..\res\korvanel.ico"
!define MUI_ABORTWARNING
; The finish page is skipped by a silent install, so /S never starts it.
!define MUI_FINISHPAGE_RUN "$INSTDIR\korvanel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends a running Korvanel before its files are replaced or removed. First
; the way a user would: WM_CLOSE to the main dialog, which ends its modal
; loop and so the process. The instance mutex tells when the process is
; gone: waiting on it returns once its owner has exited (abandoned). Only
; a program that does not end within ten seconds is terminated, and then
; only processes running this installation's korvanel.exe.
!macro DEFINE_STOP_KORVANEL prefix
Function ${prefix}StopKorvanel
  Push $0
  Push $1
  Push $2
  StrCpy $2 0
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_CAPTION}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    DetailPrint "Closing the running ${PRODUCT}"
    ; A timeout, so that a hung program cannot hang the installer too.
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    Sleep 100
    IntOp $2 $2 + 1
  ${LoopUntil} $2 >= 50

  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p.r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r0, i 10000) i.r1'
    System::Call 'kernel32::CloseHandle(p r0)'
    ${If} $1 = ${WAIT_TIMEOUT}
      DetailPrint "${PRODUCT} did not end; terminating it"
      Call ${prefix}TerminateKorvanel
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The last resort: every process whose image is $INSTDIR\korvanel.exe.
Function ${prefix}TerminateKorvanel
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  System::Call 'kernel32::CreateToolhelp32Snapshot(i ${TH32CS_SNAPPROCESS}, i 0) p.r0'
  ${If} $0 P<> -1
    ; PROCESSENTRY32W is 568 bytes on x64; only dwSize (offset 0) and
    ; th32ProcessID (offset 8) are used here.
    System::Alloc 568
    Pop $1
    System::Call '*$1(i 568)'
    System::Call 'kernel32::Process32FirstW(p r0, p r1) i.r2'
    ${DoWhile} $2 <> 0
      System::Call '*$1(i, i, i.r3)'
      System::Call 'kernel32::OpenProcess(i ${TERMINATE_ACCESS}, i 0, i r3) p.r4'
      ${If} $4 P<> 0
        StrCpy $5 ""
        System::Call 'kernel32::QueryFullProcessImageNameW(p r4, i 0, w .r5, *i ${MAX_PATH})'
        ; StrCmp ignores case, as Windows paths do.
        ${If} $5 == "$INSTDIR\korvanel.exe"
          System::Call 'kernel32::TerminateProcess(p r4, i 1)'
          System::Call 'kernel32::WaitForSingleObject(p r4, i 5000)'
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r4)'
      ${EndIf}
      System::Call 'kernel32::Process32NextW(p r0, p r1) i.r2'
    ${Loop}
    System::Free $1
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_STOP_KORVANEL ""
!insertmacro DEFINE_STOP_KORVANEL "un."

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${PRODUCT} needs 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Korvanel" SecMain
  SectionIn RO
  Call StopKorvanel

  SetOutPath "$INSTDIR"
  File "/oname=korvanel.exe" "${KORVANEL_EXE}"
  File "/oname=korvanel-send.exe" "${KORVANEL_SEND_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; What the program writes at its first start when the value is absent:
  ; its full path, unquoted, as REG_EXPAND_SZ. Written here as well so that
  ; a path left by an earlier copy elsewhere is replaced.
  WriteRegExpandStr HKLM "${RUN_KEY}" "Korvanel" "$INSTDIR\korvanel.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${KORVANEL_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korvanel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecMain} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.StopKorvanel

  Delete "$INSTDIR\korvanel.exe"
  Delete "$INSTDIR\korvanel-send.exe"
  Delete "$INSTDIR\uninstall.exe"

  ; Only our own autostart entry: one naming another copy of the program
  ; belongs to whoever put it there.
  ReadRegStr $0 HKLM "${RUN_KEY}" "Korvanel"
  ${If} $0 == "$INSTDIR\korvanel.exe"
  ${OrIf} $0 == '"$INSTDIR\korvanel.exe"'
    DeleteRegValue HKLM "${RUN_KEY}" "Korvanel"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; Not /r: anything else in the folder is not ours to delete. The logs in
  ; C:\Client_log belong to the administrator and stay.
  RMDir "$INSTDIR"
SectionEnd
