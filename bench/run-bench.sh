#!/bin/sh
# Runs every measurement against the release build in the given folder and prints each figure
# with the goal it is judged by. It reports and asserts nothing: it exits 0 when a goal is
# missed, and non-zero only when it cannot measure.
#
# usage: bench/run-bench.sh <release build folder>
set -eu

build=$(cd "${1:?usage: $0 <release build folder>}" && pwd)
runs=15
editorTitle="Locate folder containing Europe.act file"
floorTitle="Minimal Qt window"

display=""
for number in $(seq 80 99); do
    if [ ! -e "/tmp/.X$number-lock" ] && [ ! -e "/tmp/.X11-unix/X$number" ]; then
        display=":$number"
        break
    fi
done
[ -n "$display" ] || { echo "no free X display number from :80 to :99" >&2; exit 1; }

# A black root window: a program's window counts as painted once it is no longer black.
Xvfb "$display" -screen 0 1280x1024x24 -br -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
folder=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$folder"' EXIT
trap 'exit 1' INT TERM
# Qt wants a private runtime folder; give both programs the same fresh one.
mkdir -m 700 "$folder/runtime"
export XDG_RUNTIME_DIR="$folder/runtime"
tries=0
until DISPLAY="$display" xdpyinfo >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || { echo "Xvfb did not start on $display" >&2; exit 1; }
    sleep 0.1
done

# Other work on the machine slows the wall-clock start-up figures; say how busy it is.
echo "load average when starting: $(cut -d' ' -f1-3 /proc/loadavg)"

# The folder dialog lists the folder the editor starts in; both programs start in the same
# empty one.
mkdir "$folder/start"
(cd "$folder/start" && DISPLAY="$display" QT_QPA_PLATFORM=xcb "$build/bench/startup-probe" "$runs" \
    "$build/terrain-palette-editor" "$editorTitle" "$build/bench/minimal-window" "$floorTitle")

QT_QPA_PLATFORM=offscreen "$build/bench/handler-bench"
QT_QPA_PLATFORM=offscreen "$build/bench/range-bench"
QT_QPA_PLATFORM=offscreen "$build/bench/compare-bench"
"$build/bench/format-bench"
