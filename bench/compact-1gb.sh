#!/usr/bin/env bash
# Times "procvault library compact" on a library of about 1 GB against the
# sqlite3 shell's "VACUUM INTO" of the same file, and prints both and the ratio
# (goal: within 1.5x). The library is generated once with the real schema and
# kept for later runs (PV_BENCH_COMPACT_LIBRARY names it).
#   bench/compact-1gb.sh [PROCVAULT]   (default: build/apps/procvault/procvault)
# Needs sqlite3 and hyperfine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
procvault=$(realpath "${1:-$root/build/apps/procvault/procvault}")
library=${PV_BENCH_COMPACT_LIBRARY:-${TMPDIR:-/tmp}/procvault-bench/library-1gb.mdb}
runs=${PV_BENCH_RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in sqlite3 hyperfine; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -x "$procvault" ] || { echo "build procvault first: $procvault" >&2; exit 1; }

# 160,000 procedures of 60 lines, then one in twenty deleted again so that
# compaction has free pages to drop: about 1 GB.
if [ ! -e "$library" ]; then
    mkdir -p "$(dirname "$library")"
    building="$library.building"
    rm -f "$building"
    "$procvault" library init "$building" 2>/dev/null
    echo "compact-1gb: generating $library (a minute or two)" >&2
    sqlite3 "$building" >/dev/null <<'SQL'
PRAGMA journal_mode=OFF;
PRAGMA synchronous=OFF;
BEGIN;
INSERT INTO Category (CategoryDesc)
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<20)
    SELECT printf('Category %02d', i) FROM n;
INSERT INTO ProcedureHeader (Name, Type, CategoryID)
    WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<159999)
    SELECT printf('Proc%06d', (i*7919) % 160000), CASE WHEN i % 3 = 0 THEN 'Function' ELSE 'Sub' END,
           1 + (i*31) % 20 FROM n;
INSERT INTO ProcedureLine (ProcedureHeaderID, Line)
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<60)
    SELECT h.ProcedureHeaderID,
           printf('    strResult = strResult & "line %d of a stored procedure body, padded out"', n.i)
    FROM ProcedureHeader h, n ORDER BY h.ProcedureHeaderID, n.i;
DELETE FROM ProcedureLine WHERE ProcedureHeaderID % 20 = 0;
DELETE FROM ProcedureHeader WHERE ProcedureHeaderID % 20 = 0;
COMMIT;
SQL
    mv "$building" "$library"
fi
echo "compact-1gb: library $library, $(du -h "$library" | cut -f1)" >&2

# Its own settings file, pointing at the library, so the user's stay untouched.
mkdir -p "$work/config/Procvault"
printf '[Options]\nProcvaultLocation=%s\n' "$library" >"$work/config/Procvault/Procvault.ini"
copy="$(dirname "$library")/vacuum-into.mdb"
rm -f "$copy"
cat "$library" >/dev/null  # both start from a warm page cache

hyperfine -N --style basic --runs "$runs" --export-json "$work/compact.json" \
    "env XDG_CONFIG_HOME=$work/config $procvault library compact"
hyperfine -N --style basic --runs "$runs" --prepare "rm -f $copy" --export-json "$work/vacuum.json" \
    "sqlite3 $library \"VACUUM INTO '$copy'\""
rm -f "$copy"

mean() { sed -n 's/.*"mean": *\([0-9.e+-]*\).*/\1/p' "$1" | head -1; }
compact=$(mean "$work/compact.json")
vacuum=$(mean "$work/vacuum.json")
awk -v c="$compact" -v v="$vacuum" 'BEGIN {
    printf "procvault library compact  %8.2f s\n", c
    printf "sqlite3 VACUUM INTO        %8.2f s\n", v
    printf "ratio                      %8.2f (goal: <= 1.50)\n", c / v
}'
