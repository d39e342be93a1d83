#!/usr/bin/env bash
# Runs a test program on a private X server with a notification-area host (trayer), so that the
# tray icon is real. Usage: run_under_xvfb.sh PROGRAM [ARGS...]
set -euo pipefail
for tool in Xvfb trayer xwininfo; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/setup.sh" >&2; exit 1; }
done

display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $tray $xvfb 2>/dev/null || true; wait 2>/dev/null || true' EXIT
tray=""
for _ in $(seq 400); do DISPLAY=$display xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done
DISPLAY=$display xwininfo -root >/dev/null 2>&1 || { echo "Xvfb did not start on $display" >&2; exit 1; }
DISPLAY=$display trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
tray=$!
for _ in $(seq 400); do DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -q '("panel" "trayer")' && break; sleep 0.05; done
DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -q '("panel" "trayer")' || { echo "the tray host did not start" >&2; exit 1; }

export DISPLAY=$display QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
"$@"
