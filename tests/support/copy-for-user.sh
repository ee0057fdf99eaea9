# Sourced by the tests that run vxsim as an ordinary user. That user may not reach the build
# folder (a clone inside a private temporary folder is the common case), so vxsim, the host
# library and the modules are copied into the test's own folder, which the test opens to it.
#   copy_for_user WORK: sets vxsim and modules to the copies; reads vxsim and modules
copy_for_user() {
    local bin="$1/bin"
    mkdir -p "$bin/modules" && cp "$vxsim" "$(dirname "$vxsim")"/libvxhost.so "$bin/" &&
        cp "$modules"/*.dll "$bin/modules/" && chmod -R a+rX "$bin" || return 1
    vxsim="$bin/${vxsim##*/}" modules="$bin/modules"
    export LD_LIBRARY_PATH="$bin${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
}
