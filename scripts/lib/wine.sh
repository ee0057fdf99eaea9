# shellcheck shell=bash
# Shared by the scripts that run a Windows build under wine.
#
#   wine_setup BUILD_DIR   sets WINE_BUILD, STAGE (win32 or win64) and WINE, the loader of the
#                          build's architecture as its configuration found it (wine runs 32-bit
#                          programs, wine64 64-bit ones; empty when not installed), and exports
#                          the build's own prefix.
#   wine_prefix            creates the prefix when it does not exist yet.
#   wine_probe             runs the build's vxsim.exe --help under wine; when that fails, leaves
#                          the reason it observed in WINE_REASON and returns 1.

wine_setup() {
    WINE_BUILD=$(cd "$1" && pwd)
    local cache="$WINE_BUILD/CMakeCache.txt"
    [ -f "$cache" ] || { echo "error: $1 is not a configured Windows build" >&2; exit 1; }
    STAGE=$(sed -n 's/^VX_WINDOWS_STAGE:[A-Z]*=//p' "$cache")
    WINE=$(sed -n 's/^VX_WINE:[A-Z]*=//p' "$cache")
    if [[ $WINE == *NOTFOUND ]]; then
        WINE=
    fi
    export WINEPREFIX="${WINEPREFIX:-$WINE_BUILD/wineprefix}" WINEDEBUG=-all
    unset DISPLAY
}

wine_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] || "$WINE" wineboot -i
}

wine_probe() {
    local out
    WINE_REASON=
    if [ -z "$WINE" ]; then
        WINE_REASON="no wine loader for $STAGE programs was found"
        return 1
    fi
    if ! out=$({ wine_prefix && timeout 300 "$WINE" "$WINE_BUILD/vxsim.exe" --help; } 2>&1); then
        WINE_REASON=$(grep -v '^[[:space:]]*$' <<<"$out" | tail -1)
        WINE_REASON="${WINE##*/} vxsim.exe --help: ${WINE_REASON:-failed}"
        return 1
    fi
}
