; The Vellumar installer, built with makensis by the build's `release` target:
;   makensis -DVERSION=x.y.z -DSTAGE=<folder with vellumar.exe and README.txt>
;            -DICON=<vellumar.ico> -DWIZARD=<wizard.bmp> -DOUTFILE=<setup.exe> vellumar.nsi
;
; Per user, without elevation: the program goes to %LOCALAPPDATA%\Programs\Vellumar,
; a shortcut to the user's Start menu and the "Apps & features" entry to HKCU.
; A running Vellumar is asked to exit through its own window first (the
; registered message "Vellumar.ExitRequest", which runs the tray menu's Exit)
; and is never killed. Config.ini is not part of the package, so installing
; over an older version keeps it.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Vellumar"
!define PUBLISHER "Vellumar"
!define EXE "vellumar.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumar"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define AUTORUN_VALUE "VLM"
!define MAIN_WINDOW_CLASS "FormVellumar"
!define EXIT_REQUEST_MESSAGE "Vellumar.ExitRequest"
; How long a running Vellumar gets to finish its Exit before the user is asked.
!define EXIT_WAIT_MS 20000

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "This will install ${PRODUCT} ${VERSION}, a small tray utility that keeps your PC responsive, for your user account. No administrator rights are needed.$\r$\n$\r$\nIf ${PRODUCT} is running, it will be asked to exit first; your settings are kept.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks a running Vellumar to exit and waits until its process has ended.
; When it does not end in time the user may retry or cancel; a silent run
; cancels. Sets the error flag when Vellumar is still running.
!macro DEFINE_CLOSE_RUNNING prefix
Function ${prefix}CloseRunningVellumar
    ClearErrors
    System::Call 'user32::RegisterWindowMessageW(w "${EXIT_REQUEST_MESSAGE}") i .r1'
    ${Do}
        FindWindow $0 "${MAIN_WINDOW_CLASS}"
        ${If} $0 P= 0
            Return
        ${EndIf}
        DetailPrint "Asking the running ${PRODUCT} to exit..."
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2) i'
        ; SYNCHRONIZE: enough to wait for the process's end.
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3'
        System::Call 'user32::PostMessageW(p r0, i r1, p 0, p 0) i'
        ${If} $3 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p r3, i ${EXIT_WAIT_MS}) i .r4'
            System::Call 'kernel32::CloseHandle(p r3)'
        ${Else}
            ; The process cannot be opened: wait for its window to go.
            StrCpy $4 258
            ${For} $5 1 200
                Sleep 100
                System::Call 'user32::IsWindow(p r0) i .r6'
                ${If} $6 = 0
                    StrCpy $4 0
                    ${Break}
                ${EndIf}
            ${Next}
        ${EndIf}
        ${If} $4 = 258  ; WAIT_TIMEOUT
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running. Choose Exit in its notification-area menu, then click Retry." /SD IDCANCEL IDRETRY retry
            SetErrors
            Return
        ${EndIf}
        retry:
    ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING ""
!insertmacro DEFINE_CLOSE_RUNNING "un."

Section "${PRODUCT}" SecProgram
    SectionIn RO
    Call CloseRunningVellumar
    ${If} ${Errors}
        Abort "${PRODUCT} is still running; nothing was changed."
    ${EndIf}
    SetOutPath "$INSTDIR"
    File "${STAGE}\${EXE}"
    File "${STAGE}\README.txt"
    ; Settings kept by an earlier uninstall come back with the program.
    ${IfNot} ${FileExists} "$INSTDIR\Config.ini"
    ${AndIf} ${FileExists} "$APPDATA\${PRODUCT}\Config.ini"
        CopyFiles /SILENT "$APPDATA\${PRODUCT}\Config.ini" "$INSTDIR"
    ${EndIf}
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    SetShellVarContext current
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes the Run value when it starts this installation's program (quoted or
; not); a value left by a copy elsewhere is that copy's.
!macro REMOVE_OWN_AUTORUN root
    ReadRegStr $0 ${root} "${RUN_KEY}" "${AUTORUN_VALUE}"
    ${If} $0 == "$\"$INSTDIR\${EXE}$\""
    ${OrIf} $0 == "$INSTDIR\${EXE}"
        DeleteRegValue ${root} "${RUN_KEY}" "${AUTORUN_VALUE}"
    ${EndIf}
!macroend

Section "un.${PRODUCT}" UnSecProgram
    SectionIn RO
    Call un.CloseRunningVellumar
    ${If} ${Errors}
        Abort "${PRODUCT} is still running; nothing was removed."
    ${EndIf}
    !insertmacro REMOVE_OWN_AUTORUN HKCU
    ; Without the right to write there this fails quietly.
    !insertmacro REMOVE_OWN_AUTORUN HKLM

    ; The settings beside the program move to %APPDATA%\Vellumar, where a
    ; later install finds them, unless the copy kept there is newer (the
    ; program saves there when its own folder cannot be written).
    ${If} ${FileExists} "$INSTDIR\Config.ini"
        StrCpy $R4 1
        ${If} ${FileExists} "$APPDATA\${PRODUCT}\Config.ini"
            GetFileTime "$INSTDIR\Config.ini" $R0 $R1
            GetFileTime "$APPDATA\${PRODUCT}\Config.ini" $R2 $R3
            ${If} $R0 U< $R2
                StrCpy $R4 0
            ${ElseIf} $R0 == $R2
            ${AndIf} $R1 U< $R3
                StrCpy $R4 0
            ${EndIf}
        ${EndIf}
        ${If} $R4 == 1
            CreateDirectory "$APPDATA\${PRODUCT}"
            CopyFiles /SILENT "$INSTDIR\Config.ini" "$APPDATA\${PRODUCT}"
        ${EndIf}
        Delete "$INSTDIR\Config.ini"
    ${EndIf}
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"

    SetShellVarContext current
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    ; Last: should anything above be cut off, "Apps & features" still offers
    ; to finish the job.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my settings" UnSecSettings
    RMDir /r "$APPDATA\${PRODUCT}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "The program, its shortcut and its autostart entry."
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecSettings} "Also delete your settings in %APPDATA%\${PRODUCT}."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
