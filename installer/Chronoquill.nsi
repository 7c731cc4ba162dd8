; Chronoquill-Setup.exe: installs the Outlook add-in (Chronoquill.dll with the
; support library LibQuintor.dll beside it) and the Word add-in
; (Chronoquill4W.dll) for the current user, without administrator rights, and
; registers them the way regsvr32 does (each DLL's DllRegisterServer, which
; writes per-user keys only). On 64-bit Windows it also installs the 64-bit
; Outlook add-in with its 64-bit support library into the subfolder x64, with
; a settings file of its own beside it, and registers it with the 64-bit
; regsvr32: Outlook of either bitness then loads its own build. The
; uninstaller removes the files and every key that installing or registering
; wrote; it keeps the user's "Tooltip" value and settings files that the user
; changed.
;
; Built by installer/CMakeLists.txt:
;   makensis -NOCD -DVERSION=1.0.1 -DOUTFILE=Chronoquill-Setup.exe
;            -DOUTLOOK_DLL=... -DWORD_DLL=... -DLIBQUINTOR_DLL=...
;            [-DOUTLOOK64_DLL=... -DLIBQUINTOR64_DLL=...]
;            -DSETTINGS=Chronoquill.ini -DICON=main_icon32.ico Chronoquill.nsi
; Without the 64-bit pair, Setup installs the 32-bit add-ins only.
;
; Command line: /S installs (or uninstalls) silently, /D=<folder> (last, no
; quotes) sets the folder. Exit code 0 on success, 2 when stopped: the add-ins
; are in use, or registering failed.

Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!macro Require name
  !ifndef ${name}
    !error "makensis needs -D${name}=..."
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require OUTFILE
!insertmacro Require OUTLOOK_DLL
!insertmacro Require WORD_DLL
!insertmacro Require LIBQUINTOR_DLL
!insertmacro Require SETTINGS
!insertmacro Require ICON
!ifdef OUTLOOK64_DLL
  !insertmacro Require LIBQUINTOR64_DLL
!endif

!define PRODUCT "Chronoquill"
!define PUBLISHER "Quintor"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Chronoquill"
!define UNINSTALLER "Uninstall.exe"
; The 64-bit Outlook add-in's folder, below the installation folder.
!define X64 "x64"
; The classes that the DLLs register (the same as their DllRegisterServer).
; The uninstaller removes them by name too, for a DLL that cannot be loaded.
!define OUTLOOK_CLSID "{DDAE8299-4AC0-464C-86CC-713F59DA574E}"
!define OUTLOOK_PROGID "Chronoquill.Connect"
!define WORD_CLSID "{48C227F2-A7FD-4B1C-A52B-79B8422992FD}"
!define WORD_PROGID "Chronoquill4W.Connect"
; The type libraries in the DLLs, registered with their classes.
!define OUTLOOK_TYPELIB "{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A}"
!define WORD_TYPELIB "{2BDC37CB-E69B-4B6B-828C-6076AE8E532B}"
; Where the add-ins keep the user's "Tooltip" value and their logs.
!define USER_KEY "Software\Quintor\Inkwell"
!define ERROR_SHARING_VIOLATION 32
!define ERROR_LOCK_VIOLATION 33

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Setup installs ${PRODUCT} ${VERSION} for you alone; it needs no \
administrator rights.$\r$\n$\r$\n${PRODUCT} adds a stamp button to Outlook 2000 to Microsoft 365 (32-bit and \
64-bit) and to Word 2000 to 2003 as the e-mail editor: one click types the date and time at the \
caret.$\r$\n$\r$\n\
Please close Outlook and Word before you continue.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "Start Outlook and Word again: new message windows now have the stamp \
button.$\r$\n$\r$\nThe stamp's layout is set in Chronoquill.ini in $INSTDIR (for 64-bit Outlook, the \
one in $INSTDIR\${X64}); the file explains its settings."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var PreviousDir  ; the folder of an earlier installation, or ""

; ---------------------------------------------------------------------------
; Add-ins in use. Outlook and Word hold the DLLs they have loaded open, so that
; a DLL can then neither be replaced nor deleted. Opening each one for writing,
; shared with nobody, tells whether anything holds it, before any file is
; touched. Leaves the first file in use in $R9, "" when none is.

