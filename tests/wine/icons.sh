#!/usr/bin/env bash
# The product's icon in our three programs, read back with Debian's icoutils: each carries two
# icon groups and no other, the first (id 101, which the preset association names in
# Sorna.exe) with every usual size from 16 to 256 pixels, the second with the small sizes that
# a title bar takes. The shell's view of the installed icons is checked by end-to-end.sh.
# Needs no Wine.
set -euo pipefail
: "${SORNA_WINDOWS_BUILD_DIR:?}" "${SORNA_INSTALLER_EXE:?}"
fail() { echo "FAIL: $*" >&2; exit 1; }

# icotool reads the PNG image of the 256-pixel size only from a file, not from a pipe.
icon=$(mktemp)
trap 'rm -f "$icon"' EXIT
sizes() # program group -> the widths of the group's images, in one line
{
    wrestool -x --type=group_icon --name="$2" "$1" > "$icon" 2>/dev/null
    icotool -l "$icon" 2>/dev/null | sed -n 's/.*--width=\([0-9]*\) --height=\1 --bit-depth=32 .*/\1/p' | tr '\n' ' '
}

for program in "$SORNA_INSTALLER_EXE" "$SORNA_WINDOWS_BUILD_DIR/Uninstall.exe" "$SORNA_WINDOWS_BUILD_DIR/demo/Sorna.exe"; do
    name=$(basename "$program")
    groups=$(wrestool -l --type=group_icon "$program" | sed -n 's/^--type=14 --name=\([0-9]*\) .*/\1/p' | tr '\n' ' ')
    [ "$groups" = "101 102 " ] || fail "$name has the icon groups '$groups', not '101 102 '"
    [ "$(sizes "$program" 101)" = "16 20 24 32 40 48 64 128 256 " ] || fail "$name's first icon has the sizes '$(sizes "$program" 101)'"
    [ "$(sizes "$program" 102)" = "16 20 24 32 " ] || fail "$name's small icon has the sizes '$(sizes "$program" 102)'"
done
echo "icons: the three programs carry the product's icon (101: 16 to 256 pixels, 102: 16 to 32)"
