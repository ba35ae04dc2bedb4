#!/usr/bin/env bash
# Runs kvr.
# With DISPLAY set: sets up the machine, builds the distribution directory
# when needed, puts its Chinese font directory on the display's font path and
# runs kvr from it on that display.
# Without DISPLAY: the demo on a private Xvfb (tools/demo.py): kvr, an xterm
# selecting it, Ctrl+Space and a pinyin sentence typed through XTEST; it
# prints what the xterm received and saves a screenshot of the panes
# (kvr-demo.png, or the path in KVR_DEMO_SHOT).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ "${KVR_SKIP_SETUP:-0}" != 1 ]; then
  bash tools/setup.sh
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "${KVR_JOBS:-$(nproc)}"
dist="$root/build/dist"
if [ -z "${DISPLAY:-}" ]; then
  exec python3 tools/demo.py "$dist" "${KVR_DEMO_SHOT:-$PWD/kvr-demo.png}"
fi
# The Chinese font directory must be on the display's font path for kvr's
# GBK and Big5 font sets.
if ! xset q 2>/dev/null | grep -qF "$dist/fonts"; then
  xset +fp "$dist/fonts" && xset fp rehash || echo "run: cannot add $dist/fonts to the font path" >&2
fi
exec "$dist/kvr" "$@"