!macro CheckNotInUse path
  ${If} $R9 == ""
  ${AndIf} ${FileExists} "${path}"
    System::Call 'kernel32::CreateFileW(w "${path}", i 0x40000000, i 0, p 0, i 3, i 0, p 0) i .r0 ?e'
    Pop $1
    ${If} $0 = -1
      ${If} $1 = ${ERROR_SHARING_VIOLATION}
      ${OrIf} $1 = ${ERROR_LOCK_VIOLATION}
        StrCpy $R9 "${path}"
      ${EndIf}
    ${Else}
      System::Call 'kernel32::CloseHandle(i r0)'
    ${EndIf}
  ${EndIf}
!macroend

!macro CheckFolderNotInUse dir
  ${If} "${dir}" != ""
    !insertmacro CheckNotInUse "${dir}\Chronoquill.dll"
    !insertmacro CheckNotInUse "${dir}\Chronoquill4W.dll"
    !insertmacro CheckNotInUse "${dir}\LibQuintor.dll"
    !insertmacro CheckNotInUse "${dir}\${X64}\Chronoquill.dll"
    !insertmacro CheckNotInUse "${dir}\${X64}\LibQuintor.dll"
  ${EndIf}
!macroend

; Asks the user to close Outlook and Word until nothing holds the add-ins
; (Retry) or the user gives up (Cancel; silent: at once). $R9 is "" when the
; files are free, else the file in use. `what` names what is stopped.
!macro DefineWaitForAddInsFree un what
Function ${un}WaitForAddInsFree
  Push $0
  Push $1
  check:
  StrCpy $R9 ""
  !insertmacro CheckFolderNotInUse "$INSTDIR"
  !insertmacro CheckFolderNotInUse "$PreviousDir"
  ${If} $R9 != ""
    DetailPrint "In use: $R9"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Outlook or Word is running with ${PRODUCT} \
loaded:$\r$\n$R9 is in use.$\r$\n$\r$\nPlease close Outlook and Word, wait until they have ended, \
then click Retry.$\r$\nClick Cancel to stop ${what}; nothing has been changed." \
      /SD IDCANCEL IDRETRY check
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DefineWaitForAddInsFree "" "installing"
!insertmacro DefineWaitForAddInsFree "un." "removing ${PRODUCT}"

; Stops the installation or the removal with exit code 2 when the add-ins stay in use.
!macro StopWhenInUse un
  Call ${un}WaitForAddInsFree
  ${If} $R9 != ""
    SetErrorLevel 2
    Abort "${PRODUCT} is in use; nothing has been changed."
  ${EndIf}
!macroend

; ---------------------------------------------------------------------------
; Installation

Function .onInit
  SetShellVarContext current
  ReadRegStr $PreviousDir HKCU "${UNINST_KEY}" "InstallLocation"
  ; Tell at once when the add-ins are in use: in silent mode that ends here.
  Call WaitForAddInsFree
  ${If} $R9 != ""
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; The regsvr32 of each bitness. Setup is a 32-bit program: Windows shows it
; the 32-bit system folder as $SYSDIR, and the 64-bit one as sysnative.
!define REGSVR32 "$SYSDIR\regsvr32.exe"
!define REGSVR32_64 "$WINDIR\sysnative\regsvr32.exe"

; regsvr32 for a DLL: its DllRegisterServer, or with /u its DllUnregisterServer.
; Leaves regsvr32's exit code in $0 (0: done).
!macro Regsvr32 regsvr32 options path
  ExecWait '"${regsvr32}" ${options} "${path}"' $0
  ${If} ${Errors}
    StrCpy $0 "not started"
  ${EndIf}
!macroend

!macro Register regsvr32 path
  ClearErrors
  !insertmacro Regsvr32 "${regsvr32}" "/s" "${path}"
  ${If} $0 != 0
    DetailPrint "Registering ${path} failed (regsvr32: $0)."
    MessageBox MB_OK|MB_ICONSTOP "${path} could not be registered (regsvr32: $0).$\r$\n$\r$\n\
${PRODUCT} is not ready; run Setup again, or remove ${PRODUCT} with its uninstaller." /SD IDOK
    SetErrorLevel 2
    Abort "Registering ${PRODUCT} failed."
  ${EndIf}
  DetailPrint "Registered ${path}"
!macroend

