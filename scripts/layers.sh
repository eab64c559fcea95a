#!/usr/bin/env bash
# Prints which top-level folder includes which (with the number of includes), and fails
# when an include goes against the layers: lib/ knows no folder above it, data/ only lib/,
# common/ only data/ and lib/, a feature no other feature, nothing but tests/ includes tests/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

lib_parts="firebird dataset dbwidgets report text desktop"
# The sources, without build folders.
sources=$(find lib data common tables registers purchases reports import app tools tests bench \
  \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort || true)
features="tables registers purchases reports import"

# The folder an include names: "dbwidgets/db_grid.h" is lib/, "data/dm1.h" data/; a bare
# file name is the folder that holds a file of that name (its own folder first).
target_of() { # include, including folder
  local first=${1%%/*}
  if [ "$first" = "$1" ]; then
    grep -q "^$2/\(.*/\)\?$1\$" <<<"$sources" && { echo "$2"; return; }
    local found
    found=$(grep -m1 "/$1\$" <<<"$sources" || true)
    echo "${found%%/*}"
    return
  fi
  for p in $lib_parts; do [ "$first" = "$p" ] && { echo lib; return; }; done
  for p in data common app tools tests bench $features; do [ "$first" = "$p" ] && { echo "$p"; return; }; done
  echo ""
}

allowed() { # from to
  local from=$1 to=$2
  [ "$from" = "$to" ] && return 0
  case "$from" in
    lib) return 1 ;;
    data) [ "$to" = lib ] ;;
    common) [ "$to" = lib ] || [ "$to" = data ] ;;
    tables|registers|purchases|reports|import) [ "$to" = lib ] || [ "$to" = data ] || [ "$to" = common ] ;;
    app) [ "$to" != tests ] && [ "$to" != bench ] && [ "$to" != tools ] ;;
    tools) [ "$to" != tests ] && [ "$to" != bench ] && [ "$to" != app ] ;;
    bench) [ "$to" != tests ] && [ "$to" != app ] ;;
    tests) return 0 ;;
    *) return 0 ;;
  esac
}

declare -A edges
for dir in lib data common $features app tools tests bench; do
  [ -d "$dir" ] || continue
  while IFS= read -r included; do
    to=$(target_of "$included" "$dir")
    [ -z "$to" ] && continue
    edges["$dir $to"]=$(( ${edges["$dir $to"]:-0} + 1 ))
  done < <(grep -rhoE '^#include "[^"]+"' "$dir" --include='*.h' --include='*.cpp' | sed -E 's/#include "([^"]+)"/\1/')
done

bad=0
for edge in $(printf '%s\n' "${!edges[@]}" | tr ' ' ':' | sort); do
  from=${edge%%:*}; to=${edge##*:}
  [ "$from" = "$to" ] && continue
  if allowed "$from" "$to"; then
    printf '%-10s -> %-10s %4d\n' "$from" "$to" "${edges["$from $to"]}"
  else
    printf '%-10s -> %-10s %4d   FORBIDDEN\n' "$from" "$to" "${edges["$from $to"]}"
    bad=1
  fi
done
exit $bad
