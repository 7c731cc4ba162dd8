#!/usr/bin/env bash
# Inline replies in Outlook 2013 and later with the real Chronoquill.dll: the
# main window's ribbon ("Microsoft.Outlook.Explorer") gets the Stamps group on
# the Message tab of Compose Tools, from Outlook 2013 (15) on only. In the
# scripted Outlook 2016 a reply opened inline in the reading pane shows the
# group; its button types the stamp and one space into the reply; after the
# settings change to time only, a click types the time, and the button reads
# "Time" and "Insert time"; closing the reply takes the group away, and a
# popped-out compose window is served as before. The inline reply with the
# group is saved as outlook16-inline.png (docs/screenshots/inline-reply.png).
#
# The host and the add-in come from E2E_HOSTS and E2E_OUTLOOK_DLL (with
# E2E_LIBQUINTOR_DLL), so the same scenario runs with the 32-bit and the 64-bit
# scripted Outlook and add-in.
. "$(dirname "$0")/e2e-lib.sh"
e2e_start outlook_inline

stage=$WORK/addins
e2e_stage "$stage" "$E2E_OUTLOOK_DLL" "$E2E_LIBQUINTOR_DLL"
e2e_register "$stage/Chronoquill.dll"

# The explorer's markup as the add-in documents it: pieces, each after so many blanks.
markup=""
while IFS='|' read -r blanks text; do
    markup+="$(printf '%*s' "$blanks" '')$text"
done <<'PIECES'
0|<customUI xmlns="http://schemas.microsoft.com/office/2009/07/customui" onLoad="Ribbon_OnLoad">
2|<ribbon>
4|<contextualTabs>
6|<tabSet idMso="TabComposeTools">
8|<tab idMso="TabMessage">
10|<group id="Quintor.Stamps" label="Stamps">
14|<button
18|id = "Quintor.btnStamp"
18|onAction = "Button_Action"
18|getScreentip = "Button_GetScreentip"
18|getImage = "Button_GetImage"
18|getLabel="Button_GetLabel"
18|size = "large"
16|/>
11|</group>
8|</tab>
6|</tabSet>
4|</contextualTabs>
2|</ribbon>
0|</customUI>
PIECES

# Per version: what GetCustomUI("Microsoft.Outlook.Explorer") gives, and
# whether Outlook asks for it at start-up (2010 and later do).
versions="12:none:no
14:none:yes
15:markup:yes
16:markup:yes"
while IFS=: read -r version answer asked; do
    file=$WORK/explorer-$version.xml
    check "Outlook $version runs its script" run_host outlook "explorer$version" --version "$version" \
        "custom-ui Microsoft.Outlook.Explorer $(winpath "$file")" \
        "custom-ui Microsoft.Outlook.Mail.Compose $(winpath "$WORK/compose-$version.xml")"
    out=$WORK/explorer$version.out
    expected=""
    [ "$answer" = markup ] && expected=$markup
    check "Outlook $version: the explorer's markup is ${answer}" test "$(cat "$file")" = "$expected"
    check "Outlook $version: the compose window's markup is still on TabNewMailMessage" \
        grep -q '<tab idMso="TabNewMailMessage">' "$WORK/compose-$version.xml"
    if [ "$asked" = yes ]; then
        check "Outlook $version asks for the explorer's ribbon at start-up" has_line "$out" \
            "ribbon Microsoft.Outlook.Explorer: Chronoquill.Connect gave ${#expected} characters of markup"
    else
        check "Outlook $version does not ask for an explorer ribbon" \
            lacks_match "$out" '^ribbon Microsoft.Outlook.Explorer:'
    fi
    check "Outlook $version lets go of every host object" has_line "$out" \
        'host references: 0 (exported objects 0)'
    check "Outlook $version ends without error" lacks_match "$out" '^error:'
done <<<"$versions"

shot=$WORK/outlook16-inline.bmp
check "Outlook 2016 replies inline and clicks the stamp button" run_host outlook inline16 \
    --version 16 delete-ini "ribbon explorer" reply-inline "ribbon explorer" ribbon-click \
    print-editor "set-ini format=time" ribbon-click print-editor "ribbon explorer" \
    "hover Quintor.btnStamp" "screenshot $(winpath "$shot")" close-inline "ribbon explorer" \
    print-editor "new mail" ribbon ribbon-click print-editor delete-ini
out=$WORK/inline16.out
to_png "$shot"

group='ribbon of explorer: tab=TabComposeTools/TabMessage group="Stamps" button=Quintor.btnStamp size=large'
check "the explorer's ribbon is loaded once at start-up, with Ribbon_OnLoad" \
    count_is "$out" '^ribbon Microsoft.Outlook.Explorer: Ribbon_OnLoad called$' 1
check "no group before a reply is opened" has_line "$out" 'ribbon of explorer: none'
check "the inline reply shows the group on Compose Tools, Message, reading Date Time" has_line \
    "$out" "$group"' label="Date Time" screentip="Insert date and time" image=icon 32x32'
check "a click types the stamp and one space into the inline reply" \
    has_match "$out" "^editor: \"$STAMP_RE \"\$"
check "after the settings changed to time only, the click types the time" \
    has_match "$out" "^editor: \"$STAMP_RE $TIME_RE \"\$"
check "the button was invalidated once" count_is "$out" '^ribbon invalidated: Quintor.btnStamp$' 1
check "then it reads Time, Insert time" has_line "$out" \
    "$group"' label="Time" screentip="Insert time" image=icon 32x32'
check "closing the reply takes the group away" \
    test "$(grep -A2 '^explorer: inline reply closed$' "$out" | sed -n 2p)" = 'ribbon of explorer: none'
check "and the reading pane shows the message again" has_match "$out" '^editor: "From: Microsoft Outlook'
check "a popped-out compose window gets the group on its Message tab, reading Time" has_line "$out" \
    'ribbon of window 1: tab=TabNewMailMessage group="Stamps" button=Quintor.btnStamp size=large label="Time" screentip="Insert time" image=icon 32x32'
check "and its button types the time there" has_match "$out" "^editor: \"$TIME_RE \"\$"
check "no message box came up" lacks_match "$out" '^message-box:'
check "every host object is let go" has_line "$out" 'host references: 0 (exported objects 0)'
check "the host ends without error" lacks_match "$out" '^error:'
