#!/bin/sh
# One whole edit cycle on a real X server, driven only by real pointer and key events:
# pick the folder by keyboard, OK, hover and select a cell, raise its red with the top arrow
# of the red bar, drop it, select a second cell, Spread to a third, undo and redo the spread
# by the keys, Save, Exit. Then the saved file must match the expected palette byte for byte,
# the grid on screen must match it pixel for pixel, and the program must have ended cleanly.
#
# usage: edit-cycle.sh path/to/terrain-palette-editor path/to/edit-cycle-palette
#        [folder for screenshots on failure]
set -u

program=$1
palette_tool=$2
artifacts=${3:-}
here=$(dirname "$0")
. "$here/x-session.sh"

[ -x "$program" ] || fail "no program at $program"
[ -x "$palette_tool" ] || fail "no palette helper at $palette_tool"
case $program in /*) ;; *) program=$(pwd)/$program ;; esac
need_tool import imagemagick
need_tool convert imagemagick

work=$(mktemp -d "${TMPDIR:-/tmp}/tpe-e2e.XXXXXX") || fail "cannot make a temporary folder"
app_pid=""
cleanup() {
    status=$?
    stop_program
    stop_x_server
    if [ "$status" -ne 0 ] && [ "$status" -ne 77 ] && [ -n "$artifacts" ]; then
        mkdir -p "$artifacts"
        cp "$work"/*.png "$work"/*.log "$artifacts/" 2>/dev/null
        echo "screenshots and the program's output are in $artifacts" >&2
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

# --- The palettes -------------------------------------------------------------------------
# The 768 channel values of stage $1 (start, raised, final), one per line, worked out by a small
# helper program from the tests' own gradient model.
palette_values() {
    "$palette_tool" "$1"
}

# Writes the values of stage $1 as bytes to file $2.
write_palette() {
    # shellcheck disable=SC2059 # the format is a run of octal escapes, one per byte
    printf "$(palette_values "$1" | awk '{ printf "\\%03o", $1 }')" >"$2"
    [ "$(wc -c <"$2")" -eq 768 ] || fail "wrote $(wc -c <"$2") bytes to $2, not 768"
}

# --- Reading the screen -------------------------------------------------------------------

# Compares the 256 x 256 grid on screen with the palette of stage $1: every pixel of a cell
# in the entry's colour, except the one-pixel border of entry $2's cell (0 for none), which
# the exclusive-or outline shows inverted. Prints the first differences.
grid_matches() {
    shot="$work/screen-$1-outline-$2.png"
    import -window root "$shot" 2>>"$work/import.log" || return 1
    convert "$shot" -crop "256x256+$grid_x+$grid_y" +repage -depth 8 "rgb:$work/grid.rgb" ||
        return 1
    palette_values "$1" >"$work/expected.txt"
    od -An -v -tu1 "$work/grid.rgb" >"$work/grid.txt"
    awk -v outline="$2" '
    FNR == 1 { file++ }
    file == 1 { want[n++] = $1; next }
    { for (i = 1; i <= NF; i++) got[m++] = $i }
    END {
        if (m != 256 * 256 * 3) {
            print "the grid crop holds " m " bytes, not " 256 * 256 * 3
            exit 1
        }
        bad = 0
        for (y = 0; y < 256; y++)
            for (x = 0; x < 256; x++) {
                entry = int(y / 16) * 16 + int(x / 16) + 1
                edge = entry == outline && (x % 16 == 0 || x % 16 == 15 || y % 16 == 0 || y % 16 == 15)
                same = 1
                for (c = 0; c < 3; c++) {
                    w[c] = want[(entry - 1) * 3 + c]
                    if (edge)
                        w[c] = 255 - w[c]
                    g[c] = got[(y * 256 + x) * 3 + c]
                    if (g[c] != w[c])
                        same = 0
                }
                if (!same && bad++ < 5)
                    printf "  entry %d, pixel (%d, %d): shows %d %d %d, expected %d %d %d\n",
                        entry, x, y, g[0], g[1], g[2], w[0], w[1], w[2]
            }
        if (bad > 0) {
            print "  " bad " pixels differ"
            exit 1
        }
    }' "$work/expected.txt" "$work/grid.txt" >"$work/grid-diff.txt"
}

# The program may lag behind the events; give the screen a few seconds to catch up.
expect_grid() {
    tries=0
    until grid_matches "$1" "$2"; do
        tries=$((tries + 1))
        if [ "$tries" -ge 10 ]; then
            cat "$work/grid-diff.txt" >&2
            fail "$3"
        fi
        sleep 0.5
    done
    say "grid on screen: $3 - ok"
}

# --- The run ------------------------------------------------------------------------------
# The start folder holds two subfolders; only "work" holds the palette.
mkdir -p "$work/start/empty" "$work/start/work"
write_palette start "$work/start/work/europe.act"
write_palette final "$work/expected.act"

start_x_server
prepare_qt_environment
# The sanitizer build is slower to answer.
case "${ASAN_OPTIONS:-}" in ?*) settle_seconds=0.6 ;; esac

(cd "$work/start" && exec "$program") >"$work/program.log" 2>&1 &
app_pid=$!

dialog=$(wait_for_window "Locate folder containing Europe.act file" 60 "$app_pid") ||
    fail "the folder dialog did not appear"
settle
# Without a window manager the dialog's client area sits at (184, 250).
dx=184
dy=250

say "reaching the folder by keyboard"
# A click on the dialog's empty area activates it; the focus starts on Cancel, two Tabs pass
# the drive list to the folder list. Its highlight starts on the current folder: Down moves to
# the first subfolder, typing "work" finds the other, Enter opens it.
click_at $((dx + 272)) $((dy + 150))
press_key Tab
press_key Tab
press_key Down
xdotool type --delay 100 work
settle
press_key Return
click_at $((dx + 232 + 40)) $((dy + 8 + 12))

editor=$(wait_for_window "Terrain Palette Editor" 30 "$app_pid") ||
    fail "the editor window did not appear after OK (was OK enabled in the folder 'work'?)"
window_position "$editor"
say "editor at ($window_x, $window_y), dialog window was $dialog"
grid_x=$((window_x + 8))
grid_y=$((window_y + 8))
settle
expect_grid start 0 "the loaded palette, no outline"

# Cell centres: entry = column + 16 * row + 1.
cell_x() { echo $((grid_x + 16 * $1 + 8)); }
cell_y() { echo $((grid_y + 16 * $1 + 8)); }

say "hover and select entry 18, three clicks on the red bar's top arrow"
move_to "$(($(cell_x 1) - 3))" "$(($(cell_y 1) - 3))"
click_at "$(cell_x 1)" "$(cell_y 1)"
for _ in 1 2 3; do
    click_at $((window_x + 296 + 4)) $((window_y + 24 + 4))
done
expect_grid raised 18 "entry 18 with red 103 and its outline"

say "drop entry 18, select entry 43"
click_at "$(cell_x 1)" "$(cell_y 1)"
move_to "$(($(cell_x 10) - 3))" "$(($(cell_y 2) - 3))"
click_at "$(cell_x 10)" "$(cell_y 2)"
expect_grid raised 43 "only entry 43 outlined"

say "Spread, pick entry 35"
click_at $((window_x + 272 + 24)) $((window_y + 240 + 12))
move_to "$(($(cell_x 2) - 3))" "$(($(cell_y 2) - 3))"
click_at "$(cell_x 2)" "$(cell_y 2)"
expect_grid final 0 "the spread between entries 35 and 43, no outline"

# The keys as this platform binds them: its redo is Ctrl+Shift+Z, Ctrl+Y is bound as well.
say "undo the spread, redo it by Ctrl+Shift+Z, again by Ctrl+Y, Save"
press_key ctrl+z
expect_grid raised 0 "the spread undone"
press_key ctrl+shift+z
expect_grid final 0 "the spread redone by Ctrl+Shift+Z"
press_key ctrl+z
press_key ctrl+y
click_at $((window_x + 328 + 24)) $((window_y + 240 + 12))
expect_grid final 0 "the spread redone by Ctrl+Y and saved"

say "Exit"
click_at $((window_x + 384 + 24)) $((window_y + 240 + 12))
wait_for_exit "$app_pid" 30 || fail "the program still runs 30 s after Exit"
wait "$app_pid"
exit_status=$?
app_pid=""
[ "$exit_status" -eq 0 ] || {
    cat "$work/program.log" >&2
    fail "the program ended with status $exit_status"
}

saved="$work/start/work/europe.act"
if ! cmp "$work/expected.act" "$saved"; then
    echo "byte offset (from 1), expected, saved (octal):" >&2
    cmp -l "$work/expected.act" "$saved" | head -n 10 >&2
    fail "the saved palette differs from the expected one"
fi
say "saved file matches the expected palette byte for byte"
echo "PASSED"
