#!/usr/bin/env bash
# Builds the program and makes its Debian package (build/brenvald_<version>_<arch>.deb):
#   sudo apt-get install ./build/brenvald_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh"
cd "$root/build"
cpack -G DEB
ls -1 "$root"/build/brenvald_*.deb
