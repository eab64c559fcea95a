#!/usr/bin/env bash
# The layers check fails on each kind of fault planted in a copy of the tree, naming it, and
# passes on the copy as it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
(cd "$root" && find lib data common tables registers purchases reports import app tools \
   \( -name '*.h' -o -name '*.cpp' \) -print0 | cpio -0pdm --quiet "$copy")

failed=0
expect() { # what, expected exit code, expected text (or "")
  local out code=0
  out=$(LAYERS_ROOT=$copy "$root/scripts/layers.sh" 2>&1) || code=$?
  if [ "$code" -ne "$2" ] || { [ -n "$3" ] && ! grep -qF -- "$3" <<<"$out"; }; then
    echo "FAIL: $1: exit $code, wanted $2 with \"$3\""; echo "$out" | grep FORBIDDEN || true
    failed=1
  fi
}

expect "the tree as it is" 0 ""

# Each planted line, the file it goes into, and the rule the check must name.
while IFS='|' read -r file line rule; do
  target="$copy/$file"
  cp "$target" "$target.orig"
  printf '%s\n' "$line" >> "$target"
  expect "$line" 1 "$rule"
  mv "$target.orig" "$target"
done <<'PLANTED'
tables/pal.cpp|#include "firebird/statement.h"|includes lib/firebird
reports/rozl.cpp|static void f(const fb::Error& e);|uses lib/firebird
import/zak_kpr.cpp|static auto& c = dm_.db_opl;|uses the module's connection
purchases/zak.cpp|static const auto q = QStringLiteral("select NR_REJ from SAM");|runs SQL
app/ok_gl.cpp|static const auto q = QStringLiteral("delete from ZAK_PAL");|runs SQL
tables/siln.cpp|void g(Tdm_1& dm) { dm.IBDS_siln.open(); }|opens, closes or queries a module dataset
registers/pod.cpp|void g(Tdm_1& dm) { dm.IBQ_pod->setParam(QString(), 1); }|opens, closes or queries a module dataset
registers/sam.cpp|void g(Tdm_1& dm) { ds::Dataset& v = dm.IBDS_sam; v.refresh(); }|opens, closes or queries a module dataset
purchases/zak.cpp|void g() { zak().close(); }|opens, closes or queries a module dataset
common/period_chooser.cpp|#include "tables/pal.h"|FORBIDDEN
PLANTED
exit $failed
