#!/usr/bin/env bash
# Outlook 2007 and later (E2E_OUTLOOK_VERSION, 12 unless set; the 64-bit build
# runs it as a 64-bit Outlook 2016) with the real Chronoquill.dll: the add-in
# connects and starts the support library; GetCustomUI gives the exact markup
# for every compose window type and none for the others, those that Outlook
# 2010 and later ask for included; the ribbon button types the stamp; after
# the settings file changes to time only, the next click types the time, and
# the button's label and screentip read "Time" and "Insert time". With
# E2E_STAMP_CLIENTS (client programs, of either bitness), each asks the running
# Outlook for a stamp by name across processes. Unregistered, the add-in
# leaves no key of its own.
. "$(dirname "$0")/e2e-lib.sh"
version=${E2E_OUTLOOK_VERSION:-12}
e2e_start "outlook$version"

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL"
e2e_register "$stage/Chronoquill.dll"

# The markup as the add-in documents it: pieces, each after so many blanks.
template=""
while IFS='|' read -r blanks text; do
    template+="$(printf '%*s' "$blanks" '')$text"
done <<'PIECES'
0|<customUI xmlns="http://schemas.microsoft.com/office/2006/01/customui" onLoad="Ribbon_OnLoad">
2|<ribbon>
4|<tabs>
6|<tab idMso="%s">
8|<group id="Quintor.Stamps" label="Stamps">
12|<button
16|id = "Quintor.btnStamp"
16|onAction = "Button_Action"
16|getScreentip = "Button_GetScreentip"
16|getImage = "Button_GetImage"
16|getLabel="Button_GetLabel"
16|size = "large"
14|/>
9|</group>
6|</tab>
4|</tabs>
2|</ribbon>
0|</customUI>
PIECES
check "the expected template has 532 characters" test "${#template}" -eq 532

ribbons="Microsoft.Outlook.Mail.Compose:TabNewMailMessage
Microsoft.Outlook.MeetingRequest.Send:TabNewMailMessage
Microsoft.Outlook.Appointment:TabAppointment
Microsoft.Outlook.Contact:TabContact
Microsoft.Outlook.Journal:TabJournal
Microsoft.Outlook.Task:TabTask
Microsoft.Outlook.DistributionList:TabDistributionList
Microsoft.Outlook.Resend:TabNewMailMessage
Microsoft.Outlook.Response.Compose:TabNewMailMessage
Microsoft.Outlook.Post.Compose:TabNewMailMessage
Microsoft.Outlook.Sharing.Compose:TabNewMailMessage
Microsoft.Outlook.Mail.Read:
Microsoft.Outlook.Post.Read:
Microsoft.Outlook.MeetingRequest.Read:
microsoft.outlook.mail.compose:
Microsoft.Outlook.Mail.Compose.:
Microsoft.Outlook.Response.Read:
Microsoft.OMS.SMS.Compose:
Microsoft.Mso.IMLayerUI:
:"
# The main window's ribbon has no group before Outlook 2013; from then on it
# has the inline reply's, which outlook_inline.sh checks.
if [ "$version" -lt 15 ]; then
    ribbons="Microsoft.Outlook.Explorer:
$ribbons"
fi
script=$WORK/outlook$version.txt
: >"$script"
n=0
while IFS=: read -r id tab; do
    n=$((n + 1))
    echo "custom-ui \"$id\" \"$(winpath "$WORK/markup-$n.xml")\"" >>"$script"
done <<<"$ribbons"
cat >>"$script" <<SCRIPT
delete-ini
new mail
ribbon
ribbon-click
print-editor
set-ini format=time
ribbon-click
print-editor
ribbon
ribbon-click
hover Quintor.btnStamp
screenshot $(winpath "$WORK/outlook$version-mail.bmp")
delete-ini
SCRIPT
rm -f "$E2E_PREFIX"/drive_c/users/*/AppData/Roaming/Quintor/Inkwell/LibQuintor.log
check "Outlook $version runs its script" run_host outlook "outlook$version" --version "$version" \
    --script "$(winpath "$script")"
out=$WORK/outlook$version.out
to_png "$WORK/outlook$version-mail.bmp"

check "Outlook $version connects the add-in" has_match "$out" '^add-in Chronoquill.Connect: connected in '
check "the support library starts" has_match "$(ls "$E2E_PREFIX"/drive_c/users/*/AppData/Roaming/Quintor/Inkwell/LibQuintor.log | head -1)" \
    'LibQuintor::LibQuintorInitEx.*started, log level 2'


