#!/usr/bin/env bash
# vxsim where a user could lose work: a root it may not write, one without config/ or the crew
# library, two runs on one root, Ctrl-C, endless or oversized input, a step that leaves the
# bounds, a save over a file the user may not write. Runs whose point is a permission run as
# an ordinary user, since root ignores permissions.
#   roots-and-bounds.sh VXSIM MODULE_FOLDER DEMO_TRANSCRIPT
set -uo pipefail
vxsim=$(realpath "$1") modules=$(realpath "$2") demo=$(realpath "$3") work=$(mktemp -d) failed=0
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
. "$(dirname "$0")/../support/copy-for-user.sh" && copy_for_user "$work" || exit 1
as_user() { if [ "$(id -u)" = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi; }
root() { # NAME [no-config|no-ckit]: a fresh root, open to the ordinary user
    local r="$work/$1" m
    mkdir -p "$r/meshes/CKit" "$r/modules" && echo 2.0 >"$r/meshes/CKit/ver.dtf"
    [ "${2:-}" = no-config ] || mkdir -p "$r/config/CKITIdConfig"
    for m in "$modules"/*.dll; do
        [ "${2:-}" = no-ckit ] && [ "${m##*/}" = CKit.dll ] || ln -s "$m" "$r/modules/"
    done
    chmod -R a+rwX "$r" && echo "$r"
}
run() { "$@" >"$work/out" 2>"$work/err"; status=$?; }
expect() { # CASE STATUS TEXT: the last run's exit status, and TEXT on its standard error (or,
           # when TEXT is empty, nothing there)
    if [ "$status" != "$2" ] || { [ -n "$3" ] && ! grep -qF -- "$3" "$work/err"; } ||
        { [ -z "$3" ] && [ -s "$work/err" ]; }; then
        echo "FAIL $1: exit $status, wanted $2 and \"$3\"; standard error:" && cat "$work/err"
        failed=1
    fi
}
check() { "${@:2}" || { echo "FAIL $1" && failed=1; }; } # CASE COMMAND...

r=$(root read-only) && chmod 555 "$r"
run as_user "$vxsim" --root "$r" -e step
expect "read-only root" 2 "$r: the root folder cannot be written (Permission denied)"

r=$(root no-config no-config)
run "$vxsim" --root "$r"
expect "root without config" 0 ""
check "root without config: the demo as kept" cmp -s "$work/out" "$demo"

r=$(root no-ckit no-ckit)
run "$vxsim" --root "$r" -e "step; key 1; key e; step"
expect "root without the crew library" 0 "$r/modules/CKit.dll is missing: the crew library"
check "one warning of the missing crew library" test "$(grep -c CKit.dll "$work/err")" = 1

r=$(root busy) && cd "$r"
"$vxsim" --root "$r" -e "dt 0.001; run 1e6" >first.out 2>first.err &
first=$!
for _ in $(seq 100); do [ -s first.out ] && break; sleep 0.1; done
run "$vxsim" --root "$r" -e step
expect "second run on a root in use" 2 "$r: the root folder is in use by another vxsim run"
kill -INT $first && wait $first
status=$? && cp first.err "$work/err"
expect "Ctrl-C" 130 "-e:2: interrupted at T = "
check "Ctrl-C leaves whole transcript lines" test "$(tail -c 1 first.out | od -An -c | tr -d ' ')" = '\n'
cd "$work"

run "$vxsim" --root "$r" /dev/zero -e step
expect "endless scenario" 2 "/dev/zero:1: the line is longer than 4096 bytes, the most a scenario line"
yes step | head -c 1048577 >big.vxs
printf 'BEGIN_VESSEL Tender Lost\n  POS 1e-100 0 0\nEND_VESSEL\n' >lost.scn
run "$vxsim" --root "$r" lost.scn big.vxs
expect "oversized script" 2 "big.vxs:209716: the file goes on past 1048576 bytes, the most a script"
run "$vxsim" --root "$r" lost.scn -e "step; save lost-saved.scn"
expect "step to no number" 2 "-e:1: step 1 of 1: vessel 'Lost' left the bounds: its position (-inf"
check "nothing saved after the step" test ! -e lost-saved.scn

mkdir -m 777 open && cd open && printf 'kept\n' >kept.scn && chmod 444 kept.scn
run as_user "$vxsim" --root "$r" ../lost.scn -e "save kept.scn"
expect "read-only save target" 2 "-e:1: save: cannot save kept.scn: Permission denied (the file is kept"
check "the read-only file kept" test "$(cat kept.scn)$(stat -c %a kept.scn)" = kept444
check "no temporary file left" test -z "$(ls -a | grep tmp)"
exit $failed
