#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz (one per seed corpus in fuzz/corpus/) for SECONDS each,
# on a copy of its seed corpus, and prints libFuzzer's closing line. A crash stops the run and
# leaves its input in build/fuzz/artifacts/.
#   scripts/lib/fuzz-run.sh SECONDS
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib/fuzz-targets.sh
seconds=${1:?seconds per target}
artifacts="$PWD/build/fuzz/artifacts"
mkdir -p "$artifacts"
for target in $(fuzz_targets); do
    binary=build/fuzz/fuzz_$target
    [ -x "$binary" ] || { echo "error: $binary is not built" >&2; exit 1; }
    work=$(mktemp -d)
    cp "fuzz/corpus/$target/"* "$work"/
    log=build/fuzz/fuzz_$target.log
    mapfile -t options < <(fuzz_options "$target")
    if ! "$binary" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$artifacts/$target-" \
        "${options[@]}" "$work" >"$log" 2>&1; then
        tail -40 "$log" >&2
        echo "error: fuzz target $target failed; its input is in $artifacts/" >&2
        rm -rf "$work"
        exit 1
    fi
    echo "$target: $(grep -E '^Done [0-9]+ runs' "$log" | tail -1)"
    rm -rf "$work"
done
