# Sourced by the scripts that start our 32-bit Windows programs under Wine: decides how 32-bit
# x86 code runs on this machine, and runs commands that way.
#   i386_prepare         sets i386_mode to native, emulated or none (i386_reason says why
#                        when not native);
#                        installs the emulator first where the kernel cannot run 32-bit code
#   i386_run COMMAND...  runs COMMAND so that every 32-bit program it starts can run
# SORNA_I386=native|emulated|none overrides the choice (emulated tries the emulation even
# where the kernel could run the code itself, to check that way on any machine).
#
# Wine starts a 32-bit Windows program with its 32-bit Linux loader. Some kernels cannot run
# that loader ("Exec format error"). There the loader and every 32-bit process after it go
# through qemu-i386, user-mode emulation of 32-bit x86 Linux, hooked in with binfmt_misc. The
# hook lives in a binfmt_misc instance private to a user namespace (Linux 6.7 or later), so
# nothing changes on the machine and the registration ends with the command. 64-bit processes
# (wineserver, Wine's 64-bit tools) run natively inside it all the same.

source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"

i386_loader=/usr/lib/wine/wine
i386_qemu=/usr/bin/qemu-i386
# bookworm's own qemu 7.2 starts Wine, but our installer then dies in it; 10.0 runs it.
i386_qemu_package=qemu-user
i386_qemu_version=1:10.0

i386_prepare()
{
    local wanted=${SORNA_I386:-auto} why
    i386_mode=none i386_reason=
    case $wanted in
        auto|native|emulated|none) ;;
        *) echo "SORNA_I386 must be native, emulated or none, not '$wanted'" >&2; return 1 ;;
    esac
    if [ "$wanted" = none ]; then
        i386_reason="SORNA_I386=none"
        return 0
    fi
    if [ "$wanted" != emulated ]; then
        if why=$("$i386_loader" --version 2>&1 >/dev/null); then
            i386_mode=native
            return 0
        fi
        if [ "$wanted" = native ]; then
            i386_reason="the kernel cannot run Wine's 32-bit loader: ${why:-it failed}"
            return 0
        fi
    fi

    [ "$wanted" = emulated ] && i386_reason="SORNA_I386=emulated" || i386_reason="the kernel cannot run Wine's 32-bit loader"
    install_backports_package "$i386_qemu_package" "$i386_qemu_version" \
        || { i386_reason="$i386_reason, and $i386_qemu_package $i386_qemu_version could not be installed"; return 0; }
    if why=$(i386_emulated "$i386_loader" --version 2>&1 >/dev/null); then
        i386_mode=emulated
    else
        i386_reason="neither the kernel nor emulation in a user namespace runs Wine's 32-bit loader: ${why:-it failed}"
    fi
}

i386_run()
{
    case $i386_mode in
        emulated) i386_emulated "$@" ;;
        *) "$@" ;;
    esac
}

# The command in a new user and mount namespace whose own binfmt_misc sends every i386 ELF
# program to qemu-i386. The flag F opens the emulator at registration, so it serves programs
# in any mount namespace below; the magic and mask are those of Debian's qemu-user.
i386_emulated()
{
    local misc status=0
    misc=$(mktemp -d "${TMPDIR:-/tmp}/sorna-binfmt.XXXXXX") || return 1
    unshare --user --map-root-user --mount --propagation private bash -c '
        set -e
        misc=$1 qemu=$2
        shift 2
        mount -t binfmt_misc binfmt_misc "$misc"
        printf "%s" ":qemu-i386:M::\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu:F" \
            > "$misc/register"
        exec "$@"' i386-emulated "$misc" "$i386_qemu" "$@" || status=$?
    rmdir "$misc" 2>/dev/null || true
    return "$status"
}
