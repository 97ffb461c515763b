#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program into build/ and starts it.
# Without a display there is nothing to show the windows on: the script prints the companion's
# judgement of the default part and writes a picture of the frame instead (VELTRIX_SCREENSHOT names
# the file; veltrix-screenshot.png by default).
# Arguments are passed to the command-line companion when the windowed program is not built.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

veltrix_install_packages
build="$VELTRIX_ROOT/build"
veltrix_configure "$build"

if veltrix_has_target "$build" veltrix; then
    if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
        veltrix_build "$build" veltrix veltrix-cli
        shot="${VELTRIX_SCREENSHOT:-veltrix-screenshot.png}"
        veltrix_log "no display: the companion's judgement of the default part"
        "$build/cli/veltrix-cli"
        veltrix_log "writing a picture of the frame and its windows to $shot"
        "$build/app/veltrix" --screenshot "$shot"
        veltrix_log "wrote $shot"
        cat <<'HOW'
To use the windows, run scripts/run.sh in a desktop session, or from another machine with a
display through X forwarding:  ssh -X user@this-machine, then scripts/run.sh in the checkout.
HOW
        exit 0
    fi
    veltrix_build "$build" veltrix
    program="$build/app/veltrix"
    veltrix_log "starting $program"
    exec "$program"
fi

veltrix_build "$build" veltrix-cli
veltrix_log "the windowed program is not part of this tree yet: running the command-line companion"
exec "$build/cli/veltrix-cli" "$@"
