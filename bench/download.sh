#!/bin/sh
# Download speed, CPU and memory of `stubctl fetch` against aria2c and curl,
# and `stubctl md5` against md5sum, all on one file served by a private nginx
# on 127.0.0.1. The memory goal is also checked on a 256 MiB file.
#
#   bench/download.sh [--size MiB] [build directory]   (default: 1024, build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
size=1024
build=""
while [ $# -gt 0 ]; do
    case "$1" in
        --size) [ $# -ge 2 ] || { echo "usage: $0 [--size MiB] [build directory]" >&2; exit 1; }
                size=$2; shift 2 ;;
        -*) echo "usage: $0 [--size MiB] [build directory]" >&2; exit 1 ;;
        *) build=$1; shift ;;
    esac
done
case "$size" in ''|*[!0-9]*|0) echo "--size takes a whole number of MiB" >&2; exit 1 ;; esac
build=${build:-"$root/build"}
. "$root/tools/local-nginx.sh"
for tool in nginx aria2c curl md5sum /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing $tool: run tools/install-deps.sh" >&2; exit 1; }
done
# A fresh build directory is made optimised; an existing one keeps its type.
if [ -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" >/dev/null
else
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target stubctl -j "$(nproc)" >/dev/null
stubctl="$build/stubctl"

work=$(mktemp -d "${TMPDIR:-/tmp}/download-bench.XXXXXX")
waiter=""
cleanup() {
    [ -z "$waiter" ] || kill "$waiter" 2>/dev/null || true
    local_nginx_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# nginx started by root serves as "nobody", which must reach the files.
chmod 755 "$work"
mkdir -p "$work/www" "$work/out" "$work/nginx"

# --- the server -------------------------------------------------------------
local_nginx_start "$work/nginx" "$work/www" || exit 1
port=$nginx_port

has_fetch=no
"$stubctl" --help 2>/dev/null | grep -q '^  fetch ' && has_fetch=yes

# --- measuring ----------------------------------------------------------------
# Memory freed a few seconds earlier is slow to write into on this machine;
# touching as much first keeps that cost out of the figures.
warm_up() {
    dd if=/dev/zero of="$work/out/scratch" bs=1M count="$1" status=none
    rm -f "$work/out/scratch"
}

# measure NAME MIB COMMAND...: runs it under GNU time after a warm-up and
# appends "NAME wall cpu rss_kib" to $work/results; its output goes to
# $work/out/NAME.log. Fails when the command does.
measure() {
    name=$1
    mib=$2
    shift 2
    warm_up "$mib"
    if ! /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >"$work/log.$name" 2>&1; then
        echo "$name failed:" >&2
        tail -5 "$work/log.$name" >&2
        return 1
    fi
    read -r wall user sys rss <"$work/time"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    echo "$name $wall $cpu $rss" >>"$work/results"
}

# expect_size BYTES FILE...: a download that came back short is no result.
expect_size() {
    want=$1
    shift
    got=$(stat -c %s "$@" 2>/dev/null | awk '{ n += $1 } END { print n + 0 }')
    [ "$got" -eq "$want" ] || { echo "$1: $got bytes, expected $want" >&2; exit 1; }
}

clear_out() { rm -rf "$work/out"; mkdir -p "$work/out"; }

curl_config() {
    url=$1
    bytes=$2
    chunk=4194304
    printf 'parallel\nparallel-max = 4\n'
    start=0
    part=0
    while [ $start -lt "$bytes" ]; do
        end=$((start + chunk - 1))
        [ $end -lt "$bytes" ] || end=$((bytes - 1))
        # "next" after the last range would open a transfer without a URL.
        [ $part -eq 0 ] || echo next
        printf 'url = "%s"\nrange = "%d-%d"\noutput = "%s/out/part.%d"\nfail\nsilent\nshow-error\n' \
            "$url" "$start" "$end" "$work" "$part"
        start=$((start + chunk))
        part=$((part + 1))
    done
}

# run_downloads LABEL MIB ROWS: downloads the LABEL file with the tools of
# ROWS ("all" or "memory").
run_downloads() {
    label=$1
    mib=$2
    rows=$3
    url="http://127.0.0.1:$port/$label.bin"
    bytes=$((mib * 1048576))
    md5=$(md5sum "$work/www/$label.bin" | cut -d' ' -f1)
    if [ "$has_fetch" = yes ]; then
        # Timed like the others, without the MD5 pass (the md5 rows time it);
        # the digest is checked afterwards.
        measure "fetch-$label" "$mib" "$stubctl" fetch "$url" "$work/out/package.bin"
        expect_size "$bytes" "$work/out/package.bin"
        [ "$(md5sum "$work/out/package.bin" | cut -d' ' -f1)" = "$md5" ] ||
            { echo "stubctl fetch wrote a package with the wrong MD5" >&2; exit 1; }
        clear_out
    fi
    aria="--no-conf --quiet --file-allocation=none -k4M --allow-overwrite=true --auto-file-renaming=false -d $work/out"
    if [ "$rows" = all ]; then
        # shellcheck disable=SC2086
        measure "aria16-$label" "$mib" aria2c $aria -x16 -s16 -o package.bin "$url"
        expect_size "$bytes" "$work/out/package.bin"
        clear_out
    fi
    # shellcheck disable=SC2086
    measure "aria4-$label" "$mib" aria2c $aria -x4 -s4 -o package.bin "$url"
    expect_size "$bytes" "$work/out/package.bin"
    clear_out
    if [ "$rows" = all ]; then
        curl_config "$url" "$bytes" >"$work/curl.conf"
        measure "curl-$label" "$mib" curl -K "$work/curl.conf"
        expect_size "$bytes" "$work"/out/part.*
        clear_out
    fi
}

echo "Generating a $size MiB file..."
head -c $((size * 1048576)) /dev/urandom >"$work/www/main.bin"
chmod 644 "$work/www/main.bin"
# Its write-back to disk would otherwise run during the first measurements.
sync "$work/www/main.bin"
: >"$work/results"
run_downloads main "$size" all
measure "md5-main" "$size" "$stubctl" md5 "$work/www/main.bin"
measure "md5sum-main" "$size" md5sum "$work/www/main.bin"
ours=$(cut -d' ' -f1 "$work/log.md5-main")
theirs=$(cut -d' ' -f1 "$work/log.md5sum-main")
rm -f "$work/www/main.bin"
if [ "$size" -ne 256 ]; then
    echo "Generating a 256 MiB file..."
    head -c $((256 * 1048576)) /dev/urandom >"$work/www/small.bin"
    chmod 644 "$work/www/small.bin"
    sync "$work/www/small.bin"
    run_downloads small 256 memory
    rm -f "$work/www/small.bin"
    small=small
else
    small=main
fi

# --- waiting ----------------------------------------------------------------
# CPU of a download whose server hardly sends: the driver and the watch loop
# must not spin while the workers wait.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
waiting=""
if [ "$has_fetch" = yes ]; then
    head -c $((64 * 1048576)) /dev/zero >"$work/www/wait.bin"
    chmod 644 "$work/www/wait.bin"
    "$stubctl" fetch "http://127.0.0.1:$port/trickle/wait.bin" "$work/out/wait.bin" --rounds 1 \
        >/dev/null 2>&1 &
    waiter=$!
    sleep 2
    before=$(cpu_ticks "$waiter")
    sleep 10
    after=$(cpu_ticks "$waiter")
    kill "$waiter" 2>/dev/null || true
    wait "$waiter" 2>/dev/null || true
    waiter=""
    waiting=$(awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" \
        'BEGIN { printf "%.2f", t / hz / 10 * 100 }')
    clear_out
fi

# --- report -----------------------------------------------------------------
[ "$has_fetch" = yes ] || echo "stubctl has no fetch command yet: its rows and goals are skipped."
echo
awk -v size="$size" '
    BEGIN {
        label["fetch"] = "stubctl fetch"; label["aria16"] = "aria2c -x16 -s16"
        label["aria4"] = "aria2c -x4 -s4"; label["curl"] = "curl --parallel 4"
        label["md5"] = "stubctl md5"; label["md5sum"] = "md5sum"
        printf "%-28s %8s %8s %9s %10s\n", "run", "wall s", "cpu s", "RSS MiB", "MiB/s"
    }
    {
        split($1, key, "-")
        mib = key[2] == "main" ? size : 256
        printf "%-28s %8.2f %8.2f %9.1f %10.1f\n", label[key[1]] " (" mib " MiB)", $2, $3,
               $4 / 1024, ($2 > 0 ? mib / $2 : 0)
    }' "$work/results"
echo

# figure NAME FIELD: wall (2), cpu (3) or rss (4) of a run; empty when skipped.
figure() { awk -v n="$1" -v f="$2" '$1 == n { print $f }' "$work/results"; }
# goal TEXT VALUE LIMIT: PASS when VALUE <= LIMIT.
goal() {
    if [ -z "$2" ] || [ -z "$3" ]; then
        printf 'SKIP  %s\n' "$1"
        return
    fi
    awk -v t="$1" -v v="$2" -v l="$3" 'BEGIN {
        printf "%s  %s: %.2f vs limit %.2f\n", (v <= l ? "PASS" : "MISS"), t, v, l }'
}
scaled() { [ -n "$1" ] && awk -v v="$1" -v k="$2" 'BEGIN { printf "%.4f", v * k }' || true; }
goal "stubctl fetch wall <= 0.5 x aria2c -x16 wall (s)" \
    "$(figure fetch-main 2)" "$(scaled "$(figure aria16-main 2)" 0.5)"
goal "stubctl fetch wall <= 1.2 x curl wall (s)" \
    "$(figure fetch-main 2)" "$(scaled "$(figure curl-main 2)" 1.2)"
goal "stubctl fetch cpu <= 1.2 x curl cpu (s)" \
    "$(figure fetch-main 3)" "$(scaled "$(figure curl-main 3)" 1.2)"
goal "stubctl fetch RSS <= aria2c -x4 RSS at $size MiB (MiB)" \
    "$(scaled "$(figure fetch-main 4)" 0.0009765625)" "$(scaled "$(figure aria4-main 4)" 0.0009765625)"
if [ "$small" = small ]; then
    goal "stubctl fetch RSS <= aria2c -x4 RSS at 256 MiB (MiB)" \
        "$(scaled "$(figure fetch-small 4)" 0.0009765625)" "$(scaled "$(figure aria4-small 4)" 0.0009765625)"
fi
goal "stubctl fetch while waiting (% of a core)" "$waiting" "${waiting:+5}"
# Throughput at least 0.9 x md5sum's is a wall time at most md5sum's / 0.9.
goal "stubctl md5 wall <= md5sum wall / 0.9 (s)" \
    "$(figure md5-main 2)" "$(scaled "$(figure md5sum-main 2)" 1.1111)"
if [ "$ours" = "$theirs" ]; then
    echo "PASS  stubctl md5 digest equals md5sum's: $ours"
else
    echo "MISS  stubctl md5 digest $ours differs from md5sum's $theirs"
fi
