#!/bin/sh
# Builds the palette readers' fuzz target with clang in a folder of its own and runs it for a
# bounded time over the seed corpus. Fails on a crash, a hang, a leak or undefined behaviour, or
# when it cannot build; prints how many inputs were tried.
#
# usage: tests/fuzz/run-fuzz.sh <build folder> [seconds]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: $0 <build folder> [seconds]}
seconds=${2:-30}
command -v clang++ >/dev/null ||
    { echo "clang++ is missing: tools/install-deps.sh test installs it" >&2; exit 1; }

mkdir -p "$build"
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    >"$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" >"$build/build.log" 2>&1 ||
    { cat "$build/build.log" >&2; exit 1; }

# New inputs go into a fresh corpus of the build's own; the seeds stay as committed.
rm -rf "$build/corpus" "$build/findings"
mkdir -p "$build/corpus" "$build/findings"
status=0
"$build/fuzz-palette-readers" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -detect_leaks=1 -print_final_stats=1 -dict="$here/palette.dict" \
    -artifact_prefix="$build/findings/" "$build/corpus" "$here/corpus" \
    >"$build/fuzz.log" 2>&1 || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz.log")
if [ "$status" -ne 0 ] || [ -z "$runs" ]; then
    tail -n 60 "$build/fuzz.log" >&2
    echo "fuzzing failed (status $status); the input is in $build/findings" >&2
    exit 1
fi
echo "fuzzing the palette readers: $runs inputs tried in $seconds s; none crashed, hung or leaked"
