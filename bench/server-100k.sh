#!/usr/bin/env bash
# The large library (100,000 procedures, 3,000,000 lines) on a throw-away
# PostgreSQL cluster (Unix socket only): times GetProcedures through the engine
# against psql running the same SELECT into /dev/null (goal: within 1.5x), and
# searches of a library of the same size (goal: under 50 ms).
#   bench/server-100k.sh [BUILD]   (default: build)
# Needs PostgreSQL 15, psql and hyperfine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
procvault=$build/apps/procvault/procvault
state=$(mktemp -d)
trap 'bash "$root/scripts/pg-cluster.sh" stop "$state" >/dev/null 2>&1; rm -rf "$state"' EXIT

bash "$root/scripts/pg-cluster.sh" start "$state" >/dev/null
admin=$(cat "$state/uri")
folder=$(cat "$state/folder")
uri="postgresql://procvault@/bench?host=$folder"
psql -q "$admin" -c "CREATE DATABASE bench TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'"
"$procvault" library init "$uri" 2>/dev/null
echo "server-100k: generating the library (about a minute)" >&2
psql -q "$uri" <<'SQL'
INSERT INTO "Category" ("CategoryDesc") SELECT format('Category %s', lpad(i::text, 2, '0')) FROM generate_series(1, 20) i;
INSERT INTO "ProcedureHeader" ("Name", "Type", "CategoryID")
    SELECT format('Proc%s', lpad(((i * 7919) % 100000)::text, 6, '0')),
           CASE WHEN i % 3 = 0 THEN 'Function' ELSE 'Sub' END, 1 + (i * 31) % 20
    FROM generate_series(0, 99999) i;
INSERT INTO "ProcedureLine" ("ProcedureHeaderID", "Line")
    SELECT h, format('    strResult = strResult & "line %s"', n) FROM generate_series(1, 100000) h, generate_series(1, 30) n
    ORDER BY h, n;
VACUUM ANALYZE;
SQL

# The search benchmark's library: each line also holds one of 100,000 item words.
psql -q "$admin" -c "CREATE DATABASE search TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C.UTF-8'"
search="postgresql://procvault@/search?host=$folder"
"$procvault" library init "$search" 2>/dev/null
psql -q "$search" <<'SQL'
INSERT INTO "Category" ("CategoryDesc") VALUES ('Bench');
INSERT INTO "ProcedureHeader" ("Name", "Type", "CategoryID")
    SELECT format('Proc%s', lpad(i::text, 6, '0')), 'Sub', 1 FROM generate_series(0, 99999) i;
INSERT INTO "ProcedureLine" ("ProcedureHeaderID", "Line")
    SELECT h, format('    strResult = strResult & Item%s & "line %s"', lpad(((h * 31 + n * 7919) % 100000)::text, 5, '0'), n)
    FROM generate_series(1, 100000) h, generate_series(1, 30) n ORDER BY h, n;
VACUUM ANALYZE;
SQL

select='SELECT "ProcedureHeaderID", "Name", "Type", "CategoryID" FROM "ProcedureHeader" ORDER BY "ProcedureHeader"."ProcedureHeaderID"'
hyperfine -N --warmup 2 --runs 15 --export-json "$state/psql.json" "psql -X -q -d $uri -c '$select' -o /dev/null" >&2
psql_ms=$(python3 -c "import json,sys; print(json.load(open(sys.argv[1]))['results'][0]['mean']*1000)" "$state/psql.json")
PV_BENCH_LIBRARY=$uri PV_BENCH_SEARCH_LIBRARY=$search "$build/bench/bench_library" --benchmark_filter="${PV_BENCH_FILTER:-BM_GetProcedures\$|BM_Search}" \
    --benchmark_format=json --benchmark_out="$state/pv.json" --benchmark_out_format=json >/dev/null
python3 - "$state/pv.json" "$psql_ms" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
psql = float(sys.argv[2])
for b in runs:
    ms = b["real_time"] if b["time_unit"] == "ms" else b["real_time"] / 1e6
    print(f"{b['name']} {b.get('label', '')}: {ms:.1f} ms, {b.get('hits', '')} hits")
    if b["name"] == "BM_GetProcedures":
        print(f"psql, the same SELECT: {psql:.1f} ms; ratio {ms / psql:.2f} (goal 1.5)")
PY
