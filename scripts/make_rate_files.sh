#!/usr/bin/env bash
# Writes data/rates/stawki_<rok>.sql for every year of data/reference/rates.csv: one line per
# rate, "nr_siln, nr_paliwa, opl_za_tone, rok)", the form the rate window and
# `brenvald-cli load-rates` take. Run it again when the reference rates change.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/data/rates"
mkdir -p "$out"
rm -f "$out"/stawki_*.sql
tr -d '\r' < "$root/data/reference/rates.csv" | awk -F, -v out="$out" '
  NR == 1 { next }
  { printf "%s, %s, %s, %s)\r\n", $2, $3, $4, $1 > (out "/stawki_" $1 ".sql") }
'
