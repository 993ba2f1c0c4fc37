#!/usr/bin/env bash
# The Linux registry stand-in's file, imported by Wine's own regedit: every value it wrote
# (quotes, backslashes, non-ASCII text, line breaks, default values, awkward names, and the
# installer's uninstall entry and file association) must read back as the stand-in meant it.
# Needs SORNA_STANDIN_EXPORT, the native standin_registry_export helper.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
trap 'wine_cleanup "$BASH_COMMAND"' EXIT
wine_env_setup reg-import

# The helper runs natively with its own home, so the stand-in writes into the sandbox.
linux_home=$WINE_ROOT/linux-home
mkdir -p "$linux_home"
standin=$(HOME=$linux_home XDG_CONFIG_HOME= "$SORNA_STANDIN_EXPORT" "$WINE_ROOT/expected.bin") \
    || fail "the stand-in could not write its file"
case $standin in "$linux_home"/*) ;; *) fail "the stand-in wrote outside its sandbox: $standin" ;; esac
[ -f "$standin" ] || fail "no stand-in file at $standin"

# The 32-bit regedit, so that the local machine's keys land in the registry view that the
# 32-bit installer writes in (Wow6432Node). It reports nothing, not even a file it could not
# read: the values tell.
wine 'C:\windows\syswow64\regedit.exe' /S "$(winepath -w "$standin" 2>/dev/null)" >/dev/null 2>&1 || fail "regedit /S failed"
wineserver -w

result=$(wine "$SORNA_WINE_PROBE" regcheck "$(winepath -w "$WINE_ROOT/expected.bin" 2>/dev/null)" 2>/dev/null | tr -d '\r') \
    || fail "values differ after the import:
$result"
echo "$result"
count=$(tr -cd '\0' < "$WINE_ROOT/expected.bin" | wc -c)
expect_values=$((count / 2))
[ "$result" = "$expect_values values as meant, 0 not" ] || fail "not every value was compared: $result"
echo "reg-import: Wine's regedit read all $expect_values values of the stand-in's file as meant"
