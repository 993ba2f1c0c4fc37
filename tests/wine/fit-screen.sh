#!/usr/bin/env bash
# A display that cannot hold the 800 x 720 window at the system's scaling: the installer shows
# it, and everything else, smaller, just enough to fit, centred; a click on "Accept and install"
# where the scaled window shows it completes the installation; the completion box is on screen
# too. (A display that is large enough keeps exactly 800 x 720: startup.sh.)
#   fit-screen.sh hidpi  - 150 % (144 dpi) on a 1920 x 1000 display
#   fit-screen.sh small  - 100 % (96 dpi) on a 1280 x 650 display
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=${1:-hidpi}
case $mode in
    hidpi) dpi=144 WINE_SCREEN=1920x1000 ;;
    small) dpi=96 WINE_SCREEN=1280x650 ;;
    *) echo "fit-screen.sh hidpi|small" >&2; exit 2 ;;
esac
export WINE_SCREEN
source "$here/wine-env.sh"
trap 'wine_cleanup "$BASH_COMMAND"' EXIT
wine_env_setup "fit-screen-$mode"
screen_width=${WINE_SCREEN%x*} screen_height=${WINE_SCREEN#*x}

wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w

# Fails unless all of the window lies on the screen; leaves its place in X, Y, WIDTH, HEIGHT.
on_screen() # window what
{
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$screen_width" ] && [ $((Y + HEIGHT)) -le "$screen_height" ] \
        || fail "$2 at ($X, $Y), $WIDTH x $HEIGHT, is not wholly on the $WINE_SCREEN screen"
}

wine "$SORNA_INSTALLER_EXE" >/dev/null 2>&1 &
installer=$!
window=$(wait_for_window "Sorna demo - Installer" 60) || fail "no installer window"
sleep 1
on_screen "$window" "the installer's window"
x=$X y=$Y width=$WIDTH height=$HEIGHT
save_window_picture "$window" "$WINE_ROOT/window.png"

# Just small enough: the scale the work area (here the whole screen) calls for, to a pixel or
# two of rounding, and centred.
expected=$(awk -v w="$screen_width" -v h="$screen_height" -v dpi="$dpi" 'BEGIN {
    s = dpi / 96; fit = w / s / 800; if (h / s / 720 < fit) fit = h / s / 720; if (fit > 1) fit = 1
    printf "%d %d", 800 * fit * s, 720 * fit * s }')
read -r expected_width expected_height <<< "$expected"
near() { [ $(($1 - $2)) -le 2 ] && [ $(($2 - $1)) -le 2 ]; }
near "$width" "$expected_width" && near "$height" "$expected_height" \
    || fail "the window is $width x $height, not about $expected_width x $expected_height"
near "$x" $(((screen_width - width) / 2)) && near "$y" $(((screen_height - height) / 2)) \
    || fail "the window at ($x, $y) is not centred"

box_on_screen() { on_screen "$1" "the completion box"; }
accept_and_complete "$window" "$installer" box_on_screen
expect_programs_intact "$(wine_unix_path 'C:\Program Files (x86)\Kestrune\Sorna\')"
echo "fit-screen ($mode): $width x $height at ($x, $y) on $WINE_SCREEN at $dpi dpi; installed through the scaled window"
