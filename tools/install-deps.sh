#!/bin/sh
# Installs the Debian or Ubuntu packages that are missing for building and running the editor
# ("run") or for building and running every test as well ("test").
set -eu

run_packages="cmake make g++ qt6-base-dev libgl-dev"
test_packages="$run_packages acl attr xvfb xauth xdotool imagemagick x11-utils clang-format dpkg-dev file desktop-file-utils lintian appstream man-db clang libclang-rt-14-dev"

case "${1:-run}" in
run) wanted=$run_packages ;;
test) wanted=$test_packages ;;
bench) wanted="$run_packages libbenchmark-dev libx11-dev xvfb xauth x11-utils time" ;;
*) echo "usage: $0 run|test|bench" >&2; exit 2 ;;
esac

missing=""
for package in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
