#!/usr/bin/env bash
# Runs the library benchmarks and the same statements through the sqlite3
# command-line shell on the same file, and prints both with their ratio.
#   scripts/bench-library-vs-sqlite3.sh [BUILD_DIR]   (default: build-dao)
# Needs sqlite3, hyperfine and python3. PV_BENCH_LIBRARY names the library file.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-dao}
bench=$build/bench/bench_library
library=${PV_BENCH_LIBRARY:-${TMPDIR:-/tmp}/procvault-bench/library-100k.mdb}
export PV_BENCH_LIBRARY=$library
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in sqlite3 hyperfine python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -x "$bench" ] || { echo "build bench_library first (Release): $bench" >&2; exit 1; }

# The engine's figures (this also generates the library on the first run).
"$bench" --benchmark_format=json --benchmark_out="$work/engine.json" --benchmark_out_format=json >/dev/null

keys=$(python3 -c 'print(",".join(str(1 + i * 1000) for i in range(100)))')
headers="SELECT ProcedureHeaderID, Name, Type, CategoryID FROM ProcedureHeader"
filter_sub_cat="SELECT Type || ' ' || Name, ProcedureHeaderID FROM ProcedureHeader WHERE Type='Sub' AND CategoryID=5 ORDER BY 1 COLLATE NOCASE"
filter_all="SELECT Type || ' ' || Name, ProcedureHeaderID FROM ProcedureHeader ORDER BY 1 COLLATE NOCASE"
lines="SELECT ProcedureHeaderID FROM ProcedureHeader WHERE ProcedureHeaderID IN ($keys); SELECT ProcedureLineID, ProcedureHeaderID, Line FROM ProcedureLine WHERE ProcedureHeaderID IN ($keys) ORDER BY ProcedureLineID"
append="PRAGMA synchronous=FULL; BEGIN IMMEDIATE; INSERT INTO ProcedureHeader (Name, Type, CategoryID) VALUES ('BenchAppend', 'Sub', 1); INSERT INTO ProcedureLine (ProcedureHeaderID, Line) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<999) SELECT (SELECT max(ProcedureHeaderID) FROM ProcedureHeader), '    Debug.Print \"line ' || i || '\"' FROM n; COMMIT;"
cleanup="DELETE FROM ProcedureLine WHERE ProcedureHeaderID IN (SELECT ProcedureHeaderID FROM ProcedureHeader WHERE Name='BenchAppend'); DELETE FROM ProcedureHeader WHERE Name='BenchAppend';"

run() {  # name, statements, [statements run untimed before each run]
    printf '%s\n' "$2" >"$work/$1.sql"
    local extra=()
    if [ -n "${3:-}" ]; then
        printf '%s\n' "$3" >"$work/$1.prepare.sql"
        extra=(--prepare "sqlite3 $library '.read $work/$1.prepare.sql'")
    fi
    hyperfine -N --style none --warmup 3 --runs 20 "${extra[@]}" --export-json "$work/$1.json" \
        "sqlite3 $library '.read $work/$1.sql'" >/dev/null
}
run headers "$headers"
run filter_sub_cat "$filter_sub_cat"
run filter_all "$filter_all"
run lines "$lines"
run append "$append" "$cleanup"
sqlite3 "$library" "$cleanup"

python3 - "$work" <<'PY'
import json, sys, os
work = sys.argv[1]
engine = {b["name"]: b for b in json.load(open(os.path.join(work, "engine.json")))["benchmarks"]}
def ms(b):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b["real_time"] * scale
def shell(name):
    return json.load(open(os.path.join(work, name + ".json")))["results"][0]["mean"] * 1e3
rows = [
    ("GetProcedures (100k headers)", "BM_GetProcedures", "headers", 150),
    ("Filter change: Subs, one category", "BM_FilterChange/2/5", "filter_sub_cat", 20),
    ("Filter change: All, (All) (100k entries)", "BM_FilterChange/0/0", "filter_all", 20),
    ("Lines of 100 procedures, key order", "BM_ReadLinesOf100", "lines", 30),
    ("Append 1,000-line procedure, durable", "BM_AppendProcedure1000/iterations:30", "append", 30),
]
print(f"{'figure':44} {'engine ms':>10} {'sqlite3 ms':>11} {'ratio':>6} {'target':>7}")
for label, bench, sh, target in rows:
    e, s = ms(engine[bench]), shell(sh)
    print(f"{label:44} {e:10.1f} {s:11.1f} {e / s:6.2f} {'<' + str(target):>7}")
print("sqlite3 figures include starting the shell; the filter rows are the nearest")
print("statement (the engine filters in memory and fills a sorted list box).")
PY
