#!/usr/bin/env bash
# Sets up the machine, builds the distribution directory and runs kvr from it
# on the current X display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "${KVR_JOBS:-$(nproc)}"
# The Chinese font directory must be on the display's font path for kvr's
# GBK and Big5 font sets.
dist="$root/build/dist"
if ! xset q 2>/dev/null | grep -qF "$dist/fonts"; then
  xset +fp "$dist/fonts" && xset fp rehash || echo "run: cannot add $dist/fonts to the font path" >&2
fi
exec "$dist/kvr" "$@"
