#!/bin/sh
# Builds the Debian package with CPack and checks it without installing it: the files it must
# hold, lintian with no error and no warning (man's warnings about the manual page among them),
# the AppStream metadata and the desktop entry through their validators, and man renders the page.
#
# usage: package-check.sh path/to/cpack path/to/build/CPackConfig.cmake version application-id
set -u

cpack=$1
config=$2
version=$3
app_id=$4
package=terrain-palette-editor
. "$(dirname "$0")/x-session.sh"

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
"$cpack" -G DEB --config "$config" -B "$work/pkg" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    fail "cpack could not build the package"
}
deb=$work/pkg/${package}_${version}_$(dpkg --print-architecture).deb
dpkg-deb -c "$deb" >"$work/contents.txt" || fail "cpack did not make $(basename "$deb")"
for file in bin/$package share/applications/$app_id.desktop \
    share/icons/hicolor/scalable/apps/$app_id.svg share/metainfo/$app_id.metainfo.xml \
    share/man/man1/$package.1.gz share/doc/$package/copyright share/doc/$package/changelog.gz; do
    grep -q " \./usr/$file\$" "$work/contents.txt" || fail "the package does not hold /usr/$file"
done

say "lintian, appstreamcli, desktop-file-validate, man"
# lintian warns about running as root unless told that it is meant (CI runs as root).
as_root=""
[ "$(id -u)" -eq 0 ] && as_root=--allow-root
lintian $as_root --ignore-lintian-env --fail-on error,warning --display-info "$deb" ||
    fail "lintian reports errors or warnings"
dpkg-deb -x "$deb" "$work/root"
share=$work/root/usr/share
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli rejects the metainfo"
desktop-file-validate "$share/applications/$app_id.desktop" ||
    fail "desktop-file-validate rejects the desktop entry"
man -l "$share/man/man1/$package.1.gz" | grep -q "Terrain Palette Editor" ||
    fail "man cannot render the manual page"
echo "PASSED"
