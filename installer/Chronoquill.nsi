; Chronoquill-Setup.exe: installs the Outlook add-in (Chronoquill.dll with the
; support library LibQuintor.dll beside it) and the Word add-in
; (Chronoquill4W.dll) for the current user, without administrator rights, and
; registers them the way regsvr32 does (each DLL's DllRegisterServer, which
; writes per-user keys only). The uninstaller removes the files and every key
; that installing or registering wrote; it keeps the user's "Tooltip" value
; and a settings file that the user changed.
;
; Built by installer/CMakeLists.txt:
;   makensis -NOCD -DVERSION=1.0.1 -DOUTFILE=Chronoquill-Setup.exe
;            -DOUTLOOK_DLL=... -DWORD_DLL=... -DLIBQUINTOR_DLL=...
;            -DSETTINGS=Chronoquill.ini -DICON=main_icon32.ico Chronoquill.nsi
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

!define PRODUCT "Chronoquill"
!define PUBLISHER "Quintor"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Chronoquill"
!define UNINSTALLER "Uninstall.exe"
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
administrator rights.$\r$\n$\r$\n${PRODUCT} adds a stamp button to Outlook 2000 to 2007 and to Word \
2000 to 2003 as the e-mail editor: one click types the date and time at the caret.$\r$\n$\r$\n\
Please close Outlook and Word before you continue.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "Start Outlook and Word again: new message windows now have the stamp \
button.$\r$\n$\r$\nThe stamp's layout is set in Chronoquill.ini in $INSTDIR; the file explains its \
settings."
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

; regsvr32 for a DLL: its DllRegisterServer, or with /u its DllUnregisterServer.
; Leaves regsvr32's exit code in $0 (0: done).
!macro Regsvr32 options path
  ExecWait '"$SYSDIR\regsvr32.exe" ${options} "${path}"' $0
  ${If} ${Errors}
    StrCpy $0 "not started"
  ${EndIf}
!macroend

!macro Register path
  ClearErrors
  !insertmacro Regsvr32 "/s" "${path}"
  ${If} $0 != 0
    DetailPrint "Registering ${path} failed (regsvr32: $0)."
    MessageBox MB_OK|MB_ICONSTOP "${path} could not be registered (regsvr32: $0).$\r$\n$\r$\n\
${PRODUCT} is not ready; run Setup again, or remove ${PRODUCT} with its uninstaller." /SD IDOK
    SetErrorLevel 2
    Abort "Registering ${PRODUCT} failed."
  ${EndIf}
  DetailPrint "Registered ${path}"
!macroend

Section "${PRODUCT}" SecMain
  SectionIn RO
  SetShellVarContext current
  !insertmacro StopWhenInUse ""

  ; An earlier installation in another folder gives way to this one; the
  ; user's settings file comes along when this folder has none.
  ${If} $PreviousDir != ""
  ${AndIf} $PreviousDir != $INSTDIR
  ${AndIf} ${FileExists} "$PreviousDir\${UNINSTALLER}"
    DetailPrint "Removing the earlier installation in $PreviousDir"
    CreateDirectory "$INSTDIR"
    ${If} ${FileExists} "$PreviousDir\Chronoquill.ini"
    ${AndIfNot} ${FileExists} "$INSTDIR\Chronoquill.ini"
      CopyFiles /SILENT "$PreviousDir\Chronoquill.ini" "$INSTDIR\Chronoquill.ini"
      ${If} ${FileExists} "$INSTDIR\Chronoquill.ini"
        Delete "$PreviousDir\Chronoquill.ini"
      ${EndIf}
    ${EndIf}
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
  ; The settings file belongs to the user once it is there.
  ${IfNot} ${FileExists} "$INSTDIR\Chronoquill.ini"
    File "/oname=Chronoquill.ini" "${SETTINGS}"
  ${EndIf}
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
  !insertmacro Register "$INSTDIR\Chronoquill.dll"
  !insertmacro Register "$INSTDIR\Chronoquill4W.dll"
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
  !insertmacro Regsvr32 "/u /s" "$INSTDIR\Chronoquill4W.dll"
  ClearErrors
  !insertmacro Regsvr32 "/u /s" "$INSTDIR\Chronoquill.dll"
  !insertmacro RemoveRegistration "${WORD_CLSID}" "${WORD_PROGID}" "${WORD_TYPELIB}" "Word"
  !insertmacro RemoveRegistration "${OUTLOOK_CLSID}" "${OUTLOOK_PROGID}" "${OUTLOOK_TYPELIB}" "Outlook"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Office"
  DeleteRegKey /ifempty HKCU "Software\Classes\CLSID"
  DeleteRegKey /ifempty HKCU "Software\Classes\TypeLib"

  Delete "$INSTDIR\Chronoquill.dll"
  Delete "$INSTDIR\Chronoquill4W.dll"
  Delete "$INSTDIR\LibQuintor.dll"

  ; The settings file goes only when it is still the one Setup put there.
  ${If} ${FileExists} "$INSTDIR\Chronoquill.ini"
    InitPluginsDir
    SetOutPath "$PLUGINSDIR"
    File "/oname=shipped.ini" "${SETTINGS}"
    SetOutPath "$TEMP"
    Push "$INSTDIR\Chronoquill.ini"
    Push "$PLUGINSDIR\shipped.ini"
    Call un.SameContent
    Pop $0
    ${If} $0 = 1
      Delete "$INSTDIR\Chronoquill.ini"
    ${Else}
      DetailPrint "Kept your settings: $INSTDIR\Chronoquill.ini"
    ${EndIf}
  ${EndIf}

  ; The add-ins' logs: in the application-data folder, or below the add-ins'
  ; folder when Windows names none.
  !insertmacro RemoveLogs "$APPDATA"
  !insertmacro RemoveLogs "$INSTDIR"

  ; The user's "Tooltip" value stays, with the keys that hold it.
  DeleteRegKey /ifempty HKCU "${USER_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Quintor"

  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINST_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
SectionEnd
