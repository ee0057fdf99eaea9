# Shared by the scripts: make sure Debian packages are installed.
#
#   need_packages PKG...   installs what is missing when run as root, otherwise names the
#                          command to run and exits 1.
#
# A package index that cannot be refreshed is only a warning: the packages may well install
# from the index the machine already has. A package that still cannot be installed stops the
# script with a line naming it.

need_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    if [ "$(id -u)" -ne 0 ]; then
        echo "error: missing packages; install them with: sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "installing: ${missing[*]}" >&2
    if ! DEBIAN_FRONTEND=noninteractive apt-get update -q >/tmp/halcyra-apt-update.log 2>&1; then
        echo "warning: apt-get update failed (see /tmp/halcyra-apt-update.log); trying the existing package index" >&2
    fi
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" \
        >/tmp/halcyra-apt-install.log 2>&1; then
        for pkg in "${missing[@]}"; do
            if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
                echo "error: package '$pkg' cannot be installed (see /tmp/halcyra-apt-install.log)" >&2
            fi
        done
        exit 1
    fi
}

# have_packages PKG...   like need_packages when run as root; otherwise returns 1 when any is
#                        missing, leaving their names in MISSING_PACKAGES, for a stage that is
#                        skipped rather than failed on a machine without them.
have_packages() {
    local pkg
    MISSING_PACKAGES=()
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            MISSING_PACKAGES+=("$pkg")
        fi
    done
    [ ${#MISSING_PACKAGES[@]} -eq 0 ] && return 0
    [ "$(id -u)" -ne 0 ] && return 1
    need_packages "${MISSING_PACKAGES[@]}"
    MISSING_PACKAGES=()
}

# have_wine32   like have_packages for 32-bit wine; as root it first adds the i386 architecture
#               that the package comes from.
have_wine32() {
    if [ "$(id -u)" -eq 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "adding the i386 architecture for wine32:i386" >&2
        dpkg --add-architecture i386
    fi
    have_packages wine32:i386
}

# The packages every build needs.
BUILD_PACKAGES=(cmake ninja-build g++ libcli11-dev libncurses-dev)
# The Windows builds (GoogleTest from its packaged sources), and wine64 for the 64-bit one.
WIN32_PACKAGES=(g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest)
WIN64_PACKAGES=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 googletest libcli11-dev)
