#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds everything into build/ and runs the whole test suite.
# Extra arguments go to ctest (for example -R Cli).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

veltrix_install_packages
build="$VELTRIX_ROOT/build"
veltrix_configure "$build"
veltrix_build "$build"
veltrix_log "running the tests"
# A hung test fails on its own instead of stalling the run.
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300 "$@"
