#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program into build/ and starts it.
# Arguments are passed to the command-line companion when the windowed program is not built.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

veltrix_install_packages
build="$VELTRIX_ROOT/build"
veltrix_configure "$build"

if veltrix_has_target "$build" veltrix; then
    veltrix_build "$build" veltrix
    program="$build/app/veltrix"
    if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
        veltrix_log "no display: starting $program on a virtual X display (Ctrl+C ends it)"
        exec xvfb-run -a "$program"
    fi
    veltrix_log "starting $program"
    exec "$program"
fi

veltrix_build "$build" veltrix-cli
veltrix_log "the windowed program is not part of this tree yet: running the command-line companion"
exec "$build/cli/veltrix-cli" "$@"
