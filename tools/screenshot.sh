#!/bin/sh
# Takes the README's picture of the editor on a private X server: the demo palette loaded
# through the folder dialog, entry 26 selected with the pointer resting on it, so the read-outs
# show its channels and terrain class. QT_SCALE_FACTOR, QT_FONT_DPI and the like are passed on,
# to see the editor at other scales.
#
# usage: tools/screenshot.sh path/to/terrain-palette-editor output.png
set -eu

program=$1
output=$2
here=$(cd "$(dirname "$0")" && pwd)
case $program in /*) ;; *) program=$(pwd)/$program ;; esac
case $output in /*) ;; *) output=$(pwd)/$output ;; esac
[ -x "$program" ] || { echo "no program at $program; run make build first" >&2; exit 1; }
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null 2>&1 ||
        { echo "$tool is missing; tools/install-deps.sh test installs it" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tpe-screenshot.XXXXXX")
xvfb=""
app=""
cleanup() {
    [ -z "$app" ] || kill "$app" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

# The end-to-end tests use :70 to :89 and the start-up benchmark :80 to :99 when free.
for number in $(seq 91 99); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] || break
done
Xvfb ":$number" -nolisten tcp -noreset -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=":$number"
tries=0
until xdotool getdisplaygeometry >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
    sleep 0.1
done

# Waits for a visible window titled $1 and sets id, x, y and scale (device pixels per
# layout pixel, from the window's width against its layout width $2).
find_window() {
    tries=0
    until id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ]; do
        tries=$((tries + 1))
        [ "$tries" -lt 50 ] || { echo "no window \"$1\" appeared" >&2; exit 1; }
        sleep 0.2
    done
    eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(X|Y|WIDTH)=')"
    x=$X
    y=$Y
    scale=$(echo "$WIDTH $2" | awk '{ print $1 / $2 }')
}
# Clicks at layout position ($1, $2) of the window found last, and waits a moment.
click_at() {
    xdotool mousemove "$(echo "$x $1 $scale" | awk '{ printf "%d", $1 + $2 * $3 }')" \
        "$(echo "$y $2 $scale" | awk '{ printf "%d", $1 + $2 * $3 }')" click 1
    sleep 0.5
}

mkdir -m 700 "$work/runtime"
mkdir -p "$work/start/demo"
cp "$here/../examples/demo/europe.act" "$work/start/demo/"
cd "$work/start"
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
app=$!

# The folder dialog starts one folder above the palette's, as a user would find it: from
# Cancel, Tab twice to the folder list, Down to the one subfolder, Enter opens it, then OK.
# A click on the dialog's empty area first gives it the keyboard.
find_window "Locate folder containing Europe.act file" 319
sleep 0.5
click_at 272 150
for key in Tab Tab Down Return; do
    xdotool key "$key"
    sleep 0.3
done
click_at 272 20
# Entry 26, the tenth cell of the second row: a "Dirt / Road Close" entry of three-digit
# channels, the widest texts the read-outs show.
find_window "Terrain Palette Editor" 439
sleep 0.5
click_at 160 32
import -window "$id" "$output"
echo "wrote $output"
