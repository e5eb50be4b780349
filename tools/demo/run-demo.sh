#!/bin/sh
# Runs the built stub on its shipped demo configuration. On a desktop it
# shows the window until you close it; without a display it runs under a
# private Xvfb, saves a screenshot of the settings page and prints its path.
set -eu
BUILD_DIR=$(cd "${1:-build}" && pwd)
STUB="$BUILD_DIR/installer-stub"
SHOT="$BUILD_DIR/stage/x11-shot"
OUT="$BUILD_DIR/demo"
rm -rf "$OUT"
mkdir -p "$OUT/tmp"
# The stub's work and download folders, and its log, land below this.
export TMPDIR="$OUT/tmp"

if [ -n "${DISPLAY:-}" ] && "$SHOT" /dev/null 2>/dev/null; then
    echo "Showing the stub on $DISPLAY; close its window to end the demo."
    "$STUB" || true
    echo "Log: $(find "$OUT/tmp" -name '*.log' | head -n1)"
    exit 0
fi

FD_FILE="$OUT/xvfb-display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$FD_FILE" 2>/dev/null &
XVFB_PID=$!
STUB_PID=""
cleanup() {
    if [ -n "$STUB_PID" ]; then kill "$STUB_PID" 2>/dev/null || true; fi
    kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

for _ in $(seq 100); do
    [ -s "$FD_FILE" ] && break
    sleep 0.1
done
[ -s "$FD_FILE" ] || { echo "demo: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n1 "$FD_FILE")"
export DISPLAY
echo "No display here: running the stub under Xvfb on $DISPLAY."

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

kill -TERM "$STUB_PID"
wait "$STUB_PID" || true
STUB_PID=""

echo "Screenshot of the settings page: $OUT/settings-page.png"
echo "Stub log: $(find "$OUT/tmp" -name '*.log' | head -n1)"
