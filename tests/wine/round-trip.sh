#!/usr/bin/env bash
# A demo installation's whole life under Wine, as a user lives it: install with the default
# choices; open a preset through its association and start the desktop shortcut (the demo
# program shows what it was given); save a preset of one's own and change a factory one; then
# remove the product through its uninstall entry, once answering Cancel and then silently ("/S").
# Afterwards the file tree and the registry keys involved are as before the installation, but
# for the user's two presets and the folders that hold them.
#   round-trip.sh plain  - the default folders of a fresh Windows user
#   round-trip.sh intl   - documents, desktop, application data, plug-in and program folders
#                          with non-ASCII names and spaces, as in end-to-end.sh intl
#   round-trip.sh held   - a dsp library held open by another program during the first,
#                          interactive removal: reported, the rest goes, a second run finishes
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=${1:-plain}
source "$here/wine-env.sh"
trap 'wine_cleanup "$BASH_COMMAND"' EXIT
wine_env_setup "round-trip-$mode"


if [ "$mode" = intl ]; then
    use_non_ascii_folders
else
    program='C:\Program Files (x86)\Kestrune\Sorna\'
fi
wineserver -w
documents=$(probe folder personal)
desktop=$(probe folder desktop)
content="$documents\\Kestrune\\Sorna"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorna1.8'

# The file tree (the system folder aside, which the product never touches) and every value
# under the registry keys that an installation writes, in the 32-bit view the installer uses.
snapshot()
{
    local name=$1 key
    wineserver -w
    find "$WINEPREFIX/drive_c" "$HOME" -path "$WINEPREFIX/drive_c/windows" -prune \
         -o -type d -printf 'd %p\n' -o -printf '%y %s %p\n' | LC_ALL=C sort > "$WINE_ROOT/$name.files"
    for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 'HKCU\Software\Classes\.srn' \
               'HKCU\Software\Classes\SornaPreset' 'HKCU\Software\Kestrune'; do
        echo "[$key]"
        wine reg query "$key" /s /reg:32 2>/dev/null | tr -d '\r' || echo "(no such key)"
    done > "$WINE_ROOT/$name.registry"
}
same_as()
{
    local what=$1 earlier=$2 later=$3
    diff "$WINE_ROOT/$earlier.files" "$WINE_ROOT/$later.files" >&2 || fail "$what: the files differ from $earlier"
    diff "$WINE_ROOT/$earlier.registry" "$WINE_ROOT/$later.registry" >&2 || fail "$what: the registry differs from $earlier"
}
listed() { grep -q '|||Sorna 1\.8$' <<< "$(wine uninstaller --list 2>/dev/null | tr -d '\r')"; }

snapshot before
! listed || fail "Sorna 1.8 is listed before the installation"

# 1. Install with the default choices.
install_to_report
[ -f "$(wine_unix_path "${program}Uninstall.exe")" ] || fail "no Uninstall.exe in $program"
listed || fail "Sorna 1.8 is not in the system's list of programs"

# 2. The demo program, started as a double-click and as the shortcut start it. Its window is
# found by title; what it shows is copied out of it (click, select all, copy) and read back.
demo_shows()
{
    local title=$1 expected=$2 id shown
    id=$(wait_for_window "$title" 60) || fail "no window titled '$title'"
    # A click can come before the window takes input: it is tried again until the copy arrives.
    for _ in $(seq 10); do
        sleep 1
        xdotool windowfocus "$id" 2>/dev/null || true
        xdotool mousemove --window "$id" 300 150 click 1
        sleep 0.3
        xdotool key ctrl+a ctrl+c
        sleep 0.5
        shown=$(probe clipboard || true)
        [ -n "$shown" ] && break
    done
    save_window_picture "$id" "$WINE_ROOT/demo-$((++demo_starts)).png"
    [[ $shown == "$expected"* ]] || fail "'$title' shows '$shown', expected '$expected'"
    close_with_key "$id" Escape
    wineserver -w
}
demo_starts=0
presets=$(wine_unix_path "$content\\presets")
factory=$(find "$presets" -name '*.srn' -printf '%f\n' | LC_ALL=C sort | sed -n 1p)
# Windows' shell merges the user's classes over the machine's, Wine's reads the machine's only:
# for the double-click the user's association is lent to the machine's classes, as the merged
# view would show it, and taken back at once.
for class in .srn SornaPreset; do
    wine reg copy "HKCU\\Software\\Classes\\$class" "HKLM\\Software\\Classes\\$class" /s /f >/dev/null 2>&1 \
        || fail "cannot lend $class to the machine's classes"
done
wine start "$content\\presets\\$factory" >/dev/null 2>&1 || fail "the shell cannot open $factory"
demo_shows "Sorna 1.8 demo - $factory" "Preset: $content\\presets\\$factory
Working folder: "
for class in .srn SornaPreset; do
    wine reg delete "HKLM\\Software\\Classes\\$class" /f >/dev/null 2>&1
