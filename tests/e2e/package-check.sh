#!/bin/sh
# Builds the Debian package with CPack and checks it as Debian and the desktops would, without
# installing it: lintian with no error and no warning, the AppStream metadata and the desktop
# entry through their validators, the manual page through man, and the files and version that
# the package must carry.
#
# usage: package-check.sh path/to/cpack path/to/build/CPackConfig.cmake version application-id
set -u

cpack=$1
config=$2
version=$3
app_id=$4
package=terrain-palette-editor
here=$(dirname "$0")
. "$here/x-session.sh"

command -v dpkg-deb >/dev/null 2>&1 || skip "dpkg-deb is missing: not a Debian-based system"
need_tool dpkg-shlibdeps dpkg-dev
need_tool lintian lintian
need_tool appstreamcli appstream
need_tool desktop-file-validate desktop-file-utils
need_tool man man-db
[ -f "$config" ] || fail "no CPack configuration at $config"

work=$(mktemp -d "${TMPDIR:-/tmp}/tpe-package-check.XXXXXX") || fail "cannot make a temporary folder"
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM

say "building the .deb"
if ! "$cpack" -G DEB --config "$config" -B "$work/pkg" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack could not build the package"
fi
deb=$work/pkg/${package}_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack did not make $(basename "$deb")"

dpkg-deb -c "$deb" >"$work/contents.txt"
for file in bin/$package share/applications/$app_id.desktop \
    share/icons/hicolor/scalable/apps/$app_id.svg share/metainfo/$app_id.metainfo.xml \
    share/man/man1/$package.1.gz share/doc/$package/copyright share/doc/$package/changelog.gz; do
    grep -q " \./usr/$file\$" "$work/contents.txt" || fail "the package does not hold /usr/$file"
done

say "lintian"
# lintian warns about running as root unless told that it is meant (CI runs as root).
as_root=""
[ "$(id -u)" -eq 0 ] && as_root=--allow-root
lintian $as_root --ignore-lintian-env --fail-on error,warning --display-info "$deb" ||
    fail "lintian reports errors or warnings"

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr

say "appstreamcli and desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli rejects the metainfo"
desktop-file-validate "$usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate rejects the desktop entry"

# Every place that states the version takes it from the build.
zcat "$usr/share/doc/$package/changelog.gz" | head -n 1 | grep -qF "$package ($version) " ||
    fail "the changelog does not start with version $version"
grep -qF "<release version=\"$version\"" "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo names no release $version"

say "man -l"
MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$package.1.gz" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man cannot render the manual page"
[ -s "$work/man.err" ] && {
    cat "$work/man.err" >&2
    fail "man warns about the manual page"
}
for heading in NAME SYNOPSIS DESCRIPTION 'THE PALETTE FILE' SAVING FILES 'EXIT STATUS'; do
    grep -q "^$heading\$" "$work/man.txt" || fail "the manual page has no $heading section"
done
grep -q "Terrain Palette Editor $version" "$work/man.txt" || fail "the manual page is not of $version"
echo "PASSED"
