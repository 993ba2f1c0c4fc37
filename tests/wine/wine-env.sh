# Sourced by the Wine tests: a sandboxed Wine with its own prefix, home and display.
# Usage: wine_env_setup NAME  (NAME picks the prefix and sandbox under $SORNA_WINE_ROOT; the
# display is 1920 x 1080 unless WINE_SCREEN says otherwise, e.g. WINE_SCREEN=1280x650)

# wine: see bin/wine, which runs Wine's own programs natively where 32-bit code is emulated.
PATH=$(cd "$(dirname "${BASH_SOURCE[0]}")/bin" && pwd):$PATH
wineboot() { wine wineboot "$@"; }
winepath() { wine winepath "$@"; }

wine_env_setup()
{
    local name=$1
    local root=$SORNA_WINE_ROOT/$name
    rm -rf "$root"
    mkdir -p "$root/home" "$root/tmp" "$root/xdg/config" "$root/xdg/data" "$root/xdg/cache" "$root/xdg/runtime"
    chmod 700 "$root/xdg/runtime"

    # Wine writes into HOME (it maps Desktop to HOME when ~/Desktop is missing) and keeps its
    # server's folder under TMPDIR: every one of them points into the sandbox.
    export HOME=$root/home
    export TMPDIR=$root/tmp
    export XDG_CONFIG_HOME=$root/xdg/config XDG_DATA_HOME=$root/xdg/data XDG_CACHE_HOME=$root/xdg/cache
    export XDG_RUNTIME_DIR=$root/xdg/runtime
    unset XDG_DOCUMENTS_DIR XDG_DESKTOP_DIR
    export WINEPREFIX=$root/prefix
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    export WINE_ROOT=$root

    # A new prefix takes about 1.3 GB (Wine copies its DLLs into it). Without that room wineboot
    # fails part way, and the log of the test could not be written either.
    local free_kb
    free_kb=$(df -Pk "$root" | awk 'NR == 2 {print $4}')
    [ "$free_kb" -ge $((1536 * 1024)) ] || fail "only $((free_kb / 1024)) MB free in $root; a Wine prefix needs about 1.5 GB"

    wine_start_display
    # Once in many runs, the first start in a new prefix has failed to load kernel32 (status
    # c0000135), before any of our code ran: the prefix is then made once more from scratch.
    local attempt
    for attempt in 1 2; do
        wineboot -i > "$root/wineboot.log" 2>&1 && break
        [ "$attempt" = 1 ] || fail "wineboot could not make the prefix:
$(tail -n 20 "$root/wineboot.log")"
        echo "wineboot failed, making the prefix again: $(tail -n 1 "$root/wineboot.log")" >&2
        { wineserver -k || true; wineserver -w || true; } >/dev/null 2>&1
        rm -rf "$WINEPREFIX"
    done
    # Without a window manager Wine otherwise waits for every hidden window and loses clicks.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
}

wine_start_display()
{
    [ -n "${WINE_XVFB_PID:-}" ] && return
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${WINE_SCREEN:-1920x1080}x24" -nolisten tcp >/dev/null 2>&1 &
        WINE_XVFB_PID=$!
        export DISPLAY=:$n
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return
            sleep 0.1
        done
        kill "$WINE_XVFB_PID" 2>/dev/null
        unset WINE_XVFB_PID
    done
    echo "no free X display" >&2
    return 1
}

# The exit trap of every test, given the command the test ended at:
#   trap 'wine_cleanup "$BASH_COMMAND"' EXIT
# Under set -e a failing command here would become the test's result: a wine server that has
# already ended by itself (nothing left running in the prefix), or Xvfb's own exit status, must
# not fail a test that passed. The prefix goes too, so that the tests together never need more
# room than one of them; the logs and pictures beside it stay. SORNA_WINE_KEEP_PREFIXES=1 keeps
# it for a look.
wine_cleanup()
{
    # A command that failed where the test did not expect it ended the test (set -e) without a
    # word of its own: say which, so that no test ends silently.
    local status=$?
    [ "$status" = 0 ] || [ -n "${WINE_FAILED:-}" ] || echo "FAIL: \"${1:-?}\" ended with status $status" >&2
    if [ -n "${WINEPREFIX:-}" ]; then
        # The test's own programs end with the server, quietly rather than as "Killed".
        local job
        {
            wineserver -k || true
            wineserver -w || true
            for job in $(jobs -p); do
                [ "$job" = "${WINE_XVFB_PID:-}" ] || wait "$job" || true
            done
        } >/dev/null 2>&1
        [ "${SORNA_WINE_KEEP_PREFIXES:-0}" = 1 ] || rm -rf "$WINEPREFIX"
    fi
    if [ -n "${WINE_XVFB_PID:-}" ]; then
        kill "$WINE_XVFB_PID" 2>/dev/null || true
        wait "$WINE_XVFB_PID" 2>/dev/null || true
        unset WINE_XVFB_PID
    fi
    return 0
}

