; Varnel's per-user installer and uninstaller: no administrator rights, everything under the user's own
; profile and HKEY_CURRENT_USER. tools/package.sh compiles it with
;   makensis -DTARGET=x86-unicode|amd64-unicode -DVERSION=x.y.z -DICON=<Varnel.ico> -DFILES=<files.nsh>
;            -DPLUGINS=<folder of VarnelSetup.dll> -DOUTFILE=<setup.exe> [-DSIGN=<command signing %1>]
; where files.nsh (written by tools/package.sh) names every file of the program folder once, and VarnelSetup.dll
; is the uninstaller's plug-in built for TARGET. The x86 and the x64 installer share the folder, the "Apps &
; features" entry and the settings: either installs over the other.
; Silent use: setup.exe /S [/LOGON] [/START] [/D=folder]   Uninstall.exe /S [/REMOVESETTINGS]
; Both run only from desktop 1: elsewhere they end at once with exit code 3 and change nothing.
Target ${TARGET}
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinVer.nsh
!include x64.nsh
!include ${FILES}
!addplugindir /${TARGET} "${PLUGINS}"
!ifdef SIGN
!uninstfinalize '${SIGN}'
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Varnel"
; How long the programs get to end after their close events before the user is told.
!define SHUTDOWN_SECONDS 30

Name "Varnel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Varnel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Varnel ${VERSION}"

Var LogonStart
Var StartAfter
Var WasRunning
Var Elevated

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Varnel now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartVarnelFromFinishPage
; The finish page's second box is the log-on start.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Varnel when I log on"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION WriteLogonStart
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowFinishPage
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductName "Varnel"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileDescription "Varnel ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} LegalCopyright "The Varnel developers"

; Setup and uninstall run only on desktop 1, the desktop their thread shows them on: the shutdown of a running set
; shows desktop 1, which would leave their pages and questions where nobody sees them. The words are the control
; panel's for its Start and Shutdown.
!macro DESKTOP_ONE_ONLY what
    System::Call 'kernel32::GetCurrentThreadId() i .r0'
    System::Call 'user32::GetThreadDesktop(i r0) p .r1'
    System::Call 'user32::GetUserObjectInformationW(p r1, i 2, w .r2, i ${NSIS_MAX_STRLEN}, p 0)'
    ${If} $2 S!= "Default"
    ${AndIf} $2 S!= "default"
        MessageBox MB_OK|MB_ICONSTOP "${what} can only be invoked from Desktop 1." /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
!macroend

; An uninstall leaves the windows still open on desktops 2 to 4 out of reach until log-off: the user may keep
; Varnel. An upgrade starts the set again over the same desktops and does not ask; a silent uninstall does not.
Function un.ConfirmWindowsLeft
    ${If} ${Silent}
        Return
    ${EndIf}
    VarnelSetup::WindowsLeft
    Pop $0
    ${If} $0 != ""
        MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION|MB_DEFBUTTON2 $0 IDOK confirmed
        DetailPrint "Varnel is not removed: windows are still open on its other desktops"
        Abort "Varnel is not removed: windows are still open on its other desktops"
        confirmed:
    ${EndIf}
FunctionEnd

; The installer and the uninstaller each need their own copy of a function ("un." prefix), hence the macros.
!macro SHUTDOWN_FUNCTIONS un
; $R1: the name of the $R0-th close event (1..5), in the control panel's order: events 45, 7, 17, 27, 37.
Function ${un}CloseEventName
    ${Select} $R0
        ${Case} 1
            StrCpy $R1 "CloseVarnel"
        ${CaseElse}
            IntOp $R1 $R0 - 1
            StrCpy $R1 "CloseSwitcher$R1"
    ${EndSelect}
FunctionEnd