; The shipped settings file into the output folder, unless one is there: the
; settings file belongs to the user once it is there.
!macro InstallSettings
  ${IfNot} ${FileExists} "$OUTDIR\Chronoquill.ini"
    File "/oname=Chronoquill.ini" "${SETTINGS}"
  ${EndIf}
!macroend

; The settings file of folder `from` moved to folder `to`, unless `to` has one.
!macro MoveSettings from to
  ${If} ${FileExists} "${from}\Chronoquill.ini"
  ${AndIfNot} ${FileExists} "${to}\Chronoquill.ini"
    CreateDirectory "${to}"
    CopyFiles /SILENT "${from}\Chronoquill.ini" "${to}\Chronoquill.ini"
    ${If} ${FileExists} "${to}\Chronoquill.ini"
      Delete "${from}\Chronoquill.ini"
    ${EndIf}
  ${EndIf}
!macroend

Section "${PRODUCT}" SecMain
  SectionIn RO
  SetShellVarContext current
  !insertmacro StopWhenInUse ""

  ; An earlier installation in another folder gives way to this one; the
  ; user's settings files come along where this folder has none.
  ${If} $PreviousDir != ""
  ${AndIf} $PreviousDir != $INSTDIR
  ${AndIf} ${FileExists} "$PreviousDir\${UNINSTALLER}"
    DetailPrint "Removing the earlier installation in $PreviousDir"
    !insertmacro MoveSettings "$PreviousDir" "$INSTDIR"
    !insertmacro MoveSettings "$PreviousDir\${X64}" "$INSTDIR\${X64}"
    Delete "$PreviousDir\${X64}\Chronoquill.dll"
    Delete "$PreviousDir\${X64}\LibQuintor.dll"
    RMDir "$PreviousDir\${X64}"
    Delete "$PreviousDir\Chronoquill.dll"
    Delete "$PreviousDir\Chronoquill4W.dll"
    Delete "$PreviousDir\LibQuintor.dll"
    Delete "$PreviousDir\${UNINSTALLER}"
    RMDir "$PreviousDir"
  ${EndIf}

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${OUTLOOK_DLL}"
  File "${LIBQUINTOR_DLL}"
  File "${WORD_DLL}"
  !insertmacro InstallSettings
!ifdef OUTLOOK64_DLL
  ${If} ${RunningX64}
    SetOutPath "$INSTDIR\${X64}"
    File "/oname=Chronoquill.dll" "${OUTLOOK64_DLL}"
    File "/oname=LibQuintor.dll" "${LIBQUINTOR64_DLL}"
    !insertmacro InstallSettings
    SetOutPath "$INSTDIR"
  ${EndIf}
!endif
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The entry in the list of installed programs.
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"

  ; Registration last: Office loads the add-ins only once every file is there.
  !insertmacro Register "${REGSVR32}" "$INSTDIR\Chronoquill.dll"
  !insertmacro Register "${REGSVR32}" "$INSTDIR\Chronoquill4W.dll"
!ifdef OUTLOOK64_DLL
  ${If} ${RunningX64}
    !insertmacro Register "${REGSVR32_64}" "$INSTDIR\${X64}\Chronoquill.dll"
  ${EndIf}
!endif
SectionEnd

; ---------------------------------------------------------------------------
; Removal

