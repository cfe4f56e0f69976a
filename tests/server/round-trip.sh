#!/usr/bin/env bash
# A library copied from a file to the test server and back: every procedure's
# "library show", the listing and the rows themselves (keys included) are
# byte-identical to the original's, and the server library holds them too.
#   tests/server/round-trip.sh STATE PROCVAULT
set -euo pipefail
state=${1:?usage: round-trip.sh STATE PROCVAULT}
procvault=${2:?usage: round-trip.sh STATE PROCVAULT}
examples=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../examples/Inventory" && pwd)
if [ ! -s "$state/uri" ]; then
  echo "round-trip: no test server was started: not run" >&2
  exit 77
fi
admin=$(cat "$state/uri")
db=trip_$$
server=${admin/\/postgres?//$db?}
work=$(mktemp -d)
trap 'psql "$admin" -qc "drop database if exists $db with (force)" >/dev/null; rm -rf "$work"' EXIT
fail() { echo "round-trip: $*" >&2; exit 1; }
pv() { XDG_CONFIG_HOME=$work/config "$procvault" "$@"; }
psql "$admin" -qc "create database $db template template0 encoding 'UTF8' lc_collate 'C' lc_ctype 'C.UTF-8'"

# The original: two categories (one with a Windows-1252 letter), a store, a removal that leaves a gap in the keys.
pv library init "$work/original.mdb" 2>/dev/null
pv options set --library "$work/original.mdb" 2>/dev/null
pv library categories add "$(printf 'G\xe9n\xe9ral')" 2>/dev/null
pv library categories add 'Say "Hi"' 2>/dev/null
for module in Module1 modStock; do
  mapfile -t entries < <(grep -aoE '^(Public |Private )?(Function|Sub) [A-Za-z0-9_]+' "$examples/$module.bas" |
                         sed -E 's/^(Public |Private )//')
  pv library store --category 'Say "Hi"' --project "$examples/Inventory.vbp" "$module" "${entries[@]}" 2>/dev/null
done
pv library remove --yes 2 2>/dev/null

dump() {  # every procedure as shown, the listing and the three tables
  pv options set --library "$1" 2>/dev/null
  pv library list --json
  for key in $(pv library list | cut -f1); do pv library show "$key"; done
}
tables() {
  sqlite3 -batch "$1" "SELECT * FROM Category ORDER BY 1; SELECT * FROM ProcedureHeader ORDER BY 1;
                       SELECT * FROM ProcedureLine ORDER BY 1"
}
pv library init "$server" 2>/dev/null
pv library copy "$work/original.mdb" "$server" 2>/dev/null
pv library init "$work/back.mdb" 2>/dev/null
pv library copy "$server" "$work/back.mdb" 2>/dev/null
dump "$work/original.mdb" >"$work/original.txt"
dump "$server" >"$work/server.txt"
dump "$work/back.mdb" >"$work/back.txt"
[ "$(pv library list | wc -l)" -gt 5 ] || fail "the original holds too few procedures to prove anything"
cmp "$work/original.txt" "$work/server.txt" || fail "the server library shows differently"
# Repair & Compact on the server: its own upkeep, reported as done, nothing changed.
pv options set --library "$server" 2>/dev/null
pv library compact 2>"$work/compact.txt" || fail "compact on the server: $(cat "$work/compact.txt")"
grep -q "The Repair & Compact was completed successfully." "$work/compact.txt" || fail "compact said: $(cat "$work/compact.txt")"
cmp "$work/original.txt" <(dump "$server") || fail "compact changed the server library"
cmp "$work/original.txt" "$work/back.txt" || fail "the library copied back shows differently"
cmp <(tables "$work/original.mdb") <(tables "$work/back.mdb") || fail "rows or keys changed on the way"
# New keys continue past the copied ones on the server.
pv options set --library "$server" 2>/dev/null
pv library store --category 'Say "Hi"' --project "$examples/Inventory.vbp" Module1 "Sub ResetCount" 2>/dev/null
last=$(pv library list | cut -f1 | sort -n | tail -n 1)
[ "$last" -gt "$(sqlite3 "$work/original.mdb" 'SELECT max(ProcedureHeaderID) FROM ProcedureHeader')" ] ||
  fail "a procedure stored on the server after the copy got key $last"
echo "round-trip: $(grep -c . "$work/original.txt") lines identical through the server"