; $R9: what of Varnel still runs ("" for nothing). The hub, the switchers and the relays hold the close events
; open while they run; any other program of the folder shows as a file that cannot be opened for writing
; (Windows refuses that for a running program's file).
Function ${un}RunningPart
    StrCpy $R9 ""
    ${ForEach} $R0 1 5 + 1
        Call ${un}CloseEventName
        ; 0x100000: SYNCHRONIZE, enough to learn whether the event exists.
        System::Call 'kernel32::OpenEventW(i 0x100000, i 0, w "Local\nuvoq_$R1") p .r2'
        ${If} $2 P<> 0
            System::Call 'kernel32::CloseHandle(p r2)'
            StrCpy $R9 "Varnel"
            Return
        ${EndIf}
    ${Next}
    !insertmacro VARNEL_EACH_PROGRAM ${un}InUse
FunctionEnd

; Pops a program's file name; sets $R9 to it when that file is in use.
Function ${un}InUse
    Exch $R1
    ${If} $R9 == ""
        ; GENERIC_WRITE, all sharing, OPEN_EXISTING.
        System::Call 'kernel32::CreateFileW(w "$INSTDIR\$R1", i 0x40000000, i 7, p 0, i 3, i 0x80, p 0) p .r2 ?e'
        Pop $3
        ${If} $2 P<> -1
            System::Call 'kernel32::CloseHandle(p r2)'
        ${ElseIf} $3 = 32
            StrCpy $R9 $R1
        ${EndIf}
    ${EndIf}
    Pop $R1
FunctionEnd

; The control panel's Shutdown: close events 45, 7, 17, 27, 37 in that order, then a wait until nothing of
; Varnel runs. $WasRunning tells whether anything had to be shut down. Aborts when the user gives up.
Function ${un}ShutdownVarnel
    StrCpy $WasRunning 0
    Call ${un}RunningPart
    ${If} $R9 == ""
        Return
    ${EndIf}
    StrCpy $WasRunning 1
    !if "${un}" == "un."
        Call un.ConfirmWindowsLeft
    !endif
    DetailPrint "Shutting Varnel down"
    ${Do}
        ${ForEach} $R0 1 5 + 1
            Call ${un}CloseEventName
            ; 0x2: EVENT_MODIFY_STATE.
            System::Call 'kernel32::OpenEventW(i 0x2, i 0, w "Local\nuvoq_$R1") p .r2'
            ${If} $2 P<> 0
                System::Call 'kernel32::SetEvent(p r2)'
                System::Call 'kernel32::CloseHandle(p r2)'
            ${EndIf}
        ${Next}
        ; An installer has no message loop to wait in; a short poll with a deadline is enough here.
        ; $R7: RunningPart uses $R0 and $R1.
        ${ForEach} $R7 1 ${SHUTDOWN_SECONDS}0 + 1
            Call ${un}RunningPart
            ${IfThen} $R9 == "" ${|} ${Break} ${|}
            Sleep 100
        ${Next}
        ${If} $R9 == ""
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Varnel could not be shut down: $R9 is still running after ${SHUTDOWN_SECONDS} seconds.$\r$\n$\r$\nClose it (or end it in Task Manager), then choose Retry. Cancel stops here: no file is replaced or removed." \
            /SD IDCANCEL IDRETRY retry
        DetailPrint "Varnel could not be shut down: $R9 is still running"
        Abort "Varnel could not be shut down: $R9 is still running"
        retry:
    ${Loop}
FunctionEnd
!macroend
!insertmacro SHUTDOWN_FUNCTIONS ""
!insertmacro SHUTDOWN_FUNCTIONS "un."

; $Elevated: the installer runs with an administrator's full token while UAC is on. A Varnel started from here would
; run with it: out of reach of the control panel, with elevated shells on desktops 2 to 4. Wine hands every program
; a full token while it says UAC is off (EnableLUA 0), so the switch is read as well.
Function CheckElevation
    StrCpy $Elevated 0
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    ClearErrors
    ReadRegDWORD $0 HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System" "EnableLUA"
    SetRegView default
    ${If} $0 = 0
    ${AndIfNot} ${Errors}
        Return
    ${EndIf}
    ; 8: TOKEN_QUERY; 18: TokenElevationType, of which 2 is TokenElevationTypeFull.
    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0'
    ${If} $0 <> 0
        System::Call 'advapi32::GetTokenInformation(p r1, i 18, *i .r2, i 4, *i .r3) i .r0'
        System::Call 'kernel32::CloseHandle(p r1)'
        ${If} $0 <> 0
        ${AndIf} $2 = 2
            StrCpy $Elevated 1
        ${EndIf}
    ${EndIf}
FunctionEnd

Function .onInit
    !insertmacro DESKTOP_ONE_ONLY "Setup"
    ; Names pass through the ANSI code page, which the programs' manifest makes UTF-8 only from Windows 10 version
    ; 1903 (build 18362) on.
    ${IfNot} ${AtLeastBuild} 18362
        MessageBox MB_OK|MB_ICONINFORMATION \
            "Varnel runs on this Windows, but desktop names in any script (Cyrillic, Greek, Chinese and others beside your own) need Windows 10 version 1903 or later. Here, letters your language settings do not cover are stored as question marks." \
            /SD IDOK
    ${EndIf}
    Call CheckElevation
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/LOGON" $1
    ${IfNot} ${Errors}
        StrCpy $LogonStart 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/START" $1
    ${IfNot} ${Errors}
        StrCpy $StartAfter 1
    ${EndIf}
FunctionEnd

; The same quoted path the control panel writes, so that a folder with blanks starts the right program.
Function WriteLogonStart
    WriteRegStr HKCU "${RUN_KEY}" "Varnel" '"$INSTDIR\Varnel.exe"'
FunctionEnd

Function StartVarnel
    ${If} $Elevated == 1
        DetailPrint "Varnel is not started: setup runs with administrator rights, which Varnel would take on"
    ${Else}
        Exec '"$INSTDIR\Varnel.exe"'
    ${EndIf}
FunctionEnd

Function ShowFinishPage
    ${If} $Elevated == 1
        SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
        ShowWindow $mui.FinishPage.Run ${SW_HIDE}
        SendMessage $mui.FinishPage.Text ${WM_SETTEXT} 0 \
            "STR:Varnel ${VERSION} has been installed on your computer.$\r$\n$\r$\nIt is not started here: setup runs as administrator, and so would Varnel. Start it from Varnel Control Panel in the Start menu."
    ${EndIf}
FunctionEnd

Function StartVarnelFromFinishPage
    ; An upgrade has already started it again.
    ${If} $WasRunning != 1
        Call StartVarnel
    ${EndIf}
FunctionEnd

Section "Varnel" SecVarnel
    SectionIn RO
    Call ShutdownVarnel
    SetOutPath "$INSTDIR"
    !insertmacro VARNEL_INSTALL_FILES
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The shortcuts and the programs started here begin in the user's profile, not in the program folder: the
    ; hub hands its current folder on to the shells of desktops 2 to 4, which outlive it, and a folder that is
    ; some process's current folder cannot be removed.
    SetOutPath "$PROFILE"
    CreateDirectory "$SMPROGRAMS\Varnel"
    CreateShortcut "$SMPROGRAMS\Varnel\Varnel Control Panel.lnk" "$INSTDIR\VarnelControlPanel.exe"
    CreateShortcut "$SMPROGRAMS\Varnel\Varnel User's Guide.lnk" "$INSTDIR\VarnelGuide.html"
    CreateShortcut "$SMPROGRAMS\Varnel\Uninstall Varnel.lnk" "$INSTDIR\Uninstall.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Varnel"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Varnel developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VarnelControlPanel.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    ${If} $LogonStart == 1
        Call WriteLogonStart
    ${EndIf}
    ${If} $WasRunning == 1
    ${OrIf} $StartAfter == 1
        Call StartVarnel
    ${EndIf}
SectionEnd

Section "-un.Varnel"
    Call un.ShutdownVarnel
    !insertmacro VARNEL_REMOVE_FILES
    ; What the programs write beside themselves: the screenshots and the error log.
    Delete "$INSTDIR\desktop1.bmp"
    Delete "$INSTDIR\desktop2.bmp"
    Delete "$INSTDIR\desktop3.bmp"
    Delete "$INSTDIR\desktop4.bmp"
    Delete "$INSTDIR\VarnelErrors.txt"
    Delete "$INSTDIR\Uninstall.exe"
    ; Only when empty: files the user put there stay.
    ClearErrors
    RMDir "$INSTDIR"
    ${If} ${Errors}
        DetailPrint "The folder $INSTDIR stays: it is not empty or a program still uses it"
        MessageBox MB_OK|MB_ICONINFORMATION \
            "Varnel is removed, but its folder $INSTDIR could not be deleted: it holds files of yours or a program still uses it. You can delete it yourself after the next log-on." \
            /SD IDOK
    ${EndIf}

    Delete "$SMPROGRAMS\Varnel\Varnel Control Panel.lnk"
    Delete "$SMPROGRAMS\Varnel\Varnel User's Guide.lnk"
    Delete "$SMPROGRAMS\Varnel\Uninstall Varnel.lnk"
    RMDir "$SMPROGRAMS\Varnel"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegValue HKCU "${RUN_KEY}" "Varnel"
SectionEnd

Section /o "un.Also remove my settings" SecSettings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSettings} "Your desktop names, shortcut keys and other choices under HKEY_CURRENT_USER\${SETTINGS_KEY}. Keep them to find them again after a new installation."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
    !insertmacro DESKTOP_ONE_ONLY "Uninstall"
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecSettings}
    ${EndIf}
FunctionEnd
