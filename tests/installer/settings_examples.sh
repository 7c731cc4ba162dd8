#!/usr/bin/env bash
# The settings file that Setup ships, with the stamp preview program under
# Wine at 6 December 2026, 09:05:07 (the prefix pins the short date
# dd.MM.yyyy, the long date "dddd, d. MMMM yyyy" and the time HH:mm:ss):
#   - as shipped, it gives the same stamp as no settings file at all;
#   - every example that its comments show, written
#         ;   <key>=<value>   [description]   <stamp>
#     gives that stamp (a dateformat example with format=date, a timeformat
#     example with format=time);
#   - every row of a "| Settings | Stamp |" table in the user's guide, with
#     the settings lines as `code` in the first cell, gives the `stamp` of
#     the second.
# Environment: CQ_RUNNER (cmake/wine-run.sh), CQ_PREFIX, CQ_PROGRAM
# (chronoquill-stamp.exe), CQ_SCRATCH, CQ_SHIPPED_SETTINGS, CQ_GUIDE.
set -u
: "${CQ_RUNNER:?}" "${CQ_PREFIX:?}" "${CQ_PROGRAM:?}" "${CQ_SCRATCH:?}"
: "${CQ_SHIPPED_SETTINGS:?}" "${CQ_GUIDE:?}"

at=2026-12-06T09:05:07
cases=0
failures=0
rm -rf "$CQ_SCRATCH"
mkdir -p "$CQ_SCRATCH"

# stamp_of DIR: the stamp that the program in DIR prints for the moment.
stamp_of() {
    local dir=$1 exe
    exe=$(basename "$CQ_PROGRAM")
    "$CQ_RUNNER" "$CQ_PREFIX" "$dir/$exe" --at "$at" >"$dir/out.txt" 2>"$dir/err.txt"
    tr -d '\r\n' <"$dir/out.txt"
}

# new_case: a fresh folder with the program in it, as $dir.
new_case() {
    cases=$((cases + 1))
    dir=$CQ_SCRATCH/$cases
    mkdir -p "$dir"
    cp "$CQ_PROGRAM" "$dir/"
}

# judge NAME EXPECTED DETAIL: the program in $dir prints EXPECTED; DETAIL
# goes with a failure.
judge() {
    local got
    got=$(stamp_of "$dir")
    if [ "$got" = "$2" ]; then
        echo "ok   - $1: [$got]"
    else
        failures=$((failures + 1))
        echo "FAIL - $1: [$got], expected [$2]$3"
        cat "$dir/err.txt"
    fi
}

# expect NAME EXPECTED [LINE...]: the stamp with a settings file of these
# lines (CR LF ends; none: no file) is EXPECTED.
expect() {
    local name=$1 expected=$2
    shift 2
    new_case
    [ $# -gt 0 ] && printf '%s\r\n' "$@" >"$dir/Chronoquill.ini"
    judge "$name" "$expected" "; settings: $*"
}

# The shipped file gives the built-in default.
default_stamp='06.12.2026 09:05'
expect "no settings file" "$default_stamp"
new_case
cp "$CQ_SHIPPED_SETTINGS" "$dir/"
judge "the shipped settings file" "$default_stamp" " (the default)"
if ! grep -q $'\r$' "$CQ_SHIPPED_SETTINGS" || grep -q $'[^\r]$' "$CQ_SHIPPED_SETTINGS"; then
    failures=$((failures + 1))
    echo "FAIL - the shipped settings file does not end every line with CR LF"
fi

# The examples in the shipped file's comments: fields are separated by two
# or more blanks; the first is the setting, the last the stamp.
examples=$CQ_SCRATCH/ini-examples.txt
tr -d '\r' <"$CQ_SHIPPED_SETTINGS" |
    sed -n 's/^;  *\(\(format\|dateformat\|timeformat\)=[^<]*\)$/\1/p' |
    sed 's/   */\t/g' | awk -F'\t' 'NF >= 2 { print $1 "\t" $NF }' >"$examples"
ini_examples=$(grep -c . "$examples")
while IFS=$'\t' read -r setting stamp; do
    case $setting in
        dateformat=*) expect "Chronoquill.ini: $setting" "$stamp" format=date "$setting" ;;
        timeformat=*) expect "Chronoquill.ini: $setting" "$stamp" format=time "$setting" ;;
        *) expect "Chronoquill.ini: $setting" "$stamp" "$setting" ;;
    esac
done <"$examples"

# The guide's tables: settings lines and stamp, one row a line, fields by TAB.
rows=$CQ_SCRATCH/guide-examples.txt
awk '
    /^\| *Settings *\| *Stamp *\|/ { table = 1; next }
    table && /^\|[ :-]*\|[ :-]*\|/ { next }
    table && /^\|/ {
        split($0, cell, "|")
        out = ""
        s = cell[2]
        while (match(s, /`[^`]*`/)) {
            out = out substr(s, RSTART + 1, RLENGTH - 2) "\t"
            s = substr(s, RSTART + RLENGTH)
        }
        if (!match(cell[3], /`[^`]*`/)) next
        print substr(cell[3], RSTART + 1, RLENGTH - 2) "\t" out
        next
    }
    { table = 0 }' "$CQ_GUIDE" >"$rows"
guide_examples=$(grep -c . "$rows")
while IFS= read -r row; do
    IFS=$'\t' read -r -a fields <<<"$row"
    name=${fields[*]:1}
    expect "guide: ${name:-(no file)}" "${fields[0]}" "${fields[@]:1}"
done <"$rows"

for count in ini_examples guide_examples; do
    if [ "${!count}" -lt 5 ]; then
        failures=$((failures + 1))
        echo "FAIL - only ${!count} $count found"
    fi
done
echo "$((cases - failures)) of $cases cases passed ($ini_examples examples in Chronoquill.ini, $guide_examples in the guide)"
[ "$failures" -eq 0 ]
