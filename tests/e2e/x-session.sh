# shellcheck shell=sh disable=SC2034,SC2154 # work comes from the caller, window_x/y go back to it
# Helpers shared by the end-to-end scripts: a private X server, waiting for windows and
# processes, and real pointer events through xdotool. Sourced, not run; the caller sets
# $work (a temporary folder of its own) before calling start_x_server.

xvfb_pid=""

say() { echo "-- $*"; }

skip() {
    echo "SKIPPED: $*"
    exit 77
}

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

need_tool() {
    command -v "$1" >/dev/null 2>&1 ||
        fail "$1 is missing; tools/install-deps.sh test installs it (package $2)"
}

# Starts Xvfb on the first free display from :70 on and exports DISPLAY. Without a window
# manager nothing frames or moves the windows, so a window's client area starts exactly
# where the program placed it. -noreset: by default the server resets when its last client
# leaves, and a client that connects during that reset (the program, right after the probe
# below) is turned away.
start_x_server() {
    command -v Xvfb >/dev/null 2>&1 ||
        skip "Xvfb is not installed, so no X server can be started (package xvfb)"
    need_tool xdotool xdotool
    number=70
    while [ "$number" -le 89 ]; do
        if [ ! -e "/tmp/.X$number-lock" ] && [ ! -e "/tmp/.X11-unix/X$number" ]; then
            Xvfb ":$number" -nolisten tcp -noreset -screen 0 1280x1024x24 \
                >"$work/xvfb.log" 2>&1 &
            xvfb_pid=$!
            tries=0
            # Another process may take the number first: then this server dies at once, and
            # the lock file names the other one.
            while kill -0 "$xvfb_pid" 2>/dev/null && [ "$tries" -lt 150 ]; do
                if [ "$(tr -d ' ' 2>/dev/null <"/tmp/.X$number-lock")" = "$xvfb_pid" ] &&
                    DISPLAY=":$number" xdotool getdisplaygeometry >/dev/null 2>&1; then
                    DISPLAY=":$number"
                    export DISPLAY
                    say "X server on $DISPLAY (pid $xvfb_pid)"
                    return 0
                fi
                tries=$((tries + 1))
                sleep 0.1
            done
            stop_x_server
        fi
        number=$((number + 1))
    done
    tail -n 5 "$work/xvfb.log" 2>/dev/null
    skip "no X server could be started on any display from :70 to :89"
}

stop_x_server() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=""
    fi
}

# Qt wants a private runtime folder and must not fall back to the headless platform that the
# unit tests use.
prepare_qt_environment() {
    mkdir -p "$work/runtime"
    chmod 700 "$work/runtime"
    XDG_RUNTIME_DIR="$work/runtime"
    QT_QPA_PLATFORM=xcb
    export XDG_RUNTIME_DIR QT_QPA_PLATFORM
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING
}

# Prints the id of the first visible window whose title matches $1, waiting up to $2 seconds.
# Gives up early when the process $3 (if given) has ended.
wait_for_window() {
    limit=$(($2 * 5))
    tries=0
    while [ "$tries" -lt "$limit" ]; do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        if [ -n "$found" ]; then
            echo "$found"
            return 0
        fi
        if [ -n "${3:-}" ] && ! kill -0 "$3" 2>/dev/null; then
            return 1
        fi
        tries=$((tries + 1))
        sleep 0.2
    done
    return 1
}

# Sets window_x and window_y to the screen position of window $1's client area.
window_position() {
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^[XY]=')"
    window_x=$X
    window_y=$Y
}

# Waits up to $2 seconds for process $1 to end; true when it did.
wait_for_exit() {
    limit=$(($2 * 5))
    tries=0
    while kill -0 "$1" 2>/dev/null; do
        [ "$tries" -ge "$limit" ] && return 1
        tries=$((tries + 1))
        sleep 0.2
    done
    return 0
}

# Pauses after each event so that the program has handled it before the next one comes.
# Ends the program under test if it still runs; its pid is in app_pid.
stop_program() {
    if [ -n "${app_pid:-}" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
}

settle() { sleep "${settle_seconds:-0.3}"; }

move_to() {
    xdotool mousemove "$1" "$2"
    settle
}

# A left-button press and release at screen position ($1, $2).
click_at() {
    move_to "$1" "$2"
    xdotool click 1
    settle
}

press_key() {
    xdotool key "$1"
    settle
}
