#!/usr/bin/env bash
# What runs with administrator rights takes nothing that another program of the user's could
# have put in its way.
# 1. DLLs. The marker DLL (marker_dll.c) stands under every name our programs load: beside the
#    installer in the downloads folder, which is also the folder the demo program is started
#    from, and in the temporary folder, which is the uninstaller copy's working folder. Each
#    name is set to load native first, as Windows does for a DLL it finds beside a program. The
#    installer installs, the demo program starts, the uninstaller removes it all, and no marker
#    is ever loaded. Windows' KnownDLLs are left out: Windows maps those from the system folder
#    only, whatever stands beside a program, while Wine has no such list.
# 2. The temporary folder. "Sorna" and names like it stand in the temporary folder beforehand,
#    as links to a folder with a canary file in it. After an installation without a failure and
#    one with a failure (whose temporary folder stays), that folder is as it was and both
#    installations are complete; the uninstaller leaves nothing behind in the temporary folder.
#    The rules the job's folders are made with are checked by private_folder_check.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
# A program that loaded a marker most often fails soon after: the markers are named first.
loaded_markers() { find "$WINE_ROOT" -name '*.loaded' -printf '%P\n' 2>/dev/null; }
trap 'loaded=$(loaded_markers); [ -z "$loaded" ] || echo "FAIL: marker DLLs were loaded:
$loaded" >&2; wine_cleanup "$BASH_COMMAND"' EXIT
wine_env_setup admin-rights
: "${SORNA_MARKER_DLL:?}" "${SORNA_PRIVATE_FOLDER_CHECK:?}" "${SORNA_WINDOWS_BUILD_DIR:?}"

program='C:\Program Files (x86)\Kestrune\Sorna\'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorna1.8'
temp=$(probe folder temp)
temp_unix=$(wine_unix_path "$temp")
desktop=$(probe folder desktop)
downloads=$WINE_ROOT/Downloads
mkdir -p "$downloads"
cp "$SORNA_INSTALLER_EXE" "$downloads/SornaInstaller.exe"

# Starts the installed demo program from the downloads folder and closes it again.
run_demo() # log
{
    (cd "$downloads" && exec wine "$(wine_unix_path "${program}Sorna.exe")" >/dev/null 2>"$1") &
    local window
    window=$(wait_for_window "Sorna 1.8 demo" 60) || fail "the demo program did not start"
    close_with_key "$window" Escape
    wineserver -w
}
# Removes the product silently through its uninstall entry; prints the exit code.
remove_silently() # log
{
    local command
    command=$(value "$uninstall\\UninstallString")
    [ -n "$command" ] || fail "no uninstall entry"
    wine "$SORNA_WINE_PROBE" run "$command /S" 2>"$1" | tr -d '\r' | sed -n 's/^exit=//p'
    wineserver -w
}

# The names: the import tables of the three programs, the DLLs they delay-load, and every DLL
# that Wine loaded while they installed, ran and removed the product once.
for exe in "$SORNA_INSTALLER_EXE" "$SORNA_WINDOWS_BUILD_DIR/Uninstall.exe" "$SORNA_WINDOWS_BUILD_DIR/demo/Sorna.exe"; do
    i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p'
