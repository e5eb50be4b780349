#!/bin/sh
# First the package the stub will download: the signed demo package served
# by a private nginx is fetched in the stub's resumable rounds, its signature
# checked against the demo CA and its installer run silently.
# Then a demo stub: the shipped skin pointed at a local stand-in for the
# maker's services (stub-server), which answers the update query and
# journals every request. On a desktop the window stays until you close it;
# without a display the stub runs under a private Xvfb, a screenshot of the
# settings page is saved, and the window is closed again.
set -eu
BUILD_DIR=$(cd "${1:-build}" && pwd)
SHOT="$BUILD_DIR/stage/x11-shot"
OUT="$BUILD_DIR/demo"
rm -rf "$OUT"
mkdir -p "$OUT/tmp" "$OUT/uploads" "$OUT/config"
# The stub's work and download folders, and its log, land below TMPDIR; its
# registry store below XDG_CONFIG_HOME, so every demo is a first run.
export TMPDIR="$OUT/tmp" XDG_CONFIG_HOME="$OUT/config"

. "$(dirname "$0")/../local-nginx.sh"
PIDS=""
cleanup() {
    for pid in $PIDS; do kill "$pid" 2>/dev/null || true; done
    local_nginx_stop
}
trap cleanup EXIT INT TERM

# Waits until FILE has a first line matching PATTERN and prints that line.
wait_for_line() {
    for _ in $(seq 100); do
        line=$(grep -m1 "$2" "$1" 2>/dev/null || true)
        if [ -n "$line" ]; then echo "$line"; return 0; fi
        sleep 0.1
    done
    return 1
}

# --- the package ---------------------------------------------------------------
PACKAGE="$BUILD_DIR/stage/demo/demo-setup.exe"
mkdir -p "$OUT/www"
cp "$PACKAGE" "$OUT/www/"
# Started by root, nginx serves as "nobody".
chmod 755 "$OUT" "$OUT/www"
chmod 644 "$OUT/www/demo-setup.exe"
local_nginx_start "$OUT/nginx" "$OUT/www" || exit 1
DOWNLOAD="$OUT/tmp/brisko_setup/demo-setup.exe"
mkdir -p "$(dirname "$DOWNLOAD")"
"$BUILD_DIR/stubctl" fetch "http://127.0.0.1:$nginx_port/demo-setup.exe" "$DOWNLOAD" \
    --md5 "$("$BUILD_DIR/stubctl" md5 "$PACKAGE" | cut -d' ' -f1)" --log "$OUT/fetch.log" |
    sed 's/^/fetch: /'
"$BUILD_DIR/stubctl" verify --anchor "$BUILD_DIR/stage/demo/ca.pem" "$DOWNLOAD" | sed 's/^/signature: /'
local_nginx_stop
INSTALL_DIR="$OUT/Program Files/Brisko"
chmod 755 "$DOWNLOAD"
"$DOWNLOAD" /VERYSILENT /SP- /NORESTART "/DIR=$INSTALL_DIR" /LANG=en "/LOG=$OUT/install.log" ||
    { echo "demo: the package did not install; see $OUT/install.log" >&2; exit 1; }
echo "Installed the demo product into: $INSTALL_DIR (log: $OUT/install.log)"

# --- the stub ------------------------------------------------------------------
# The update server's answer for this stub.
cat >"$OUT/answer.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Downloader>
  <Software_name>Brisko</Software_name>
  <Software_version>1.0.0.0</Software_version>
  <Downloader_type>1</Downloader_type>
  <Downloader_config>0</Downloader_config>
</Downloader>
XML
"$BUILD_DIR/stub-server" --port 0 --answer "$OUT/answer.xml" --journal "$OUT/journal.jsonl" \
    --uploads "$OUT/uploads" >"$OUT/server-output.txt" 2>&1 &
PIDS="$!"
PORT=$(wait_for_line "$OUT/server-output.txt" "listening on" | sed 's/.*://') ||
    { echo "demo: stub-server did not start" >&2; exit 1; }
SERVICES="http://127.0.0.1:$PORT"

cp -r "$BUILD_DIR/stage/skin" "$OUT/skin"
{
    echo "<Endpoints>"
    for name in update_server update_server_china product_alert log_upload log_service \
                base_url_file_site analytics_collector analytics_test_collector ga4_collection \
                support_service geolocation; do
        echo "  <Endpoint name=\"$name\" url=\"$SERVICES\"/>"
    done
    echo "</Endpoints>"
} >"$OUT/skin/configure/endpoints.xml"
STUB="$OUT/brisko-demo-setup"
"$BUILD_DIR/stubctl" make-stub "$BUILD_DIR/installer-stub" "$OUT/skin" "$STUB" >/dev/null

report() {
    echo "Stub log: $(find "$OUT/tmp" -name '*.log' | head -n1)"
    echo "Requests the services received: $(wc -l <"$OUT/journal.jsonl") (journal: $OUT/journal.jsonl)"
}

if [ -n "${DISPLAY:-}" ] && "$SHOT" /dev/null 2>/dev/null; then
    echo "Showing the demo stub on $DISPLAY; close its window to end the demo."
    "$STUB" || true
    report
    exit 0
fi

FD_FILE="$OUT/xvfb-display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$FD_FILE" 2>/dev/null &
PIDS="$PIDS $!"
DISPLAY=":$(wait_for_line "$FD_FILE" ".")" || { echo "demo: Xvfb did not start" >&2; exit 1; }
export DISPLAY
echo "No display here: running the demo stub under Xvfb on $DISPLAY."

"$STUB" >"$OUT/stub-output.txt" 2>&1 &
STUB_PID=$!
WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name "Brisko Setup" 2>/dev/null | head -n1)
if [ -z "$WINDOW" ]; then
    echo "demo: the stub's window did not appear; see $OUT/stub-output.txt" >&2
    exit 1
fi
sleep 1
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
"$SHOT" "$OUT/settings-page.png" "$X" "$Y" "$WIDTH" "$HEIGHT"

# Close it as a user would: the close button in the top-right corner.
xdotool mousemove --window "$WINDOW" 624 24 click 1
wait "$STUB_PID" || true

echo "Screenshot of the settings page: $OUT/settings-page.png"
report
