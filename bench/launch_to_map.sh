#!/usr/bin/env bash
# Launch to first map, side by side under one Xvfb: the program against two baselines, a bare Qt main
# window with an MDI area and the same with a short menu bar (which, like any program with menus, loads
# the fonts and draws glyphs), started alternately, each from exec to the map of its main window.
# Prints the three medians and the program's ratio to each baseline. A tool, not a test.
#
#   bench/launch_to_map.sh [build dir] [runs of each]     (defaults: build, 21)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-21}"
probe="$build/bench/launch_to_map"
bare="$build/bench/bare_window"
program="$build/app/veltrix"
for tool in "$probe" "$bare" "$program"; do
    [[ -x "$tool" ]] || { echo "missing $tool: build launch_to_map, bare_window and veltrix" >&2; exit 1; }
done
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 100); do
    display="$(head -n1 "$work/display" 2>/dev/null || true)"
    [[ -n "$display" ]] && break
    sleep 0.05
done
[[ -n "$display" ]] || { echo "Xvfb did not start" >&2; exit 1; }

# One start in a fresh home, so the preferences are the defaults; prints the milliseconds.
launch() {
    local title="$1"
    shift
    local home
    home="$(mktemp -d "$work/home.XXXX")"
    env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$home" DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
        "$probe" "$title" 30 "$@"
    rm -rf "$home"
}

# The first start of each warms the file cache and the font cache; it is not counted.
launch "Bare main window" "$bare" >/dev/null
launch "Bare main window" "$bare" --menu-bar >/dev/null
launch "Veltrix" "$program" >/dev/null

: >"$work/bare"
: >"$work/menus"
: >"$work/program"
for ((i = 0; i < runs; ++i)); do
    launch "Bare main window" "$bare" >>"$work/bare"
    launch "Bare main window" "$bare" --menu-bar >>"$work/menus"
    launch "Veltrix" "$program" >>"$work/program"
done

median() { sort -g "$1" | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
bare_median="$(median "$work/bare")"
menus_median="$(median "$work/menus")"
program_median="$(median "$work/program")"
printf 'launch to first map, median of %d alternating runs under Xvfb\n' "$runs"
printf '  bare main window with MDI area:       %8.2f ms\n' "$bare_median"
printf '  the same with a menu bar:             %8.2f ms\n' "$menus_median"
printf '  veltrix:                              %8.2f ms\n' "$program_median"
awk -v p="$program_median" -v b="$bare_median" -v m="$menus_median" 'BEGIN {
    printf "  ratio to the bare window:             %8.2f\n", p / b
    printf "  ratio to the window with a menu bar:  %8.2f\n", p / m
}'