n=0
while IFS=: read -r id tab; do
    n=$((n + 1))
    expected=""
    [ -n "$tab" ] && expected=${template//%s/$tab}
    check "GetCustomUI(\"$id\") gives ${tab:-no markup}" \
        test "$(cat "$WORK/markup-$n.xml")" = "$expected"
done <<<"$ribbons"

check "the compose window's ribbon is loaded once, with Ribbon_OnLoad" \
    count_is "$out" '^ribbon Microsoft.Outlook.Mail.Compose: Ribbon_OnLoad called$' 1
check "before any click the button reads Date Time" has_line "$out" \
    'ribbon of window 1: tab=TabNewMailMessage group="Stamps" button=Quintor.btnStamp size=large label="Date Time" screentip="Insert date and time" image=icon 32x32'
check "a click types the stamp and one space" has_match "$out" "^editor: \"$STAMP_RE \"\$"
check "after the settings changed to time only, the click types the time" \
    has_match "$out" "^editor: \"$STAMP_RE $TIME_RE \"\$"
check "the button was invalidated once" count_is "$out" '^ribbon invalidated: Quintor.btnStamp$' 1
check "then it reads Time, Insert time" has_line "$out" \
    'ribbon of window 1: tab=TabNewMailMessage group="Stamps" button=Quintor.btnStamp size=large label="Time" screentip="Insert time" image=icon 32x32'
check "no message box came up" lacks_match "$out" '^message-box:'
check "every host object is let go" has_line "$out" 'host references: 0 (exported objects 0)'
check "the host ends without error" lacks_match "$out" '^error:'

# GetStamp by name from other processes, while Outlook serves. A client of
# the other bitness comes from the other build's tree (the 32-bit one from
# build/win32: build that first).
if [ -n "${E2E_STAMP_CLIENTS:-}" ]; then
    check "Outlook $version is running for the clients" start_outlook serving --version "$version" \
        "set-ini format=date"
    n=0
    for client in $E2E_STAMP_CLIENTS; do
        n=$((n + 1))
        check "client $n is built: $client" test -f "$client"
        timeout 120 "$E2E_RUNNER" "$E2E_PREFIX" "$client" >"$WORK/client-$n.raw" 2>"$WORK/client-$n.err"
        tr -d '\r' <"$WORK/client-$n.raw" >"$WORK/client-$n.out"
        check "client $n ($(cut -d: -f1 "$WORK/client-$n.out")) gets the date and its tooltip by name" \
            has_match "$WORK/client-$n.out" \
            "^client (32|64)-bit: get-stamp: true stamp=\"$DATE_RE\" tooltip=\"Insert date\"\$"
    done
    touch "$WORK/serving.stop"
    wait "$OUTLOOK_PID"
    check "the serving Outlook lets go of every host object" has_line "$WORK/serving.out" \
        'host references: 0 (exported objects 0)'
    run_host outlook cleanup --version "$version" delete-ini || true
fi

e2e_unregister "$stage/Chronoquill.dll"
e2e_forget_mirrors
reg_query "$WORK/classes.txt" 'HKCU\Software\Classes' /s
reg_query "$WORK/addins.txt" 'HKCU\Software\Microsoft\Office\Outlook\Addins' /s
check "unregistered, no class of the add-in stays" lacks_match "$WORK/classes.txt" '[Cc]hronoquill'
check "nor its Outlook Addins entry" lacks_match "$WORK/addins.txt" '[Cc]hronoquill'
