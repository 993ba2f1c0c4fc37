# Sourced by the Wine tests: a sandboxed Wine with its own prefix, home and display.
# Usage: wine_env_setup NAME  (NAME picks the prefix and sandbox under $SORNA_WINE_ROOT)

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

    wine_start_display
    wineboot -i >/dev/null 2>&1
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
        Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
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

wine_cleanup()
{
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    if [ -n "${WINE_XVFB_PID:-}" ]; then
        kill "$WINE_XVFB_PID" 2>/dev/null
        wait "$WINE_XVFB_PID" 2>/dev/null
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
        id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

fail()  { echo "FAIL: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; }
