#!/bin/bash
# The start-up pages under a real window manager, with the keyboard only: each page has the keyboard in
# turn, Escape closes it and hands the keyboard to the next, the last one to the frame. The offscreen
# platform makes every new window active, so only a window manager on a virtual display shows this.
#   check_startup_keyboard.sh <veltrix> <scratch folder> <frame title>
# Exits 77 (skipped) when Xvfb, openbox or xdotool is missing.
set -u
program=$1
work=$2
frame_title=$3

for tool in Xvfb openbox xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done

rm -rf "$work"
mkdir -p "$work/config" "$work/home"
pids=()
# Each process started here is ended here, the program first and the display last.
finish() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
}
trap finish EXIT

fail() {
    echo "FAILED: $*"
    for log in xvfb openbox veltrix; do
        if [[ -s "$work/$log.log" ]]; then
            echo "--- $log:"
            tail -n 20 "$work/$log.log"
        fi
    done
    exit 1
}

# wait_for <seconds> <command...>: true once the command succeeds, false when the time is up.
wait_for() {
    local tenths=$(($1 * 10))
    shift
    while ((tenths-- > 0)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Xvfb picks a free display itself and writes its number to the file.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
display_written() { grep -q '^[0-9][0-9]*$' "$work/display"; }
wait_for 20 display_written || fail "Xvfb did not start"
DISPLAY=":$(cat "$work/display")"
export DISPLAY
unset WAYLAND_DISPLAY
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb LC_ALL=C

openbox --sm-disable --startup "touch $work/openbox-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
openbox_ready() { [[ -e "$work/openbox-ready" ]]; }
wait_for 20 openbox_ready || fail "openbox did not start on $DISPLAY"

"$program" >"$work/veltrix.log" 2>&1 &
veltrix=$!
pids+=("$veltrix")

active_title() { xdotool getactivewindow getwindowname 2>/dev/null; }
title_is() { [[ "$(active_title)" == "$1" ]]; }
shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
hidden() { ! shown "$1"; }

# The pages lie over the frame, the licence on top; each one closed gives the keyboard to the next.
pages=("License Information" "Introduction" "Filter Characteristics" "Notes")
wait_for 30 shown "$frame_title" || fail "the frame \"$frame_title\" did not show"
for page in "${pages[@]}"; do
    wait_for 10 shown "$page" || fail "the start-up page \"$page\" did not show"
done

previous="the start"
for page in "${pages[@]}" "$frame_title"; do
    wait_for 10 title_is "$page" ||
        fail "after $previous the keyboard is in \"$(active_title)\", not in \"$page\""
    echo "after $previous: \"$page\" has the keyboard"
    [[ "$page" == "$frame_title" ]] && break
    xdotool key Escape
    wait_for 10 hidden "$page" || fail "Escape did not close \"$page\""
    previous="Escape on \"$page\""
done

kill -0 "$veltrix" 2>/dev/null || fail "the program ended during the walk"
echo "the start-up pages were closed with Escape alone, the keyboard ending in the frame"
finish
trap - EXIT
rm -rf "$work"
