#!/usr/bin/env bash
# A script writer's view of the Outlook add-in: Wine's own script host (the
# 32-bit cscript.exe, VBScript) makes "Chronoquill.Connect" and calls GetStamp
# by name in each way VBScript can: with Variant variables, with variables
# that hold strings, as a statement, and with literals. An unknown member and
# a missing argument give VBScript's own errors.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start vbscript

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL"
e2e_register "$stage/Chronoquill.dll"

script=$WORK/stamp.vbs
cat >"$script" <<'VBS'
Set addin = CreateObject("Chronoquill.Connect")
Dim s, t
ok = addin.GetStamp(s, t)
WScript.Echo "variants: " & ok & "|" & TypeName(s) & "|" & s & "|" & t
Dim s2, t2
s2 = "before" : t2 = "before"
ok = addin.GetStamp(s2, t2)
WScript.Echo "strings: " & ok & "|" & s2 & "|" & t2
addin.GetStamp s3, t3
WScript.Echo "statement: " & s3 & "|" & t3
ok = addin.GetStamp("", "")
WScript.Echo "literals: " & ok
On Error Resume Next
addin.NoSuchMember
WScript.Echo "unknown member: " & Err.Number & " " & Err.Description
Err.Clear
ok = addin.GetStamp(s4)
WScript.Echo "one argument: " & Err.Number
Err.Clear
Set addin = Nothing
WScript.Echo "done"
VBS
# The 32-bit script host: in a 64-bit prefix it is the one in syswow64.
host='C:\windows\system32\cscript.exe'
[ -f "$E2E_PREFIX/drive_c/windows/syswow64/cscript.exe" ] && host='C:\windows\syswow64\cscript.exe'
check "cscript runs the script" wine_ "$host" //nologo "$(winpath "$script")" \
    >"$WORK/script.out" 2>"$WORK/script.err"
tr -d '\r' <"$WORK/script.out" >"$WORK/vbscript.out"
out=$WORK/vbscript.out

check "Variant variables receive the stamp and the tooltip" \
    has_match "$out" "^variants: True\|String\|$STAMP_RE\|Insert date and time\$"
check "variables that hold strings receive them too" \
    has_match "$out" "^strings: True\|$STAMP_RE\|Insert date and time\$"
check "a call as a statement fills its variables" \
    has_match "$out" "^statement: $STAMP_RE\|Insert date and time\$"
check "literals are taken" has_line "$out" "literals: True"
check "an unknown member is error 438" \
    has_line "$out" "unknown member: 438 Object doesn't support this property or method"
check "a missing argument is error 450" has_line "$out" "one argument: 450"
check "the script ends" has_line "$out" "done"
