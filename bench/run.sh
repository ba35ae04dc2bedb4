#!/bin/sh
# Runs every benchmark of kvr and prints the side-by-side table of kvr and
# its peer input method (fcitx5) as XIM servers.
#
#   bench/run.sh [build-dir] [-- XimServers_bench options]
#
# Installs the peer first (bench/setup_peer.sh), builds every *_bench.cpp of
# bench/ and kvr with its data on all cores (KVR_JOBS=N for fewer), runs each
# Google Benchmark program (strings, containers, images, the kernel, and the
# engine on the shipped dictionaries), the typing-quality benchmark
# (bench/quality: how often a word or a phrase typed as one string comes out
# right), then the XIM benchmark on a private
# Xvfb (start-up, memory, latency against fcitx5, X requests per commit).
# KVR_BENCH_QUICK=1 runs short versions (a smoke run, not figures).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
if [ $# -gt 0 ] && [ "$1" != "--" ]; then build=$1; shift; fi
[ "$1" = "--" ] && shift

sh "$root/bench/setup_peer.sh"
cmake -S "$root" -B "$build" -DKVR_BUILD_BENCH=ON >/dev/null
jobs=${KVR_JOBS:-$(nproc)}
benches=$(cd "$root/bench" && ls *_bench.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build "$build" -j "$jobs" --target kvr kvr_data $benches

if [ -n "$KVR_BENCH_QUICK" ]; then
  gb="--benchmark_min_time=0.05"
  xim="--starts 1 --rounds 2 --trials 2"
  quality="--limit 20"
else
  gb="--benchmark_repetitions=3 --benchmark_report_aggregates_only=true"
  xim=""
  quality=""
fi

# Every Google Benchmark program, then the XIM comparison, which takes its
# own options.
for b in $benches; do
  case $b in XimServers_bench|TypingQuality_bench) continue ;; esac
  echo "== $b"
  "$build/bench/$b" $gb
  echo
done
echo "== Typing quality (shipped dictionaries, the sets of bench/quality)"
"$build/bench/TypingQuality_bench" $quality
echo
echo "== kvr and fcitx5 as XIM servers"
"$build/bench/XimServers_bench" $xim "$@"
