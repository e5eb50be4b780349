#!/bin/sh
# Producer latency of the user event log: the median and the 99th percentile
# time of 10 000 queued AddUserLog calls while the collector answers slowly.
#
#   bench/user-log.sh [build directory]   (default: build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target userlog-bench -j "$(nproc)" >/dev/null
"$build/stage/userlog-bench" 10000 200
