# Shared by scripts/fuzz and scripts/lib/fuzz-run.sh: which fuzz targets there are and how
# each one is run.
#
#   fuzz_targets          the target names (fuzz_NAME is the binary), one per seed corpus
#                         directory fuzz/corpus/NAME/
#   fuzz_options NAME     extra libFuzzer flags for NAME, from fuzz/NAME.options (one flag a
#                         line, '#' comments), if there is such a file
#   fuzz_status LOG       the last status line libFuzzer wrote: "runs N cov N corpus N"
#   fuzz_runs LOG         the run count of libFuzzer's closing line, or of its last status line

fuzz_targets() {
    local corpus
    for corpus in fuzz/corpus/*/; do
        basename "$corpus"
    done
}

fuzz_options() {
    local file="fuzz/$1.options"
    [ -f "$file" ] || return 0
    sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$file"
}

# libFuzzer's status lines read "#RUNS  KIND cov: N ft: N corp: N/SIZE ...".
fuzz_status() {
    { grep -aE '^#[0-9]+[[:space:]]+[A-Z]+[[:space:]]+cov:' "$1" 2>/dev/null || true; } | tail -1 |
        sed -E 's/^#([0-9]+)[[:space:]]+[A-Z]+[[:space:]]+cov: ([0-9]+).* corp: ([0-9]+).*/runs \1 cov \2 corpus \3/'
}

fuzz_runs() {
    local done
    done=$({ grep -aE '^Done [0-9]+ runs' "$1" 2>/dev/null || true; } | tail -1 | awk '{print $2}')
    if [ -n "$done" ]; then
        echo "$done"
    else
        fuzz_status "$1" | awk '{print $2}'
    fi
}
