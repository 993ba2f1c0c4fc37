# Sourced by the scripts: installs the Debian packages that this machine lacks.
#   install_missing_packages NAME...
#   update_package_indexes
# A name of the form name:i386 adds the i386 architecture to dpkg first when it is missing.
# Runs apt-get through sudo unless already root, and waits for another install that holds
# the dpkg lock rather than failing.

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# One mirror index that cannot be fetched (a mirror in the middle of a sync) need not stop us:
# whatever is then read from the indexes still fails, and says why, if a package cannot be had.
update_package_indexes()
{
    "${sudo_cmd[@]}" apt-get update -qq -o DPkg::Lock::Timeout=600 \
        || echo "apt-get update reported errors; going on with the indexes it has" >&2
}

install_missing_packages()
{
    local p missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0

    echo "Installing: ${missing[*]}"
    if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    update_package_indexes
    local install=(apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" "${install[@]}" "${missing[@]}" >/dev/null && return 0

    # Without one architecture's security index (that mirror sync again), i386 libraries lack
    # the versions that their installed amd64 twins have, and nothing resolves; the release's
    # own suite holds matching versions of both (upgrading the amd64 ones to its point release).
    local release
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$release" ] || return 1
    echo "Installing from $release's own suite instead" >&2
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" "${install[@]}" -t "$release" "${missing[@]}" >/dev/null
}
