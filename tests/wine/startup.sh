#!/usr/bin/env bash
# The installer starts under Wine, shows its 800 x 720 window with the Windows default
# folders, and keeps repainting (typed text appears: no vertical-blank thread needed).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
trap 'wine_cleanup "$BASH_COMMAND"' EXIT
wine_env_setup startup

wine "$SORNA_INSTALLER_EXE" >/dev/null 2>&1 &
window=$(wait_for_window "Sorna demo - Installer" 60) || fail "no installer window"
sleep 2
geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
[ "$geometry" = "800x720" ] || fail "window is $geometry, not 800x720"
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "800x720+$X+$Y" +repage "$WINE_ROOT/screen.png"

# A painted screen has many colours; a window that never repainted is one flat colour.
colours=$(convert "$WINE_ROOT/screen.png" -format %k info:)
[ "$colours" -gt 200 ] || fail "the screen is not painted ($colours colours)"

# Typing into the stand-alone folder field must show up on screen.
before=$(convert "$WINE_ROOT/screen.png" -crop 540x26+130+232 +repage -format %# info:)
xdotool mousemove --window "$window" 400 258 click --repeat 3 1
sleep 0.3
xdotool type --delay 30 "WWWWWWWWWWWWWWWW"
sleep 1
import -window root -crop "800x720+$X+$Y" +repage "$WINE_ROOT/typed.png"
after=$(convert "$WINE_ROOT/typed.png" -crop 540x26+130+232 +repage -format %# info:)
[ "$before" != "$after" ] || fail "typed text did not repaint the folder field"
echo "startup: window $geometry, $colours colours, repaints after typing"
