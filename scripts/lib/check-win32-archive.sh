#!/usr/bin/env bash
# Checks the add-on archive's file list: exactly modules/halcyra.dll, the example scenarios
# under scenarios/ and the guide docs/Halcyra-Colony.txt, nothing above or beside them (it is
# unpacked over the simulator's folder); and that its halcyra.dll is the very file the win32
# build's suites load. scripts/lib/wine-demo.sh BUILD_DIR ZIP runs the demo from it.
#   scripts/lib/check-win32-archive.sh ZIP [BUILD_DIR]     (default build/win32)
set -euo pipefail
cd "$(dirname "$0")/../.."
zip=$(realpath "${1:?usage: check-win32-archive.sh ZIP [BUILD_DIR]}")
build=${2:-build/win32}
expected=$({
    echo modules/halcyra.dll
    echo docs/Halcyra-Colony.txt
    for scenario in scenarios/*.scn; do echo "$scenario"; done
} | sort)
got=$(cmake -E tar tf "$zip" | grep -v '/$' | sort)
if [ "$expected" != "$got" ]; then
    diff -u <(echo "$expected") <(echo "$got") >&2 || true
    echo "error: ${zip##*/} does not hold exactly the add-on's files" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip" modules/halcyra.dll)
cmp -s "$work/modules/halcyra.dll" "$build/runtime/modules/halcyra.dll" ||
    { echo "error: ${zip##*/}: its halcyra.dll is not the one $build's suites load" >&2; exit 1; }
echo "win32 archive: $(grep -c '' <<<"$got") files as listed: $(paste -sd ' ' <<<"$got");" \
    "its halcyra.dll is $build's"