done > "$WINE_ROOT/names.txt"
for list in "$SORNA_WINDOWS_BUILD_DIR"/delay-import/*.def; do
    [ ! -f "$list" ] || sed -n 's/^LIBRARY //p' "$list"
done >> "$WINE_ROOT/names.txt"
WINEDEBUG=+loaddll install_to_report "$downloads/SornaInstaller.exe" "$WINE_ROOT/trace-install.log"
WINEDEBUG=+loaddll run_demo "$WINE_ROOT/trace-demo.log"
expect_equal "exit code of the traced removal" "$(WINEDEBUG=+loaddll remove_silently "$WINE_ROOT/trace-remove.log")" 0
grep -ho 'Loaded L"[^"]*"' "$WINE_ROOT"/trace-*.log | sed 's/^Loaded L"//; s/"$//; s/.*\\//' >> "$WINE_ROOT/names.txt"
known=(advapi32 clbcatq comdlg32 difxapi gdi32 imagehlp imm32 kernel32 kernelbase msctf msvcrt normaliz nsi ntdll
       ole32 oleaut32 psapi rpcrt4 sechost setupapi shell32 shlwapi user32 wldap32 ws2_32)
known=" ${known[*]} "
names=$(tr 'A-Z' 'a-z' < "$WINE_ROOT/names.txt" | sed -n 's/\.dll$//p' | LC_ALL=C sort -u \
        | while read -r name; do [[ $known == *" $name "* ]] || echo "$name"; done)
for name in version winmm wininet dxgi; do
    grep -qx "$name" <<< "$names" || fail "the programs no longer load $name.dll: the list of names is incomplete"
done
echo "markers under $(wc -l <<< "$names") names: $(tr '\n' ' ' <<< "$names")"

overrides=
for name in $names; do
    cp "$SORNA_MARKER_DLL" "$downloads/$name.dll"
    cp "$SORNA_MARKER_DLL" "$temp_unix/$name.dll"
    overrides+=";$name=n,b"
done
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES$overrides"

# Links where a careless installer would unpack or copy itself.
canary=$WINE_ROOT/canary
mkdir -p "$canary"
echo "the user's" > "$canary/canary.txt"
for name in Sorna Sorna-1 "Sorna (2)" Sorna-Uninstall; do
    ln -s "$canary" "$temp_unix/$name"
done
canary_state() { (cd "$canary" && find . -printf '%y %s %p\n' | LC_ALL=C sort && cat canary.txt); }
canary_state > "$WINE_ROOT/canary.before"
canary_unchanged() { canary_state | diff "$WINE_ROOT/canary.before" - >&2 || fail "$1: the folder behind the links changed"; }

# An installation without a failure.
install_to_report "$downloads/SornaInstaller.exe"
expect_programs_intact "$(wine_unix_path "$program")"
canary_unchanged "after a clean installation"
[ -z "$(job_folders "$temp")" ] || fail "a clean installation kept its temporary folder"
run_demo /dev/null

# One with a failure: the shortcut cannot be saved, so the job keeps its temporary folder.
rm "$(wine_unix_path "$desktop\\Sorna.lnk")"
mkdir "$(wine_unix_path "$desktop\\Sorna.lnk")"
install_to_report "$downloads/SornaInstaller.exe"
expect_report_phrases "$(report_text)" "Failed to save shell link."
expect_programs_intact "$(wine_unix_path "$program")"
canary_unchanged "after an installation with a failure"
kept=$(job_folders "$temp")
[ "$(wc -l <<< "$kept")" = 1 ] && [ -n "$kept" ] || fail "the job did not keep exactly one temporary folder: $kept"
[ -f "$(wine_unix_path "$kept\\Sorna.dll")" ] || fail "the kept temporary folder lacks what was unpacked"
rmdir "$(wine_unix_path "$desktop\\Sorna.lnk")"

# The rules such a folder is made with (Wine keeps none to read back: see the check).
wine "$SORNA_PRIVATE_FOLDER_CHECK" "$temp" 2>/dev/null | tr -d '\r' > "$WINE_ROOT/rules.txt" \
    || fail "the private folder's rules are not as meant:
$(cat "$WINE_ROOT/rules.txt")"

# The removal, with the markers in its working folder; nothing of its copy stays behind.
find "$temp_unix" -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort > "$WINE_ROOT/temp.before"
expect_equal "exit code of the removal" "$(remove_silently /dev/null)" 0
[ ! -e "$(wine_unix_path "${program}Sorna.exe")" ] || fail "the uninstaller did not remove Sorna.exe"
find "$temp_unix" -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort | diff "$WINE_ROOT/temp.before" - >&2 \
    || fail "the removal left something in the temporary folder, or took something"
canary_unchanged "after the removal"

[ -z "$(loaded_markers)" ] || { WINE_FAILED=1; exit 1; }
echo "admin-rights: no planted DLL loaded; the links in the temporary folder were not followed; the job's folder is private"
