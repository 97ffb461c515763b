# Shared set-up for scripts/run.sh, scripts/test.sh and .ci/run. Source it; it defines functions only.

VELTRIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian 12 packages the build, the tests and a run under a virtual display need.
VELTRIX_PACKAGES=(cmake g++ qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    fonts-liberation xvfb xauth poppler-utils python3-scikit-rf desktop-file-utils appstream dpkg-dev
    lintian help2man man-db clang-format libxcb1-dev pkgconf openbox xdotool)

veltrix_log() {
    printf '==> %s\n' "$*"
}

# Installs the packages that are missing, with one apt-get update.
veltrix_install_packages() {
    if ! command -v dpkg-query >/dev/null 2>&1; then
        veltrix_log "no dpkg-query: not a Debian system, skipping the package check"
        return 0
    fi
    local missing=() pkg status
    for pkg in "${VELTRIX_PACKAGES[@]}"; do
        status="$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)"
        if [[ "$status" != "install ok installed" ]]; then
            missing+=("$pkg")
        fi
    done
    if [[ ${#missing[@]} -eq 0 ]]; then
        veltrix_log "all system packages are installed: nothing to install"
        return 0
    fi
    veltrix_log "installing missing packages: ${missing[*]}"
    local sudo=()
    if [[ "$(id -u)" -ne 0 ]]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "error: not root and no sudo; install as root: apt-get install ${missing[*]}" >&2
            return 1
        fi
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# veltrix_configure <build dir> [extra cmake arguments...]
veltrix_configure() {
    local dir="$1"
    shift
    veltrix_log "configuring $dir"
    cmake -S "$VELTRIX_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

# veltrix_build <build dir> [targets...]; everything when no target is given.
veltrix_build() {
    local dir="$1"
    shift
    local targets=()
    if [[ $# -gt 0 ]]; then
        targets=(--target "$@")
    fi
    veltrix_log "building ${*:-everything} in $dir"
    cmake --build "$dir" -j2 "${targets[@]}"
}

# True when the configured build has the target (generator-independent).
veltrix_has_target() {
    local dir="$1" target="$2"
    grep -q "/CMakeFiles/${target}\.dir\$" "$dir/CMakeFiles/TargetDirectories.txt" 2>/dev/null
}
