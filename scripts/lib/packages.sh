# Sourced by the scripts: installs the Debian packages that this machine lacks.
#   install_missing_packages NAME...
#   install_backports_package NAME MIN_VERSION
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

# A package newer than the release carries, from its backports suite, added to the package
# sources as Debian's backports instructions say (its packages are then installed only when
# asked for by name). Does nothing when at least MIN_VERSION is installed.
install_backports_package()
{
    local package=$1 minimum=$2 installed release suite list mirror
    installed=$(dpkg-query -W -f='${Status} ${Version}' "$package" 2>/dev/null | sed -n 's/^install ok installed //p')
    [ -n "$installed" ] && dpkg --compare-versions "$installed" ge "$minimum" && return 0

    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$release" ] || { echo "cannot tell this system's release for its backports" >&2; return 1; }
    suite=$release-backports
    if ! grep -rqsE "^[^#]*\b$suite\b" /etc/apt/sources.list /etc/apt/sources.list.d/; then
        # The same mirror as the release's own packages.
        mirror=$(sed -n 's/^URIs: *\([^ ]*\/debian\/\?\)$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n 1p)
        [ -n "$mirror" ] || mirror=$(sed -n 's/^deb  *\(\[[^]]*\] *\)\?\([^ ]*\/debian\/\?\) .*/\2/p' /etc/apt/sources.list 2>/dev/null | sed -n 1p)
        list=/etc/apt/sources.list.d/$suite.sources
        echo "Adding $suite to the package sources ($list)"
        printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            "${mirror:-http://deb.debian.org/debian}" "$suite" | "${sudo_cmd[@]}" tee "$list" >/dev/null
    fi
    update_package_indexes
    echo "Installing from $suite: $package"
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        -o DPkg::Lock::Timeout=600 -t "$suite" "$package" >/dev/null || return 1
    installed=$(dpkg-query -W -f='${Version}' "$package" 2>/dev/null)
    dpkg --compare-versions "$installed" ge "$minimum" \
        || { echo "$suite has $package $installed; at least $minimum is needed" >&2; return 1; }
}
