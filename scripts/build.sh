#!/usr/bin/env bash
# Configures and builds the program, the command-line tool, the tests and the benchmarks in
# build/, with at most two parallel jobs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
[ "$jobs" -gt 2 ] && jobs=2
log="$root/build/configure.log"
mkdir -p "$root/build"
if ! cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$log" 2>&1; then
  cat "$log"
  exit 1
fi
cmake --build "$root/build" -j"$jobs"
