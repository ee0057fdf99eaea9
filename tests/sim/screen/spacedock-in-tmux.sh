#!/usr/bin/env bash
# Flies the built-in demo by hand in a real terminal: vxsim --interactive in a tmux session,
# keys sent as a person types them, the screen read back with capture-pane. Each wait gives up
# after 8 seconds, and vxsim after a minute.
#   spacedock-in-tmux.sh VXSIM MODULE_FOLDER
set -euo pipefail
vxsim=$(realpath "$1") work=$(mktemp -d)
root="$work/root" start="$work/start"
tmux_() { tmux -S "$work/tmux.sock" "$@"; }
trap 'tmux_ kill-server 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$root/config/CKITIdConfig" "$root/meshes/CKit" "$start"
ln -s "$(realpath "$2")" "$root/modules"
echo 2.0 >"$root/meshes/CKit/ver.dtf"
screen() { tmux_ capture-pane -p -t spacedock; }
fail() { echo "FAIL: $*" >&2; screen >&2 || true; exit 1; }
wait_for() { # TEXT: until it is on the screen
    for _ in $(seq 80); do screen | grep -qF -- "$1" && return; sleep 0.1; done
    fail "no \"$1\" on the screen"
}
send() { tmux_ send-keys -t spacedock "$@"; sleep 0.15; }
tmux_ new-session -d -s spacedock -x 120 -y 36 "cd '$start' && timeout --foreground 60 '$vxsim' \
--root '$root' --interactive; echo \"vxsim exited \$?\"; sleep 30"
wait_for "focus Halcyra"
tmux_ resize-window -t spacedock -x 70 -y 20 # too small is told so, and growing it back heals
wait_for "needs at least 80 by 24"
tmux_ resize-window -t spacedock -x 120 -y 36
wait_for "F10 quit"
send s
wait_for "Currently 12 personnel available in Halcyra Spacedock"
send F5 # the tender casts off, so the selected member leaves on foot
wait_for "undock: Halcyra 0"
send 1 e
wait_for "commencing spacewalk"
screen | grep -q "open 39" || fail "the colony publishes no 39th free seat"
send Tab Tab
wait_for "focus CKit_Eng-Marietta_Vasko"
wait_for "Halcyra airlock (open) at x 0.0 y 0.0 z -8.0 m"
send Down Down Down # she stood 1 m beyond the box, and the colony takes her in
wait_for "has entered the Colony"
send Tab # the tender docks again where it parted, and a member crosses into it
wait_for "focus Tender"
send F6
wait_for "dock: Tender 0 Halcyra 0"
send Tab 1 1 e
wait_for "Airlock pressure stable"
wait_for "vessel-: CKitTTender"
send F2
wait_for "saved $start/demo-saved.scn"
grep -q "Marietta_Vasko" "$start/demo-saved.scn" || fail "the saved roster lacks the member"
send m F10 # a change after the save is asked about before it is dropped
wait_for "Quit anyway? (y/n)"
send n
wait_for "not quitting"
send C-q
wait_for "Quit anyway? (y/n)"
send y
wait_for "vxsim exited 0"
