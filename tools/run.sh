#!/usr/bin/env bash
# Sets up the machine, builds the distribution directory and runs kvr from it
# on the current X display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "${KVR_JOBS:-$(nproc)}"
exec build/dist/kvr "$@"
