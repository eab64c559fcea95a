#!/usr/bin/env bash
# Installs what is missing, builds, creates the delivered database brenvald.gdb in the
# current folder when there is none, and starts the program there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh"
if [ ! -e brenvald.gdb ]; then
  "$root/build/tools/brenvald-cli" initdb brenvald.gdb
fi
exec "$root/build/app/brenvald" "$@"