done
# Wine's shell follows a shortcut's plain target path, which Wine keeps in the ANSI code page
# only: for a target outside it the probe starts what the link's item list opens, as Windows'
# shell does.
if [ "$mode" = intl ]; then
    probe start-link "$desktop\\Sorna.lnk" >/dev/null || fail "the desktop shortcut cannot be started"
else
    wine start "$desktop\\Sorna.lnk" >/dev/null 2>&1 || fail "the shell cannot start the desktop shortcut"
fi
demo_shows "Sorna 1.8 demo" "Preset: none
Working folder: ${program%\\}"

# 3. The user's own preset, and a factory preset the user changed.
own="$presets/Мой пресет Zoë.srn"
changed="$presets/$(find "$presets" -name '*.srn' -printf '%f\n' | LC_ALL=C sort | sed -n 2p)"
printf '<SornaPreset name="mine"/>\r\n' > "$own"
printf '<!-- edited -->\r\n' >> "$changed"
snapshot installed

# 4. The uninstall entry's command, as the program list reads and runs it: Cancel changes nothing.
command=$(value "$uninstall\\UninstallString")
expect_equal "uninstall command" "$command" "\"${program}Uninstall.exe\""
remove()  # arguments -> the uninstaller's exit code on stdout
{
    local ran
    ran=$(wine "$SORNA_WINE_PROBE" run "$command${1:+ $1}" 2>/dev/null | tr -d '\r' || true)
    sed -n 's/^exit=//p' <<< "$ran"
}
remove > "$WINE_ROOT/cancel.exit" &
box=$(wait_for_window "Uninstall Sorna 1.8" 60) || fail "no question before removing"
close_with_key "$box" Escape
wait $!
expect_equal "exit code after Cancel" "$(cat "$WINE_ROOT/cancel.exit")" 1
snapshot cancelled
same_as "after Cancel" installed cancelled

if [ "$mode" = held ]; then
    # A running program keeps the 32-bit dsp library open: the removal reports it and goes on.
    library="${program}ipp_srn.dll"
    wine "$SORNA_WINE_PROBE" hold "$library" 600 > "$WINE_ROOT/hold.out" 2>/dev/null &
    holder=$!
    for _ in $(seq 100); do grep -q held "$WINE_ROOT/hold.out" 2>/dev/null && break; sleep 0.2; done
    grep -q held "$WINE_ROOT/hold.out" || fail "the helper could not hold the library open"
    remove > "$WINE_ROOT/held.exit" &
    remover=$!
    box=$(wait_for_window "Uninstall Sorna 1.8" 60) || fail "no question before removing"
    close_with_key "$box" Return
    report=$(wait_for_window "Sorna was removed" 120) || fail "no final report"
    sleep 1
    save_window_picture "$report" "$WINE_ROOT/report.png"
    close_with_key "$report" Return
    wait "$remover"
    expect_equal "exit code with a file in use" "$(cat "$WINE_ROOT/held.exit")" 1
    kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true
    wineserver -w

    # The report names the library as in use.
    expect_report_phrases "$(report_text)" "ipp_srn.dll (in use: could not be removed)" \
        "Some items are in use" "run the uninstaller again"
    # The held file stays; the programs, the content and the shortcut are gone already.
    [ -f "$(wine_unix_path "$library")" ] || fail "the held library went"
    for gone in "${program}Sorna.exe" "${program}ipp_srn64.dll" "$desktop\\Sorna.lnk" "$content\\presets\\$factory"; do
        [ ! -e "$(wine_unix_path "$gone")" ] || fail "$gone is still there after the first removal"
    done
    listed || fail "the uninstall entry went before the removal was complete"
    command=$(value "$uninstall\\UninstallString")
fi

# 5. The silent removal, then nothing of the installation is left.
expect_equal "exit code of the silent removal" "$(remove /S)" 0
snapshot after
! listed || fail "Sorna 1.8 is still in the system's list of programs"
diff "$WINE_ROOT/before.registry" "$WINE_ROOT/after.registry" >&2 || fail "the registry differs from before the installation"
# Only the two presets and the folders that hold them may be new (found where they really
# are: Wine links the user's folders to the home folder).
expected=$(
    folder=$(readlink -f "$presets")
    while ! grep -qxF "d $folder" "$WINE_ROOT/before.files"; do
        echo "d $folder"
        folder=$(dirname "$folder")
    done
    for file in "$own" "$changed"; do echo "f $(stat -c %s "$file") $(readlink -f "$file")"; done
)
added=$(LC_ALL=C comm -13 "$WINE_ROOT/before.files" "$WINE_ROOT/after.files")
removed=$(LC_ALL=C comm -23 "$WINE_ROOT/before.files" "$WINE_ROOT/after.files")
[ -z "$removed" ] || fail "gone since before the installation:
$removed"
expect_equal "new since before the installation" "$added" "$(LC_ALL=C sort <<< "$expected")"
grep -q mine "$own" && grep -q edited "$changed" || fail "the user's presets were changed"
echo "round-trip ($mode): installed, used, cancelled, removed; only the user's presets are left"
