#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz for SECONDS each, on a copy of its seed corpus, and
# prints libFuzzer's closing line. A crash stops the run and leaves its input in
# build/fuzz/artifacts/.
#   scripts/lib/fuzz-run.sh SECONDS
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:?seconds per target}
artifacts="$PWD/build/fuzz/artifacts"
mkdir -p "$artifacts"
for corpus in fuzz/corpus/*/; do
    target=$(basename "$corpus")
    binary=build/fuzz/fuzz_$target
    [ -x "$binary" ] || { echo "error: $binary is not built" >&2; exit 1; }
    work=$(mktemp -d)
    cp "$corpus"* "$work"/
    log=build/fuzz/fuzz_$target.log
    if ! "$binary" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$artifacts/$target-" \
        "$work" >"$log" 2>&1; then
        tail -40 "$log" >&2
        echo "error: fuzz target $target failed; its input is in $artifacts/" >&2
        rm -rf "$work"
        exit 1
    fi
    echo "$target: $(grep -E '^Done [0-9]+ runs' "$log" | tail -1)"
    rm -rf "$work"
done
