#!/usr/bin/env bash
# A folder named "Sorna.lnk" stands on the desktop, so the shortcut cannot be saved there: the
# completion box must say so instead of leaving the user to look for a shortcut that is not
# there, the folder stays as it was, and the rest of the installation is done.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
trap 'wine_cleanup "$BASH_COMMAND"' EXIT
wine_env_setup shortcut-blocked

program='C:\Program Files (x86)\Kestrune\Sorna\'
temp=$(probe folder temp)
blocker=$(wine_unix_path "$(probe folder desktop)\\Sorna.lnk")
mkdir -p "$blocker"
touch "$blocker/mine.txt"

install_to_report

[ -d "$blocker" ] && [ -f "$blocker/mine.txt" ] || fail "the folder in the shortcut's place was changed"
for name in Sorna.exe ipp_srn.dll ipp_srn64.dll Uninstall.exe; do
    [ -f "$(wine_unix_path "$program$name")" ] || fail "$name was not installed"
done
# The job keeps its temporary folder only when it recorded a failure.
[ -n "$(job_folders "$temp")" ] || fail "the job recorded no failure (temporary folder removed)"

squeezed=$(report_text)
expect_report_phrases "$squeezed" "The following errors occurred during installation:" \
    "Failed to save shell link." \
    "If not already, try running this installer with administrator privileges"
expect_equal "failure lines in the report" "$(grep -o Failed <<< "$squeezed" | wc -l)" 1
echo "shortcut-blocked: the failed shortcut was reported; the folder in its place is intact"
