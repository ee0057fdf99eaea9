#!/usr/bin/env bash
# Every command the README shows at a prompt, run as a user types it (in order, from one folder
# holding the example scenarios and the scripts, vxsim on the path with a root folder of its
# own), and its
# output compared with what the README shows under it. Such a command is a line "$ ..." in a
# code block; the lines after it, up to the next "$ " line or the block's end, are its output
# (standard output and standard error as a terminal shows them).
#   readme.sh VXSIM MODULE_FOLDER REPOSITORY (its README.md; scenarios/ and scripts/ are linked)
set -uo pipefail
vxsim=$(realpath "$1") modules=$(realpath "$2") repo=$(realpath "$3") work=$(mktemp -d)
readme=$repo/README.md failed=0 count=0
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/root/meshes/CKit" "$work/root/config/CKITIdConfig" "$work/start"
ln -s "$modules" "$work/root/modules" && echo 2.0 >"$work/root/meshes/CKit/ver.dtf"
ln -s "$repo/scenarios" "$work/start/scenarios" && ln -s "$repo/scripts" "$work/start/scripts"
printf '#!/bin/sh\nexec "%s" --root "%s" "$@"\n' "$vxsim" "$work/root" >"$work/bin/vxsim"
chmod +x "$work/bin/vxsim"
check() { # COMMAND EXPECTED
    count=$((count + 1))
    (cd "$work/start" && PATH="$work/bin:$PATH" bash -c "$1" >"$work/got" 2>&1)
    if ! printf '%s' "$2" | diff -u - "$work/got" >"$work/diff"; then
        echo "FAIL: the README shows other output for: $1" && cat "$work/diff"
        failed=1
    fi
}
command="" expected="" inside=0
while IFS= read -r line; do
    if [[ $line == '```'* ]]; then
        [ -n "$command" ] && check "$command" "$expected"
        command="" expected="" inside=$((1 - inside))
    elif [ $inside = 1 ] && [[ $line == '$ '* ]]; then
        [ -n "$command" ] && check "$command" "$expected"
        command=${line#\$ } expected=""
    elif [ -n "$command" ]; then
        expected+="$line"$'\n'
    fi
done <"$readme"
[ $count -gt 0 ] || { echo "FAIL: no command found in $readme"; failed=1; }
echo "$count README commands run"
exit $failed
