#!/usr/bin/env bash
# Runs a Windows build's vxsim.exe under wine (the loader of the build's architecture) in a
# fresh root folder made of real files (the modules copied, not linked; an identity folder
# holding real files for FindFirstFileA to walk), twice: the built-in demo, then the same demo
# from its scenario and script files named with backslashes. Both transcripts must be
# tests/e2e/colony/demo.expected except for the HUD lines, and both saves
# tests/e2e/colony/demo-saved.scn byte for byte.
#
# With ZIP, the root is laid out as a user's would be: vxsim.exe, vxhost.dll and the stand-in
# crew runtime and tender from the build, then the add-on archive unpacked over it, so the
# colony's module and the scenarios are the archive's.
#
# The HUD's text goes to a real device context on Windows and is not captured, so vxsim shows
# "hud: NAME [text not captured]" where the focus vessel's HUD changed hands. Those lines are
# set apart on both sides; each Windows one must stand where the kept transcript has a HUD line
# of that vessel at that time.
#   scripts/lib/wine-demo.sh [BUILD_DIR [ZIP]]     (default build/win32)
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
. scripts/lib/wine.sh
wine_setup "${1:-build/win32}"
build=$WINE_BUILD
zip=${2:+$(realpath "$2")}
[ -f "$build/vxsim.exe" ] || { echo "error: $build/vxsim.exe is not built" >&2; exit 1; }
[ -n "$WINE" ] || { echo "error: no wine loader for $STAGE programs is installed" >&2; exit 1; }
wine_prefix >/dev/null 2>&1 || { echo "error: wine cannot set up its prefix $WINEPREFIX" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
mkdir -p "$root/modules" "$root/meshes/CKit" "$root/config/CKITIdConfig" "$root/scenarios" \
    "$work/start/scripts"
printf '2.0\n' >"$root/meshes/CKit/ver.dtf"
# An identity no demo member holds, a .cfg whose name declares none, and a file the pattern
# does not match: the walk meets all three and the demo is unchanged.
: >"$root/config/CKITIdConfig/ckitMULE-muleteer-Mul.cfg"
: >"$root/config/CKITIdConfig/readme.cfg"
: >"$root/config/CKITIdConfig/notes.txt"
if [ -n "$zip" ]; then
    vxsim="$root/vxsim.exe"
    cp "$build/vxsim.exe" "$build/vxhost.dll" "$root/"
    cp "$build/runtime/modules/CKit.dll" "$build/runtime/modules/Tender.dll" "$root/modules/"
    (cd "$root" && cmake -E tar xf "$zip")
    what="$STAGE archive demo"
else
    vxsim="$build/vxsim.exe"
    cp "$build"/runtime/modules/*.dll "$root/modules/"
    cp scenarios/*.scn "$root/scenarios/"
    what="$STAGE demo"
fi
cp tests/e2e/colony/demo.vxs "$work/start/scripts/"

winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

expected="$repo/tests/e2e/colony/demo.expected"
failed=0
check() { # NAME TRANSCRIPT SAVE
    local name=$1 got=$2 save=$3
    if ! diff -u <(grep -v '^\[[0-9.]*\] hud: ' "$expected") <(grep -v '^\[[0-9.]*\] hud: ' "$got") >&2; then
        echo "error: $name: the transcript differs from demo.expected beyond the HUD lines" >&2
        failed=1
    fi
    local line stamp vessel
    while IFS= read -r line; do
        if [[ ! $line =~ ^(\[[0-9.]+\])\ hud:\ (.*)\ \[text\ not\ captured\]$ ]]; then
            echo "error: $name: unexpected HUD line: $line" >&2
            failed=1
            continue
        fi
        stamp=${BASH_REMATCH[1]} vessel=${BASH_REMATCH[2]}
        if ! grep -qF -e "$stamp hud: $vessel (" -e "$stamp hud: $vessel -" "$expected"; then
            echo "error: $name: no HUD line of $vessel at $stamp in demo.expected: $line" >&2
            failed=1
        fi
    done < <(grep '^\[[0-9.]*\] hud: ' "$got")
    if ! cmp -s "$repo/tests/e2e/colony/demo-saved.scn" "$save"; then
        diff -u "$repo/tests/e2e/colony/demo-saved.scn" "$save" >&2 || true
        echo "error: $name: the saved scenario differs from demo-saved.scn" >&2
        failed=1
    fi
}

cd "$work/start"
start=$(date +%s%N)
"$WINE" "$vxsim" --root "$(winpath "$root")" >builtin.txt
mv demo-saved.scn builtin-saved.scn
check "built-in demo" builtin.txt builtin-saved.scn
# Relative to the start folder with backslashes, and absolute on the drive wine maps to /.
"$WINE" "$vxsim" --root "..\\root" "$(winpath "$root/scenarios/demo.scn")" "scripts\\demo.vxs" \
    >files.txt
check "demo from files" files.txt demo-saved.scn
ms=$((($(date +%s%N) - start) / 1000000))
[ $failed -eq 0 ] || exit 1

lines=$(grep -c '' builtin.txt)
hud_kept=$(grep -c '^\[[0-9.]*\] hud: ' "$expected")
hud_win=$(grep -c '^\[[0-9.]*\] hud: ' builtin.txt)
printf '%s: 2 runs under %s in %d ms, %d transcript lines each; %d of %d lines the same,' \
    "$what" "${WINE##*/}" "$ms" "$lines" "$((lines - hud_win))" "$(grep -c '' "$expected")"
printf ' %d HUD lines kept vs %d "[text not captured]"; saves identical\n' "$hud_kept" "$hud_win"
