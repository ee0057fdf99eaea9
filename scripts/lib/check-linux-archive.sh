#!/usr/bin/env bash
# Checks the Linux archive as a user gets it. Unpacked in a temporary folder, no program or
# library in it may carry a run path that is not relative to itself ($ORIGIN), and the host
# library vxsim and the modules load must be the unpacked one. Then vxsim, started from another
# folder on a copy of the unpacked runtime folder (the unpacked one must stay as it came), runs
# its built-in demo: transcript and save must be tests/e2e/colony/demo.expected and
# demo-saved.scn byte for byte.
#   scripts/lib/check-linux-archive.sh TARBALL
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
tarball=$(realpath "${1:?usage: check-linux-archive.sh TARBALL}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "error: ${tarball##*/}: $*" >&2
    failed=1
}

start=$(date +%s%N)
mkdir "$work/unpacked" "$work/start"
tar -xzf "$tarball" -C "$work/unpacked"
top=$(find "$work/unpacked" -mindepth 1 -maxdepth 1)
[ -x "$top/vxsim" ] || { fail "no vxsim in its top folder"; exit 1; }

binaries=("$top/vxsim" "$top/libvxhost.so" "$top"/runtime/modules/*.dll)
for file in "${binaries[@]}"; do
    while IFS= read -r path; do
        # shellcheck disable=SC2016 # the text $ORIGIN itself
        [[ $path == '$ORIGIN'* ]] || fail "${file#"$top"/} has the run path $path"
    done < <(readelf -d "$file" | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]/\1/p' | tr ':' '\n')
    [ "$file" = "$top/libvxhost.so" ] && continue
    host=$(env -u LD_LIBRARY_PATH ldd "$file" | sed -n 's/^[[:space:]]*libvxhost\.so => \(.*\) (0x.*/\1/p')
    if [ -z "$host" ] || [ "$(realpath "$host")" != "$top/libvxhost.so" ]; then
        fail "${file#"$top"/} does not load the unpacked libvxhost.so (${host:-not found})"
    fi
done

listing() { (cd "$top" && find . -printf '%p %s %T@\n' | sort); }
before=$(listing)
cp -r "$top/runtime" "$work/root"
cd "$work/start"
env -u LD_LIBRARY_PATH "$top/vxsim" --root "$work/root" >transcript.txt
ms=$((($(date +%s%N) - start) / 1000000))
cmp -s "$repo/tests/e2e/colony/demo.expected" transcript.txt ||
    { diff -u "$repo/tests/e2e/colony/demo.expected" transcript.txt >&2; fail "the demo's transcript differs from demo.expected"; }
cmp -s "$repo/tests/e2e/colony/demo-saved.scn" demo-saved.scn ||
    { diff -u "$repo/tests/e2e/colony/demo-saved.scn" demo-saved.scn >&2; fail "the demo's save differs from demo-saved.scn"; }
[ "$before" = "$(listing)" ] || fail "the run changed the unpacked folder"
[ $failed -eq 0 ] || exit 1
echo "linux archive: unpacked and its demo run in $ms ms: $((${#binaries[@]})) binaries with \$ORIGIN run paths only," \
    "$(grep -c '' transcript.txt) transcript lines and the save as kept"
