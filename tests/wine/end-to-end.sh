#!/usr/bin/env bash
# A whole installation under Wine, driven as a user would: start, "Accept and install", close
# the completion box; then the files, registry records, install.xml and desktop shortcut.
#   end-to-end.sh plain  - the default folders of a fresh Windows user, nothing remembered
#   end-to-end.sh intl   - documents, desktop, application data, plug-in and program folders
#                          with non-ASCII names and spaces (the program folder remembered in
#                          the registry, as an earlier installer left it)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=${1:-plain}
source "$here/wine-env.sh"
trap 'wine_cleanup "$BASH_COMMAND"' EXIT
wine_env_setup "end-to-end-$mode"

# What a text value must hold byte for byte: type REG_SZ (1), the text in UTF-16LE and one
# terminating null, counted in its size. Readers that trust the size (reg query, regedit's
# export) show whatever follows a value stored without its terminator.
stored_text()
{
    local hex
    hex=$(printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -d ' \n')
    echo "1 $(( ${#hex} / 2 + 2 )) ${hex}0000"
}
expect_stored()
{
    local what=$1 path=$2 text=$3
    expect_equal "$what" "$(value "$path")" "$text"
    expect_equal "$what (stored bytes)" "$(probe regbytes "$path")" "$(stored_text "$text")"
}

if [ "$mode" = intl ]; then
    use_non_ascii_folders
else
    # A fresh machine: the program files folder of a 32-bit program decides both defaults.
    program='C:\Program Files (x86)\Kestrune\Sorna\'
    plugins='C:\Program Files (x86)\VstPlugins\'
fi
vst3='C:\Program Files (x86)\Common Files\VST3\'
wineserver -w
if [ "$mode" = intl ]; then
    expect_equal "redirected documents folder" "$(probe folder personal)" "$documents"
    expect_equal "redirected desktop folder" "$(probe folder desktop)" "$desktop"
    expect_equal "redirected application data folder" "$(probe folder appdata)" "$appdata"
fi
documents=$(probe folder personal)
desktop=$(probe folder desktop)
temp=$(probe folder temp)
appdata=$(probe folder appdata)

started=$(date +%s)
wine "$SORNA_INSTALLER_EXE" >/dev/null 2>&1 &
installer=$!
window=$(wait_for_window "Sorna demo - Installer" 60) || fail "no installer window"
sleep 2
save_window_picture "$window" "$WINE_ROOT/before.png"
click_accept_and_install "$window"
report=$(wait_for_window "Installation Complete" 300) || fail "no completion box"
sleep 1
import -window root "$WINE_ROOT/report.png"
close_with_key "$report" Return
expect_installer_ended "$installer"
finished=$(date +%s)

# Files: each installed one equals its payload entry.
entries=$(unzip -Z1 "$SORNA_PAYLOAD_ZIP")
payload_file()
{
    local name=$1 installed=$2 entry
    [ -f "$installed" ] || fail "missing $installed"
    entry=$(grep -m1 -E "(^|/)$name\$" <<< "$entries") || fail "no payload entry $name"
    cmp -s <(unzip -p "$SORNA_PAYLOAD_ZIP" "$entry") "$installed" || fail "$installed differs from $entry"
}
payload_file Sorna.exe "$(wine_unix_path "${program}Sorna.exe")"
payload_file ipp_srn.dll "$(wine_unix_path "${program}ipp_srn.dll")"
payload_file ipp_srn64.dll "$(wine_unix_path "${program}ipp_srn64.dll")"
payload_file Uninstall.exe "$(wine_unix_path "${program}Uninstall.exe")"
payload_file Sorna.dll "$(wine_unix_path "${plugins}Sorna.dll")"
payload_file Sorna.vst3 "$(wine_unix_path "${vst3}Sorna.vst3")"

content=$(wine_unix_path "$documents\\Kestrune\\Sorna")
# The demo payload's figures (SORNA_DEMO_PAYLOAD=0 for the product's own files).
if [ "${SORNA_DEMO_PAYLOAD:-1}" = 1 ]; then
    expect_equal "presets" "$(find "$content/presets" -type f | wc -l)" 275
    expect_equal "meshes" "$(find "$content/mesh" -type f | wc -l)" 89
    expect_equal "tutorial files" "$(find "$content/tutorials" -type f | wc -l)" 9
fi
# ... and every content file is its payload entry, with nothing missing or added.
rm -rf "$WINE_ROOT/payload-data"
unzip -q "$SORNA_PAYLOAD_ZIP" 'data/*' -d "$WINE_ROOT/payload-data"
diff -r "$WINE_ROOT/payload-data/data" "$content" >&2 || fail "the content folder differs from the payload's data folder"
# The temporary folder is removed only when nothing failed.
[ -z "$(job_folders "$temp")" ] || fail "the job reported failures (temporary folder kept)"

# Registry: a 32-bit process writes the uninstall entry into the 32-bit view (Wow6432Node).
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorna1.8'
names=$(wine reg query "$uninstall" /reg:32 2>/dev/null | tr -d '\r' | awk '$2 == "REG_SZ" {print $1}' | sort | tr '\n' ' ')
expect_equal "uninstall value names" "$names" \
    "Contact DisplayIcon DisplayName DisplayVersion EstimatedSize HelpLink InstallDate InstallLocation NoModify NoRepair Publisher UninstallString "
wine reg query 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Sorna1.8' /reg:64 >/dev/null 2>&1 \
    || fail "the uninstall entry is not under Wow6432Node"
