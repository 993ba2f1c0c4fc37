#!/usr/bin/env bash
# A whole installation under Wine, driven as a user would: start, "Accept and install", close
# the completion box; then the files, registry records, install.xml and desktop shortcut.
#   end-to-end.sh plain  - the default folders of a fresh Windows user
#   end-to-end.sh intl   - documents, desktop and plug-in folders with non-ASCII names and spaces
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=${1:-plain}
source "$here/wine-env.sh"
trap wine_cleanup EXIT
wine_env_setup "end-to-end-$mode"

probe() { wine "$SORNA_WINE_PROBE" "$@" 2>/dev/null | tr -d '\r'; }
value() { probe reg "$@" | sed -n 's/^REG_SZ\t//p'; }
expect_equal() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }

shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
if [ "$mode" = intl ]; then
    profile=$(probe folder appdata); profile=${profile%\\AppData\\Roaming}
    documents="$profile\\Документы José"
    desktop="$profile\\Рабочий стол Zoë"
    plugins='C:\Plug-ins Ñandú\VST Ёлка'
    mkdir -p "$(wine_unix_path "$documents")" "$(wine_unix_path "$desktop")"
    wine reg add "$shell_folders" /v Personal /t REG_SZ /d "$documents" /f >/dev/null 2>&1
    wine reg add "$shell_folders" /v Desktop /t REG_SZ /d "$desktop" /f >/dev/null 2>&1
else
    plugins='C:\VstPlugins'
fi
wine reg add 'HKCU\Software\VST' /v VSTPluginsPath /t REG_SZ /d "$plugins" /f >/dev/null 2>&1
wineserver -w
[ "$mode" = intl ] && expect_equal "redirected documents folder" "$(probe folder personal)" "$documents"
documents=$(probe folder personal)
desktop=$(probe folder desktop)
temp=$(probe folder temp)
appdata=$(probe folder appdata)

started=$(date +%s)
wine "$SORNA_INSTALLER_EXE" >/dev/null 2>&1 &
installer=$!
window=$(wait_for_window "Sorna demo - Installer" 60) || fail "no installer window"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "800x720+$X+$Y" +repage "$WINE_ROOT/before.png"

# "Accept and install" sits at (310, 623, 317, 35) of the screen, below the 26-pixel frame top.
xdotool mousemove --window "$window" $((1 + 310 + 158)) $((26 + 623 + 17)) click 1
report=$(wait_for_window "Installation Complete" 300) || fail "no completion box"
sleep 1
import -window root "$WINE_ROOT/report.png"
xdotool windowfocus "$report" 2>/dev/null || true
xdotool key --window "$report" Return
for _ in $(seq 150); do kill -0 "$installer" 2>/dev/null || break; sleep 0.2; done
! kill -0 "$installer" 2>/dev/null || fail "the installer did not end after the completion box"
finished=$(date +%s)

program='C:\Program Files (x86)\Kestrune\Sorna\'
vst3='C:\Program Files (x86)\Common Files\VST3\'

# Files: each installed one equals its payload entry.
payload_file()
{
    local name=$1 installed=$2 entry
    [ -f "$installed" ] || fail "missing $installed"
    entry=$(unzip -Z1 "$SORNA_PAYLOAD_ZIP" | grep -m1 -E "(^|/)$name\$") || fail "no payload entry $name"
    cmp -s <(unzip -p "$SORNA_PAYLOAD_ZIP" "$entry") "$installed" || fail "$installed differs from $entry"
}
payload_file Sorna.exe "$(wine_unix_path "${program}Sorna.exe")"
payload_file ipp_srn.dll "$(wine_unix_path "${program}ipp_srn.dll")"
payload_file Uninstall.exe "$(wine_unix_path "${program}Uninstall.exe")"
payload_file Sorna.dll "$(wine_unix_path "$plugins\\Sorna.dll")"
payload_file Sorna.vst3 "$(wine_unix_path "${vst3}Sorna.vst3")"

content=$(wine_unix_path "$documents\\Kestrune\\Sorna")
expect_equal "presets" "$(find "$content/presets" -type f | wc -l)" 275
expect_equal "meshes" "$(find "$content/mesh" -type f | wc -l)" 89
expect_equal "tutorial files" "$(find "$content/tutorials" -type f | wc -l)" 9
# The temporary folder is removed only when nothing failed.
[ ! -e "$(wine_unix_path "${temp}Sorna")" ] || fail "the job reported failures (temporary folder kept)"

# Registry: a 32-bit process writes the uninstall entry into the 32-bit view (Wow6432Node).
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorna1.8'
names=$(wine reg query "$uninstall" /reg:32 2>/dev/null | tr -d '\r' | awk '$2 == "REG_SZ" {print $1}' | sort | tr '\n' ' ')
expect_equal "uninstall value names" "$names" \
    "Contact DisplayIcon DisplayName DisplayVersion EstimatedSize HelpLink InstallDate InstallLocation NoModify NoRepair Publisher UninstallString "
wine reg query 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Sorna1.8' /reg:64 >/dev/null 2>&1 \
    || fail "the uninstall entry is not under Wow6432Node"
expect_equal DisplayName "$(value "$uninstall\\DisplayName")" "Sorna 1.8"
expect_equal DisplayIcon "$(value "$uninstall\\DisplayIcon")" "${program}Sorna.exe"
expect_equal DisplayVersion "$(value "$uninstall\\DisplayVersion")" "1.8"
expect_equal Contact "$(value "$uninstall\\Contact")" ""
expect_equal EstimatedSize "$(value "$uninstall\\EstimatedSize")" "15000"
expect_equal HelpLink "$(value "$uninstall\\HelpLink")" ""
expect_equal InstallLocation "$(value "$uninstall\\InstallLocation")" "$program"
expect_equal NoModify "$(value "$uninstall\\NoModify")" "1"
expect_equal NoRepair "$(value "$uninstall\\NoRepair")" "1"
expect_equal Publisher "$(value "$uninstall\\Publisher")" "Kestrune, Inc."
expect_equal UninstallString "$(value "$uninstall\\UninstallString")" "${program}Uninstall.exe"
date=$(value "$uninstall\\InstallDate")
[ "$date" -ge "$started" ] && [ "$date" -le "$finished" ] || fail "InstallDate $date outside [$started, $finished]"

classes='HKCU\Software\Classes'
expect_equal ".srn" "$(value "$classes\\.srn\\")" "SornaPreset"
expect_equal "type" "$(value "$classes\\SornaPreset\\")" "Sorna Preset"
expect_equal "open command" "$(value "$classes\\SornaPreset\\shell\\open\\command\\")" "${program}Sorna.exe \"%1\""
expect_equal "icon" "$(value "$classes\\SornaPreset\\DefaultIcon\\")" "${program}Sorna.exe,-101"

# The remembered choices.
settings=$(wine_unix_path "$appdata\\Kestrune\\Sorna\\install.xml")
[ -f "$settings" ] || fail "no install.xml"
grep -q 'InstalledVersion="1.8"' "$settings" || fail "install.xml lacks InstalledVersion"

# The shortcut, read back through the shell's own interface.
link=$(probe link "$desktop\\Sorna.lnk") || fail "the desktop shortcut cannot be read"
expect_equal "shortcut" "$link" "path=${program}Sorna.exe
arguments=
workdir=$program
description=Spectral synthesizer
icon=${program}Sorna.exe,0"
echo "end-to-end ($mode): files, registry, install.xml and shortcut as expected"
