#!/bin/sh
# Builds the Debian package with CPack, installs it into this system with dpkg -i, starts the
# installed program on a private X server, ends it with the folder dialog's Cancel button and
# removes the package again. Needs root; CI runs as root.
#
# usage: package-install.sh path/to/cpack path/to/build/CPackConfig.cmake application-id
set -u

cpack=$1
config=$2
app_id=$3
package=terrain-palette-editor
here=$(dirname "$0")
. "$here/x-session.sh"

[ "$(id -u)" -eq 0 ] || skip "installing the .deb with dpkg -i needs root"
command -v dpkg >/dev/null 2>&1 || skip "dpkg is missing: not a Debian-based system"
need_tool dpkg-shlibdeps dpkg-dev
need_tool file file
[ -f "$config" ] || fail "no CPack configuration at $config"

# Test runs of other build folders on this machine must not install and remove at once.
if command -v flock >/dev/null 2>&1; then
    exec 9>"${TMPDIR:-/tmp}/$package-package-test.lock"
    flock 9
fi

installed() {
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'
}
installed && skip "$package is already installed here; this test will not replace or remove it (dpkg -r $package first)"

work=$(mktemp -d "${TMPDIR:-/tmp}/tpe-package.XXXXXX") || fail "cannot make a temporary folder"
app_pid=""
we_installed=""
cleanup() {
    status=$?
    stop_program
    stop_x_server
    [ -n "$we_installed" ] && dpkg -r "$package" >/dev/null 2>&1
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

say "building the .deb"
if ! "$cpack" -G DEB --config "$config" -B "$work/pkg" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack could not build the package"
fi
deb=$(find "$work/pkg" -maxdepth 1 -name "${package}_*.deb" | head -n 1)
[ -n "$deb" ] || fail "cpack left no ${package}_*.deb in $work/pkg"
say "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "package name is '$(field Package)'"
[ "$(field Section)" = graphics ] || fail "section is '$(field Section)', not graphics"
[ -n "$(field Maintainer)" ] || fail "the package names no maintainer"
case $(field Depends) in
*libqt6widgets6*) ;;
*) fail "the package does not depend on Qt's widgets library: Depends: $(field Depends)" ;;
esac
say "Depends: $(field Depends)"

dpkg-deb -c "$deb" >"$work/contents.txt"
for file in ./usr/bin/$package ./usr/share/applications/$app_id.desktop \
    ./usr/share/icons/hicolor/scalable/apps/$app_id.svg; do
    grep -q " $file\$" "$work/contents.txt" || fail "the package does not hold $file"
done

say "installing it"
we_installed=yes
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || {
    cat "$work/dpkg.log" >&2
    fail "dpkg -i failed"
}
installed || fail "dpkg does not report $package as installed"
[ -x /usr/bin/$package ] || fail "/usr/bin/$package is not there after installing"
grep -q '^Categories=.*Graphics;' "/usr/share/applications/$app_id.desktop" ||
    fail "the desktop entry is not in the Graphics category"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "/usr/share/applications/$app_id.desktop" ||
        fail "desktop-file-validate rejects the installed desktop entry"
fi

say "starting the installed program"
start_x_server
prepare_qt_environment
mkdir -p "$work/start"
(cd "$work/start" && exec /usr/bin/$package) >"$work/program.log" 2>&1 &
app_pid=$!
wait_for_window "Locate folder containing Europe.act file" 30 "$app_pid" >/dev/null || {
    cat "$work/program.log" >&2
    fail "the installed program showed no folder dialog"
}
settle
# Cancel sits at (232, 40) in the dialog, whose client area is at (184, 250) on the screen.
click_at $((184 + 232 + 40)) $((250 + 40 + 12))
wait_for_exit "$app_pid" 20 || fail "the installed program still runs 20 s after Cancel"
wait "$app_pid"
exit_status=$?
app_pid=""
[ "$exit_status" -eq 0 ] || {
    cat "$work/program.log" >&2
    fail "the installed program ended with status $exit_status"
}
say "Cancel ended it"

say "removing the package"
dpkg -r "$package" >"$work/dpkg.log" 2>&1 || {
    cat "$work/dpkg.log" >&2
    fail "dpkg -r failed"
}
we_installed=""
installed && fail "$package is still installed after dpkg -r"
[ -e /usr/bin/$package ] && fail "/usr/bin/$package is still there after dpkg -r"
echo "PASSED"
