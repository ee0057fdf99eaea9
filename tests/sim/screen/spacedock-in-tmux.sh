#!/usr/bin/env bash
# Flies the built-in demo by hand in a real terminal: vxsim --interactive in a tmux session,
# keys sent as a person types them, the screen read back with capture-pane; vxsim runs as an
# ordinary user in a start folder it may not write. Each wait gives up after 8 seconds, and
# vxsim after a minute.
#   spacedock-in-tmux.sh VXSIM MODULE_FOLDER
set -euo pipefail
vxsim=$(realpath "$1") modules=$(realpath "$2") work=$(mktemp -d)
root="$work/root" start="$work/start"
tmux_() { tmux -S "$work/tmux.sock" "$@"; }
trap 'tmux_ kill-server 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir -p "$root/config/CKITIdConfig" "$root/meshes/CKit" "$start/saves"
. "$(dirname "$0")/../../support/copy-for-user.sh" && copy_for_user "$work"
ln -s "$modules" "$root/modules"
echo 2.0 >"$root/meshes/CKit/ver.dtf"
chmod 755 "$work" && chmod -R a+rwX "$root" "$start" && chmod 555 "$start"
user= && [ "$(id -u)" != 0 ] || user="setpriv --reuid=65534 --regid=65534 --clear-groups"
screen() { tmux_ capture-pane -p -t spacedock; }
fail() { echo "FAIL: $*" >&2; screen >&2 || true; exit 1; }
wait_for() { # TEXT: until it is on the screen
    for _ in $(seq 80); do screen | grep -qF -- "$1" && return; sleep 0.1; done
    fail "no \"$1\" on the screen"
}
send() { tmux_ send-keys -t spacedock "$@"; sleep 0.15; }
tmux_ new-session -d -s spacedock -x 120 -y 36 "cd '$start' && timeout --foreground 60 env LD_LIBRARY_PATH='$LD_LIBRARY_PATH' $user \
'$vxsim' --root '$root' --interactive; echo \"vxsim exited \$?\"; sleep 30"
wait_for "focus Halcyra"
send s
wait_for "Currently 12 personnel available in Halcyra Spacedock"
tmux_ resize-window -t spacedock -x 70 -y 20 # too small: told so, and only quitting acts
wait_for "needs at least 80 by 24"
send m F10 # m is a key for the colony
wait_for "Quit anyway? (y/n)"
send n
tmux_ resize-window -t spacedock -x 120 -y 36
wait_for "not quitting"
! screen | grep -F "key: m" || fail "a key pressed while the screen was too small was sent"
send F5 # the tender casts off, so the selected member leaves on foot
wait_for "released 1 dock(s)"
send 1 e # each key's answer replaces the last one on the status line
wait_for "e: taken by Halcyra"
wait_for "commencing spacewalk"
send Tab Tab
wait_for "focus CKit_Eng-Marietta_Vasko"
wait_for "Halcyra airlock (open) at x 0.0 y 0.0 z -8.0 m"
send Down Down # she stood 1 m beyond the box, and the colony takes her in
wait_for "has entered the Colony"
send Tab # the tender docks again where it parted, and a member crosses into it
wait_for "focus Tender"
send F6
wait_for "docked Tender 0 to Halcyra 0"
send Tab 1 1 e
wait_for "Airlock pressure stable"
wait_for "vessel-: CKitTTender"
send C-z 'C-\' C-s # none stops the screen: Ctrl-Z and Ctrl-S go to the colony
wait_for "ctrl+s: taken by Halcyra"
send F2 # the start folder cannot be written, and another path is typed
wait_for "cannot save $start/demo-saved.scn: Permission denied"
send -l saves/mine.scnx
send BSpace Enter
wait_for "saved $start/saves/mine.scn"
grep -q "Marietta_Vasko" "$start/saves/mine.scn" || fail "the saved roster lacks the member"
send m C-q # a change after the save is asked about before it is dropped
wait_for "Quit anyway? (y/n)"
send n
wait_for "not quitting"
send C-c
wait_for "Quit anyway? (y/n)"
send y
wait_for "vxsim exited 0"
