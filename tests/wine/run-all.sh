#!/usr/bin/env bash
# Runs every Wine test, each with its log in $SORNA_WINE_ROOT, and ends with one line
# "wine: N passed, N failed, N skipped"; fails when a test failed. scripts/test-windows sets
# the environment and starts it where 32-bit programs can run.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${SORNA_WINE_ROOT:?}" "${SORNA_WINE_RUNS:?}"

passed=0 failed=0 skipped=0
run_wine_test()
{
    if [ "$SORNA_WINE_RUNS" = 0 ]; then
        skipped=$((skipped + 1)); echo "SKIP $1 (${SORNA_WINE_SKIP_REASON:-Wine cannot start 32-bit programs on this machine})"
        return
    fi
    run_test "$@"
}
run_test()
{
    local name=$1; shift
    local began=$SECONDS
    # No test may hang the run: each gets a quarter of an hour, which is five times the slowest.
    if timeout --kill-after=30 900 "$@" > "$SORNA_WINE_ROOT/$name.log" 2>&1; then
        passed=$((passed + 1)); echo "PASS $name ($((SECONDS - began)) s)"
    else
        failed=$((failed + 1)); echo "FAIL $name ($((SECONDS - began)) s)"; sed 's/^/    /' "$SORNA_WINE_ROOT/$name.log"
        # A test that wrote nothing most often met a full disk, which also keeps its log empty.
        [ -s "$SORNA_WINE_ROOT/$name.log" ] || echo "    (no output; $(free_mb) MB free in $SORNA_WINE_ROOT)"
    fi
}
free_mb() { df -Pm "$SORNA_WINE_ROOT" | awk 'NR == 2 {print $4}'; }
mkdir -p "$SORNA_WINE_ROOT"
# Each test makes a Wine prefix of about 1.3 GB and removes it when it ends; the signing test
# also rebuilds the installer twice.
[ "$(free_mb)" -ge 3072 ] || { echo "The Wine tests need about 3 GB free in $SORNA_WINE_ROOT; there are $(free_mb) MB." >&2; exit 1; }
run_wine_test wine-startup "$here/startup.sh"
run_wine_test wine-end-to-end "$here/end-to-end.sh" plain
run_wine_test wine-end-to-end-non-ascii "$here/end-to-end.sh" intl
run_wine_test wine-registry-import "$here/reg-import.sh"
run_wine_test wine-held-file "$here/held-file.sh"
run_wine_test wine-shortcut-blocked "$here/shortcut-blocked.sh"
run_wine_test wine-long-path "$here/long-path.sh"
run_wine_test wine-admin-rights "$here/admin-rights.sh"
run_wine_test wine-fit-screen-hidpi "$here/fit-screen.sh" hidpi
run_wine_test wine-fit-screen-small "$here/fit-screen.sh" small
run_wine_test wine-round-trip "$here/round-trip.sh" plain
run_wine_test wine-round-trip-non-ascii "$here/round-trip.sh" intl
run_wine_test wine-round-trip-held-file "$here/round-trip.sh" held
# Needs no Wine: the icons as Debian's icoutils read them.
run_test icons "$here/icons.sh"
# Last: it builds the installer signed, then unsigned again, in the same build folder. Its
# start-up of the signed installer under Wine is skipped where Wine cannot run.
run_test wine-signing "$here/signing.sh"

echo "wine: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