# The Windows path of a file in the prefix: C:\... -> Unix path
wine_unix_path()
{
    local p=${1//\\//}
    echo "$WINEPREFIX/drive_c/${p#[Cc]:/}"
}

# Waits up to $2 seconds for a visible window titled $1; prints its id.
wait_for_window()
{
    local title=$1 seconds=${2:-60} id
    for _ in $(seq $((seconds * 5))); do
        id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | sed -n 1p || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# The installation job's temporary folders in the prefix's temporary folder $1 (a Windows path
# ending in a backslash): each run makes a new one, "Sorna-" and eight hex digits. Prints their
# Windows paths, one a line.
job_folders()
{
    local temp=$1 name
    for name in $(find "$(wine_unix_path "$temp")" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' \
                  | grep -xE 'Sorna-[0-9a-f]{8}' | LC_ALL=C sort); do
        echo "$temp$name"
    done
}

# Whether the window $1 is still shown.
window_shown() { grep -qx "$1" <<< "$(xdotool search --onlyvisible --name '' 2>/dev/null)"; }

# Presses key $2 in the window $1 until the window is gone: a key sent before a window that has
# just opened takes input is lost. Fails when the window stays.
close_with_key()
{
    local window=$1 key=$2 _ __
    for _ in $(seq 10); do
        xdotool windowfocus "$window" 2>/dev/null || true
        xdotool key --window "$window" "$key" 2>/dev/null || true
        for __ in $(seq 10); do
            window_shown "$window" || return 0
            sleep 0.2
        done
    done
    fail "the window \"$(xdotool getwindowname "$window" 2>/dev/null)\" did not close on $key"
}

# Clicks "Accept and install" in the installer's window $1, again should the click come before
# the window takes input, until another window (progress, report or warning) shows. The
# button's place follows the window's size: the whole window, frame included, scales alike.
click_accept_and_install()
{
    local window=$1 before _ __ scaled WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # (310, 623, 317, 35) of the screen, below the 26-pixel title bar and the 1-pixel border.
    scaled=$(awk -v w="$WIDTH" 'BEGIN { s = w / 800; printf "%d %d", (1 + 310 + 158) * s + 0.5, (26 + 623 + 17) * s + 0.5 }')
    before=$(xdotool search --onlyvisible --name '' 2>/dev/null | sort)
    for _ in 1 2 3; do
        xdotool mousemove --window "$window" $scaled click 1
        for __ in $(seq 25); do
            [ -n "$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --name '' 2>/dev/null | sort))" ] && return 0
            sleep 0.2
        done
    done
    fail "clicking \"Accept and install\" opened no window"
}

# Saves a picture of the window $1 as the file $2.
save_window_picture()
{
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$2"
}

# Sets a text value with Wine's reg, trying again when the Wine server is busy, and says so
# when it cannot: a silent stop under "set -e" would leave an empty log.
reg_set() # key name text
{
    local _
    for _ in 1 2 3; do
        wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1 && return 0
        sleep 2
    done
    fail "could not set $1\\$2"
}

# Moves the prefix's documents, desktop and application data folders to names with spaces and
# non-ASCII letters, and gives the installer a VST folder and a remembered program folder of
# that kind. Sets documents, desktop, appdata, program and plugins (the folder row 0 shows).
use_non_ascii_folders()
{
    local shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' profile= _
    for _ in 1 2 3; do
        profile=$(probe folder appdata) && [ -n "$profile" ] && break
        sleep 2
    done
    [ -n "$profile" ] || fail "the probe did not report the application data folder"
    profile=${profile%\\AppData\\Roaming}
    documents="$profile\\Документы José"
    desktop="$profile\\Рабочий стол Zoë"
    appdata="$profile\\Данные Ñandú\\Roaming"
    mkdir -p "$(wine_unix_path "$documents")" "$(wine_unix_path "$desktop")" "$(wine_unix_path "$appdata")" \
        || fail "could not make the non-ASCII folders"
    reg_set "$shell_folders" Personal "$documents"
    reg_set "$shell_folders" Desktop "$desktop"
    reg_set "$shell_folders" AppData "$appdata"
    # The screen shows the machine's VST folder in row 0 with a closing slash, and, with no
    # install.xml yet, the program folder remembered in the registry as it is.
    reg_set 'HKCU\Software\VST' VSTPluginsPath 'C:\Plug-ins Ñandú\VST Ёлка'
    program='C:\Программы José\Kestrune Sorna\'
    reg_set 'HKCU\Software\Kestrune\Sorna' InstallDir "$program"
    plugins='C:\Plug-ins Ñandú\VST Ёлка\'
}

# Runs one installation as a user would: starts the installer ($1, else $SORNA_INSTALLER_EXE;
# Wine's messages go to $2, else nowhere), then accept_and_complete.
install_to_report()
{
    local installer window
    wine "${1:-$SORNA_INSTALLER_EXE}" >/dev/null 2>"${2:-/dev/null}" &
    installer=$!
    window=$(wait_for_window "Sorna demo - Installer" 60) || fail "no installer window"
    sleep 1
    accept_and_complete "$window" "$installer"
}

# Clicks "Accept and install" in the installer's window $1, waits for the completion box, runs
# the command $3 (if given) with the box's window while it shows, saves a picture of the box as
# $WINE_ROOT/report.png, closes it and waits for the installer (process $2) to end.
accept_and_complete() # window installer [check]
{
    local report
    click_accept_and_install "$1"
    report=$(wait_for_window "Installation Complete" 300) || fail "no completion box"
    sleep 1
    [ -z "${3:-}" ] || "$3" "$report"
    save_window_picture "$report" "$WINE_ROOT/report.png"
    close_with_key "$report" Return
    expect_installer_ended "$2"
}

# Fails unless the installer (process $1) ends within half a minute of its completion box.
expect_installer_ended()
{
    local _
    for _ in $(seq 150); do kill -0 "$1" 2>/dev/null || break; sleep 0.2; done
    ! kill -0 "$1" 2>/dev/null || fail "the installer did not end after the completion box"
}

# Fails unless the programs and dsp libraries in the folder $1 (a Unix path) are the payload's,
# byte for byte; $2, when given, says why they should be.
expect_programs_intact() # folder [why]
{
    local name
    for name in Sorna.exe ipp_srn.dll ipp_srn64.dll Uninstall.exe; do
        cmp -s <(unzip -p "$SORNA_PAYLOAD_ZIP" "$name") "$1/$name" || fail "${2:+$2, but }$name is not installed intact"
    done
}

# The completion box's text from $WINE_ROOT/report.png, without blanks: it is drawn, not a
# native control, so it is read back with OCR (enlarged for accuracy), which places blanks
# loosely. The text as read stays in $WINE_ROOT/report.txt.
report_text()
{
    convert "$WINE_ROOT/report.png" -resize 300% -colorspace Gray -negate "$WINE_ROOT/report-ocr.png"
    tesseract "$WINE_ROOT/report-ocr.png" "$WINE_ROOT/report" >/dev/null 2>&1 || fail "tesseract failed"
    tr -d ' \n' < "$WINE_ROOT/report.txt"
}

# $1 with the letters OCR confuses made alike: it reads "Sorna" now as "Soma", now as "Sorma",
# so "n" counts as "m", and "rm" (as "rn" then reads) as "m"; and it reads ".dll" as ".dil".
ocr_fold()
{
    local text=${1//n/m}
    text=${text//rm/m}
    printf "%s\n" "${text//il/ll}"
}

# Fails unless the squeezed report text $1 holds every phrase that follows; a "*" in a phrase
# stands for any characters, where OCR is unreliable (random names, which it may even misread
# as more or fewer characters).
expect_report_phrases()
{
    local squeezed phrase pattern
    squeezed=$(ocr_fold "$1")
    shift
    for phrase in "$@"; do
        # Every character but "*" stands for itself.
        pattern=$(ocr_fold "${phrase// /}" | sed 's/[][\\?()|!@+]/\\&/g')
        [[ $squeezed == *$pattern* ]] || fail "the report lacks \"$phrase\"; OCR read:
$(cat "$WINE_ROOT/report.txt")"
    done
}

fail()  { echo "FAIL: $*" >&2; WINE_FAILED=1; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; }
expect_equal() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }

# The Wine probe's answer, without the CR LF of Windows' line ends; value prints a text value.
probe() { wine "$SORNA_WINE_PROBE" "$@" 2>/dev/null | tr -d '\r'; }
value() { probe reg "$@" | sed -n 's/^REG_SZ\t//p'; }