; Whether two files have the same bytes: pushes 1 or 0.
;   Push <path>, Push <path>, Call un.SameContent, Pop <result>
Function un.SameContent
  Exch $1
  Exch
  Exch $0
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  StrCpy $6 0
  ClearErrors
  FileOpen $2 "$0" r
  ${IfNot} ${Errors}
    FileOpen $3 "$1" r
    ${IfNot} ${Errors}
      FileSeek $2 0 END $4
      FileSeek $3 0 END $5
      ${If} $4 = $5
        FileSeek $2 0 SET
        FileSeek $3 0 SET
        StrCpy $6 1
        ${DoWhile} $4 > 0
          FileReadByte $2 $0
          FileReadByte $3 $1
          ${If} $0 != $1
            StrCpy $6 0
            ${Break}
          ${EndIf}
          IntOp $4 $4 - 1
        ${Loop}
      ${EndIf}
      FileClose $3
    ${EndIf}
    FileClose $2
  ${EndIf}
  StrCpy $0 $6
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; The keys that a DLL's registration writes, removed by name (the ProgID only
; while it names this class), for a DLL that could not unregister itself.
!macro RemoveRegistration clsid progid typelib application
  DeleteRegKey HKCU "Software\Microsoft\Office\${application}\Addins\${progid}"
  DeleteRegKey HKCU "Software\Classes\TypeLib\${typelib}"
  ReadRegStr $0 HKCU "Software\Classes\${progid}\CLSID" ""
  ${If} $0 == "${clsid}"
    DeleteRegKey HKCU "Software\Classes\${progid}"
  ${EndIf}
  DeleteRegKey HKCU "Software\Classes\CLSID\${clsid}"
  ; On 64-bit Windows the class key of the 64-bit view too (the one above is
  ; the 32-bit view's, which Windows shows a 32-bit program).
  ${If} ${RunningX64}
    SetRegView 64
    DeleteRegKey HKCU "Software\Classes\CLSID\${clsid}"
    DeleteRegKey /ifempty HKCU "Software\Classes\CLSID"
    SetRegView 32
  ${EndIf}
  ; Office's keys above it, when nothing else is in them.
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Office\${application}\Addins"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Office\${application}"
!macroend

!macro RemoveLogs folder
  ${If} "${folder}" != ""
    Delete "${folder}\Quintor\Inkwell\WordAddin.log"
    Delete "${folder}\Quintor\Inkwell\LibQuintor.log"
    RMDir "${folder}\Quintor\Inkwell"
    RMDir "${folder}\Quintor"
  ${EndIf}
!macroend

!macro RemoveShippedSettings folder
  ${If} ${FileExists} "${folder}\Chronoquill.ini"
    Push "${folder}\Chronoquill.ini"
    Push "$PLUGINSDIR\shipped.ini"
    Call un.SameContent
    Pop $0
    ${If} $0 = 1
      Delete "${folder}\Chronoquill.ini"
    ${Else}
      DetailPrint "Kept your settings: ${folder}\Chronoquill.ini"
    ${EndIf}
  ${EndIf}
!macroend

Function un.onInit
  SetShellVarContext current
  StrCpy $PreviousDir ""
  Call un.WaitForAddInsFree
  ${If} $R9 != ""
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro StopWhenInUse "un."

  ClearErrors
  !insertmacro Regsvr32 "${REGSVR32}" "/u /s" "$INSTDIR\Chronoquill4W.dll"
  ClearErrors
  !insertmacro Regsvr32 "${REGSVR32}" "/u /s" "$INSTDIR\Chronoquill.dll"
  ${If} ${RunningX64}
  ${AndIf} ${FileExists} "$INSTDIR\${X64}\Chronoquill.dll"
    ClearErrors
    !insertmacro Regsvr32 "${REGSVR32_64}" "/u /s" "$INSTDIR\${X64}\Chronoquill.dll"
  ${EndIf}
  !insertmacro RemoveRegistration "${WORD_CLSID}" "${WORD_PROGID}" "${WORD_TYPELIB}" "Word"
  !insertmacro RemoveRegistration "${OUTLOOK_CLSID}" "${OUTLOOK_PROGID}" "${OUTLOOK_TYPELIB}" "Outlook"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Office"
  DeleteRegKey /ifempty HKCU "Software\Classes\CLSID"
  DeleteRegKey /ifempty HKCU "Software\Classes\TypeLib"

  Delete "$INSTDIR\Chronoquill.dll"
  Delete "$INSTDIR\Chronoquill4W.dll"
  Delete "$INSTDIR\LibQuintor.dll"
  Delete "$INSTDIR\${X64}\Chronoquill.dll"
  Delete "$INSTDIR\${X64}\LibQuintor.dll"

  ; A settings file goes only when it is still the one Setup put there.
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "/oname=shipped.ini" "${SETTINGS}"
  SetOutPath "$TEMP"
  !insertmacro RemoveShippedSettings "$INSTDIR"
  !insertmacro RemoveShippedSettings "$INSTDIR\${X64}"

  ; The add-ins' logs: in the application-data folder, or below the add-ins'
  ; folder when Windows names none.
  !insertmacro RemoveLogs "$APPDATA"
  !insertmacro RemoveLogs "$INSTDIR"
  !insertmacro RemoveLogs "$INSTDIR\${X64}"
  RMDir "$INSTDIR\${X64}"

  ; The user's "Tooltip" value stays, with the keys that hold it.
  DeleteRegKey /ifempty HKCU "${USER_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Quintor"

  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINST_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
SectionEnd
