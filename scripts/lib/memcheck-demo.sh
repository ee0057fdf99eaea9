#!/usr/bin/env bash
# Runs vxsim's built-in demo from the release build under valgrind's memcheck: any invalid
# read or write, use of an uninitialised value or definite leak fails the run, and so does a
# transcript that differs from the kept one. Runs in a fresh folder, where the demo's save
# lands.
#   scripts/lib/memcheck-demo.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
vxsim="$repo/build/release/vxsim"
[ -x "$vxsim" ] || { echo "error: $vxsim is not built (cmake --build --preset release)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$repo/build/release/runtime" "$work/root" # the build's own stays as it was laid out
cd "$work"
if ! valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
    --log-file=memcheck.log "$vxsim" --root "$work/root" >transcript.txt; then
    cat memcheck.log >&2
    echo "error: the demo is not clean under memcheck (log above)" >&2
    exit 1
fi
if ! diff -u "$repo/tests/e2e/colony/demo.expected" transcript.txt >&2; then
    echo "error: the demo's transcript under memcheck differs from tests/e2e/colony/demo.expected" >&2
    exit 1
fi
echo "memcheck: demo clean, $(grep -c '' transcript.txt) transcript lines," \
    "$(grep -oE 'total heap usage: [0-9,]+ allocs' memcheck.log | head -1)"