expect_stored DisplayName "$uninstall\\DisplayName" "Sorna 1.8"
expect_stored DisplayIcon "$uninstall\\DisplayIcon" "${program}Sorna.exe"
expect_stored DisplayVersion "$uninstall\\DisplayVersion" "1.8"
expect_stored Contact "$uninstall\\Contact" ""
expect_stored EstimatedSize "$uninstall\\EstimatedSize" "15000"
expect_stored HelpLink "$uninstall\\HelpLink" ""
expect_stored InstallLocation "$uninstall\\InstallLocation" "$program"
expect_stored NoModify "$uninstall\\NoModify" "1"
expect_stored NoRepair "$uninstall\\NoRepair" "1"
expect_stored Publisher "$uninstall\\Publisher" "Kestrune, Inc."
expect_stored UninstallString "$uninstall\\UninstallString" "\"${program}Uninstall.exe\""
date=$(value "$uninstall\\InstallDate")
[ "$date" -ge "$started" ] && [ "$date" -le "$finished" ] || fail "InstallDate $date outside [$started, $finished]"
expect_stored InstallDate "$uninstall\\InstallDate" "$date"

classes='HKCU\Software\Classes'
expect_stored ".srn" "$classes\\.srn\\" "SornaPreset"
expect_stored "type" "$classes\\SornaPreset\\" "Sorna Preset"
expect_stored "open command" "$classes\\SornaPreset\\shell\\open\\command\\" "\"${program}Sorna.exe\" \"%1\""
expect_stored "icon" "$classes\\SornaPreset\\DefaultIcon\\" "${program}Sorna.exe,-101"

# The remembered choices, byte for byte: they also show what the screen's folder fields held
# (the job stores them with backslashes and a closing one). The expected file is composed here
# from the documented format: the XML declaration, two CR LF, the element with its attributes
# in the order the job set them, escaped as XML text (anything but plain ASCII as a numeric
# reference) and wrapped before an attribute once a line's attributes pass 60 characters,
# then CR LF and a zero byte.
settings=$(wine_unix_path "$appdata\\Kestrune\\Sorna\\install.xml")
[ -f "$settings" ] || fail "no install.xml"
python3 - "$WINE_ROOT/install.xml.expected" SornaProperties \
    InstalledVersion "1.8" \
    ContentDir "$documents\\Kestrune\\Sorna\\" \
    InstallDir "$program" \
    PluginInstallDir "$plugins" \
    FormatA vst32 \
    PluginInstallDir3 "$vst3" \
    FormatC vst3_32 <<'PYTHON'
import sys
out, tag, pairs = sys.argv[1], sys.argv[2], sys.argv[3:]
plain = set("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-()_+=?!$#@[]/|*%~{}'\\")
named = {"&": "&amp;", '"': "&quot;", ">": "&gt;", "<": "&lt;"}
def escape(text):
    return "".join(c if c in plain else named.get(c, "&#%d;" % ord(c)) for c in text)
text, line = "<" + tag, 0
for name, value in zip(pairs[0::2], pairs[1::2]):
    if line > 60:
        text += "\r\n" + " " * (len(tag) + 1)
        line = 0
    attribute = ' %s="%s"' % (name, escape(value))
    text += attribute
    line += len(attribute)
document = '<?xml version="1.0" encoding="UTF-8"?>\r\n\r\n' + text + "/>\r\n"
open(out, "wb").write(document.encode("ascii") + b"\0")
PYTHON
cmp "$WINE_ROOT/install.xml.expected" "$settings" \
    || fail "install.xml differs from the expected bytes: $(od -c "$settings" | head -n 20)"

# The shortcut, read back through the shell's own interface: "opens" is the file that its item
# list leads to, which is what the shell starts. Wine keeps the link's plain target path only in
# the ANSI code page (Windows adds a Unicode copy), so that line is compared only for a target
# the code page can hold; the item list, working folder and icon are Unicode in both.
link=$(probe link "$desktop\\Sorna.lnk") || fail "the desktop shortcut cannot be read"
expected_link="arguments=
workdir=$program
description=Spectral synthesizer
icon=${program}Sorna.exe,0
opens=${program}Sorna.exe"
if [ "$mode" = plain ]; then
    expected_link="path=${program}Sorna.exe
$expected_link"
else
    link=$(sed '/^path=/d' <<< "$link")
fi
expect_equal "shortcut" "$link" "$expected_link"
# A second reader that is not Windows' own: liblnk's lnkinfo.
if [ "$mode" = plain ]; then
    lnk_text=$(lnkinfo "$(wine_unix_path "$desktop\\Sorna.lnk")" 2>&1) || fail "lnkinfo cannot read the shortcut"
    expect_equal "lnkinfo local path" "$(sed -n 's/^\tLocal path\t*: //p' <<< "$lnk_text")" "${program}Sorna.exe"
    expect_equal "lnkinfo working directory" "$(sed -n 's/^\tWorking directory\t*: //p' <<< "$lnk_text")" "$program"
fi
# The product's icon, as the shell extracts it for the programs list (DisplayIcon), the preset
# association (resource 101) and the shortcut's icon location.
for location in "${program}Sorna.exe,0" "${program}Sorna.exe,-101" "$(sed -n 's/^icon=//p' <<< "$link")"; do
    probe icon "${location%,*}" "${location##*,}" >/dev/null || fail "no icon at $location"
done
echo "end-to-end ($mode): files, registry, install.xml, shortcut and icons as expected"
