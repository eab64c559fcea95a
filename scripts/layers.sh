#!/usr/bin/env bash
# Prints which top-level folder includes which (with the number of includes), and fails
# when an include goes against the layers: lib/ knows no folder above it, data/ only lib/,
# common/ only data/ and lib/, a feature no other feature, nothing but tests/ includes tests/.
# Fails too when code above data/ reaches the database other than through data/: includes
# lib/firebird or names its classes, runs SQL, touches the module's connection, or opens,
# closes, refreshes or sets a parameter of a dataset of the data module.
# The tree checked is the clone's own, or LAYERS_ROOT (tests plant faults in a copy).
set -euo pipefail
root=${LAYERS_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

lib_parts="firebird dataset dbwidgets report text desktop"
# The sources, without build folders.
sources=$(find lib data common tables registers purchases reports import app tools tests bench \
  \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort || true)
features="tables registers purchases reports import"

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

# The folder an include names: "dbwidgets/db_grid.h" is lib/, "data/dm1.h" data/; a bare
# file name is the folder that holds a file of that name (its own folder first). Counted in
# one pass: "from to count" for each pair of folders.
declare -A edges
while read -r from to count; do
  edges["$from $to"]=$count
done < <(
  for dir in lib data common $features app tools tests bench; do
    [ -d "$dir" ] || continue
    grep -rhoE '^#include "[^"]+"' "$dir" --include='*.h' --include='*.cpp' | sed -E "s|#include \"([^\"]+)\"|$dir \\1|"
  done | awk -v libparts="$lib_parts" -v tops="data common app tools tests bench $features" '
    NR == FNR {
      top = $0; sub(/\/.*/, "", top)
      base = $0; sub(/.*\//, "", base)
      if (!(base in first)) first[base] = top
      own[top SUBSEP base] = 1
      next
    }
    {
      from = $1; inc = $2; to = ""
      if (index(inc, "/") == 0) {
        base = inc
        if ((from SUBSEP base) in own) to = from
        else if (base in first) to = first[base]
      } else {
        head = inc; sub(/\/.*/, "", head)
        n = split(libparts, l, " "); for (i = 1; i <= n; i++) if (head == l[i]) to = "lib"
        n = split(tops, t, " "); for (i = 1; i <= n; i++) if (head == t[i]) to = head
      }
      if (to != "") count[from " " to]++
    }
    END { for (k in count) print k, count[k] }
  ' <(printf '%s\n' "$sources") -)

bad=0
above_data="common tables registers purchases reports import app tools"

# Each line that reaches the database past data/, with the rule it breaks.
datasets=$(sed -nE 's/^ *ds::Dataset ([A-Za-z_0-9]+)\{.*/\1/p' data/dm1.h | paste -sd'|' -)
calls='(open|close|refresh|setParam|setSelectSql)[[:space:]]*\('
report() { # rule, grep output
  [ -z "$2" ] && return 0
  while IFS= read -r hit; do printf 'FORBIDDEN  %s: %s\n' "$1" "$hit"; done <<<"$2"
  bad=1
}
for dir in $above_data; do
  [ -d "$dir" ] || continue
  files=$(find "$dir" \( -name '*.h' -o -name '*.cpp' \) | sort)
  [ -z "$files" ] && continue
  # shellcheck disable=SC2086
  {
    report "includes lib/firebird" "$(grep -nE '^#include "firebird/' $files || true)"
    report "uses lib/firebird" "$(grep -nE '\bfb::' $files || true)"
    report "uses the module's connection" "$(grep -nE '\b(db_opl|tr_opl)\b' $files || true)"
    report "runs SQL" "$(grep -niE '"[[:space:]]*(select|insert into|update [A-Za-z_]+ set|delete from|execute block|execute procedure)[[:space:]]' $files || true)"
    report "opens, closes or queries a module dataset" \
      "$(grep -nE "\\b($datasets)[[:space:]]*(\\.|->)[[:space:]]*$calls" $files || true)"
  }
  # A dataset reached through a reference or an accessor of the module's dataset.
  # shellcheck disable=SC2086
  for f in $(grep -lE 'ds::Dataset&' $files || true); do
    names=$( { grep -oE "ds::Dataset&[[:space:]]+[A-Za-z_0-9]+[[:space:]]*=[^;]*\\b($datasets)\\b" "$f" \
                 | sed -E 's/ds::Dataset&[[:space:]]+([A-Za-z_0-9]+).*/\1/' || true
               grep -oE "ds::Dataset&[[:space:]]+([A-Za-z_0-9]+::)?[A-Za-z_0-9]+\\(\\)" "$f" \
                 | sed -E 's/.*[[:space:]:]([A-Za-z_0-9]+)\(\)$/\1()/' || true; } | sort -u | sed 's/[()]/\\&/g' | paste -sd'|' -)
    [ -z "$names" ] && continue
    report "opens, closes or queries a module dataset" \
      "$(grep -nE "(^|[^A-Za-z_0-9.>])($names)[[:space:]]*(\\.|->)[[:space:]]*$calls" "$f" | sed "s|^|$f:|" || true)"
  done
done

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
