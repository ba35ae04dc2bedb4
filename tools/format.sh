#!/usr/bin/env bash
# Formats the C++ sources with the tree's .clang-format, or checks them.
#   tools/format.sh          rewrite every file that is not formatted
#   tools/format.sh --check  list the files that are not formatted; exit 1
#                            if there is one (tools/test.sh runs this)
#   tools/format.sh FILE...  only these files
# The resource script's header (frontend/rc/resource.h) is data that the
# resource compiler reads, laid out as it expects, and is left alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
check=0
if [ "${1:-}" = "--check" ]; then check=1; shift; fi
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -v '^frontend/rc/')
fi
command -v clang-format >/dev/null || { echo "format.sh: clang-format is not installed" >&2; exit 2; }
bad=0
for f in "${files[@]}"; do
  if [ $check = 1 ]; then
    if ! clang-format "$f" | cmp -s - "$f"; then
      echo "not formatted: $f"
      bad=$((bad + 1))
    fi
  else
    clang-format -i "$f"
  fi
done
if [ $bad -gt 0 ]; then
  echo "format.sh: $bad file(s) differ from .clang-format; run tools/format.sh" >&2
  exit 1
fi
