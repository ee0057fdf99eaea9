#!/usr/bin/env bash
# vxsim validate as an add-on developer runs it, read back from its JUnit report.
#   validate.sh VXSIM MODULE          the module passes every check at strictness 10; a time
#                                     limit it cannot meet and a strictness out of range fail
#   validate.sh VXSIM MODULE CHECK    at the default strictness the module fails CHECK alone,
#                                     and the command its line gives fails it again
set -uo pipefail
vxsim=$1 module=$2 check=${3:-} work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" && cat "$work/out" && exit 1; }
# The checks of the report, "NAME seed N OUTCOME" a line.
outcomes() {
    awk '/<testcase /{ match($0, / name="[^"]*"/); name = substr($0, RSTART + 7, RLENGTH - 8) }
         /<testcase .*\/>/{ print name " pass" } /<failure/{ print name " fail" }
         /<skipped/{ print name " skip" }' "$work/report.xml"
}

if [ -z "$check" ]; then
    "$vxsim" validate "$module" --strictness 10 --report "$work/report.xml" >"$work/out" 2>&1
    status=$?
    cat "$work/out"
    [ $status = 0 ] || fail "exit status $status, not 0"
    [ "$(outcomes | grep -c ' pass$')" -ge 6 ] && ! outcomes | grep -q ' fail$' ||
        fail "the report does not say all passed: $(outcomes)"
    "$vxsim" validate "$module" --only loading --timeout 0.001 --seed 7 --repeat 2 >"$work/out" 2>&1
    [ $? = 1 ] && [ "$(grep -c '^FAIL loading (seed [78]) .*time limit of 0.001 s' "$work/out")" = 2 ] ||
        fail "a check past its time limit did not fail naming it, once for each seed"
    "$vxsim" validate "$module" --strictness 11 >"$work/out" 2>&1
    [ $? = 2 ] || fail "strictness 11 is not refused as bad usage"
    exit 0
fi

"$vxsim" validate "$module" --report "$work/report.xml" >"$work/out" 2>&1
status=$?
cat "$work/out"
[ $status = 1 ] || fail "exit status $status, not 1"
failed=$(outcomes | grep ' fail$')
[ "$failed" = "$check seed 1 fail" ] && [ "$(outcomes | wc -l)" = 7 ] ||
    fail "the report should hold 7 checks and fail $check alone: $(outcomes)"
again=$(sed -n "s/^FAIL $check .*; reproduce: vxsim //p" "$work/out")
[ -n "$again" ] || fail "no reproducing command on the FAIL line"
eval "\"\$vxsim\" $again" >"$work/out" 2>&1
[ $? = 1 ] && grep -q "^FAIL $check (seed 1)" "$work/out" &&
    grep -q ': 0 passed, 1 failed, 0 skipped in ' "$work/out" ||
    fail "the reproducing command did not fail $check again"
