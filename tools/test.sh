#!/usr/bin/env bash
# Sets up the machine, builds kvr twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both builds.
#   KVR_JOBS=N        parallel build and test jobs (default: all cores)
#   KVR_SKIP_SETUP=1  do not run tools/setup.sh
#   KVR_ONLY=plain|san  run one of the two builds only
#   KVR_SKIP_FORMAT=1 do not check the layout (tools/format.sh --check)
# Both builds treat every compiler warning as an error (KVR_WERROR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${KVR_JOBS:-$(nproc)}

if [ "${KVR_SKIP_SETUP:-0}" != 1 ]; then
  bash tools/setup.sh
fi

if [ "${KVR_SKIP_FORMAT:-0}" != 1 ]; then
  bash tools/format.sh --check
fi

run_build() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

# Xlib's per-process tables are not leaks; the programs the X tests start
# (kvr itself) need the same suppressions as the test binaries.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/support/lsan.supp}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

case "${KVR_ONLY:-both}" in
  plain) run_build build ;;
  san) run_build build-san -DKVR_SANITIZE=ON -DKVR_BUILD_BENCH=OFF ;;
  *)
    run_build build
    run_build build-san -DKVR_SANITIZE=ON -DKVR_BUILD_BENCH=OFF
    ;;
esac
