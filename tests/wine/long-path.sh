#!/usr/bin/env bash
# A program folder whose path is longer than MAX_PATH (260 characters), remembered from an
# earlier installation: the installer must not crash or hang, and what it reports must be true.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
trap 'wine_cleanup "$BASH_COMMAND"' EXIT
wine_env_setup long-path

program='C:'
for i in $(seq -w 1 9); do program+="\\A rather long folder name, number $i"; done
program+='\'
[ ${#program} -gt 260 ] || fail "the test folder is only ${#program} characters long"
reg_set 'HKCU\Software\Kestrune\Sorna' InstallDir "$program"
wineserver -w

wine "$SORNA_INSTALLER_EXE" >/dev/null 2>&1 &
installer=$!
window=$(wait_for_window "Sorna demo - Installer" 60) || fail "no installer window"
sleep 1
click_accept_and_install "$window"

# Either the folder check refuses the folder, or the installation runs to its report.
outcome=
for _ in $(seq 600); do
    if box=$(xdotool search --onlyvisible --name '^Could not create standalone install directory$' 2>/dev/null | sed -n 1p) && [ -n "$box" ]; then
        outcome=refused; break
    fi
    if box=$(xdotool search --onlyvisible --name '^Installation Complete$' 2>/dev/null | sed -n 1p) && [ -n "$box" ]; then
        outcome=completed; break
    fi
    kill -0 "$installer" 2>/dev/null || fail "the installer ended without a box"
    sleep 0.5
done
[ -n "$outcome" ] || fail "neither a warning box nor the completion box appeared"
sleep 1
save_window_picture "$box" "$WINE_ROOT/box.png"

folder=$(wine_unix_path "$program")
if [ "$outcome" = completed ]; then
    # A report without failures keeps no temporary folder; then every file must be in place.
    close_with_key "$box" Return
    temp=$(probe folder temp)
    if [ -z "$(job_folders "$temp")" ]; then
        expect_programs_intact "$folder" "the report has no failure"
    fi
else
    # Refused: the installer stays open on its screen and has installed nothing.
    [ ! -e "$folder/Sorna.exe" ] || fail "refused, yet Sorna.exe was installed"
    kill -0 "$installer" 2>/dev/null || fail "the installer ended after the warning box"
fi
echo "long-path: ${#program} characters, $outcome"
