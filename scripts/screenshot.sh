#!/usr/bin/env bash
# Starts the program against the sample site on a private X server with a CJK font, collects two
# pages of full-time resumes through the window and writes a PNG of the window.
#   scripts/screenshot.sh [OUTPUT.png]     (default docs/screenshot.png)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
out="${1:-docs/screenshot.png}"
mkdir -p "$(dirname "$out")"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUILLMARSH_SITE_DOMAIN=localhost:8058 >/dev/null
cmake --build build-release -j"$(nproc)" --target quillmarsh quillmarsh-sample-site >/dev/null

display=":77"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
pids+=($!)
build-release/tools/quillmarsh-sample-site --port 8058 >/dev/null &
pids+=($!)
build-release/src/ui/quillmarsh &
pids+=($!)
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name "Quillmarsh   Lintberry" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
# The page-count box and the start button, in window coordinates (tab control at 1,5).
xdotool mousemove $((X + 425)) $((Y + 58)) click 1 type "2"
xdotool mousemove $((X + 535)) $((Y + 56)) click 1
sleep 2
import -window "$window" "$out"
echo "wrote $out"
