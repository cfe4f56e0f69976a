#!/usr/bin/env bash
# Eight users at once on one library, through the real command line: each
# stores, moves and removes procedures in a loop for a bounded time and logs
# what every command that succeeded did. Afterwards the library must hold
# exactly the procedures stored minus those removed, no line without its
# procedure, every procedure's lines one run of keys, every procedure as the
# module text it was stored from, and no removed key left. On a file, a command
# refused because another one holds the library (3218, 3045) is tried again,
# not counted.
#   tests/reliability/soak.sh [postgresql://... | CLUSTER]   (no argument: a file library in a temp
#       folder; a URI must name an empty database; CLUSTER, the state folder of scripts/pg-cluster.sh:
#       a new database there, skipped (77) when the cluster is not running)
#   SOAK_SECONDS  how long the users work (20)
#   SOAK_WORKERS  how many (8)
#   SOAK_SEED     seed of their choices (1009)
#   PROCVAULT     the binary (build/apps/procvault/procvault)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
procvault=${PROCVAULT:-$here/../../build/apps/procvault/procvault}
location=${1:-}
if [[ -d $location ]]; then
  [[ -s $location/uri ]] || { echo "soak: no cluster running (server.start skipped): not run" >&2; exit 77; }
  admin=$(cat "$location/uri")
  psql "$admin" -X -q -v ON_ERROR_STOP=1 -c "DROP DATABASE IF EXISTS soak WITH (FORCE)" \
    -c "CREATE DATABASE soak TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C.UTF-8'"
  location=${admin/\/postgres\?/\/soak?}
fi
seconds=${SOAK_SECONDS:-20}
workers=${SOAK_WORKERS:-8}
seed=${SOAK_SEED:-1009}
procedures=30
categories=(Tools Math Strings)
if [[ -n $location ]]; then sql_tool=psql; else sql_tool=sqlite3; fi

for tool in "$sql_tool" cmp; do
  command -v "$tool" >/dev/null || { echo "soak: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done
[[ -x $procvault ]] || { echo "soak: no procvault binary at $procvault" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pv() { XDG_CONFIG_HOME=$work/config "$procvault" "$@"; }
sql() {
  if [[ -n $location ]]; then psql "$location" -X -q -At -v ON_ERROR_STOP=1 -c "$1"
  else sqlite3 -batch -bail "$library" "$1"; fi
}

# Subs S1..Sn back to back, so that each one's stored lines are exactly its own; CR LF endings.
module() {
  awk -v n="$1" 'BEGIN { ORS = "\r\n"
    print "Attribute VB_Name = \"Soak\""; print "Option Explicit"
    for (i = 1; i <= n; i++) {
      print "Public Sub S" i "(ByVal lngValue As Long)"
      for (j = 1; j <= i % 7 + 1; j++) print "    Debug.Print \"S" i " \"\"line\"\" " j "\", lngValue * " j " \047 note"
      print "End Sub" } }'
}

# What `library show` prints for Sub S$1: its lines with the terminal's line ends.
expected() { module "$procedures" | tr -d '\r' | awk -v n="S$1" '$0 ~ "^Public Sub " n "\\(" { on = 1 } on { print } /^End Sub/ { on = 0 }'; }

setup() {
  module "$procedures" >"$work/Soak.bas"
  if [[ -n $location ]]; then library=$location; else library=$work/Library.mdb; fi
  pv library init "$library" 2>/dev/null
  pv options set --library "$library" >/dev/null
  local name names=()
  for name in "${categories[@]}"; do pv library categories add "$name" 2>/dev/null; done
  for ((i = 1; i <= procedures; i++)); do names+=("Sub S$i"); done
  pv library store "$work/Soak.bas" "${names[@]}" --category "${categories[0]}" 2>/dev/null
}

# Runs a command until the library is not busy; leaves its exit code in rc, stdout in out, stderr in $err.
attempt() {
  while :; do
    rc=0
    out=$(pv "$@" 2>"$err") || rc=$?
    ((rc != 0)) && grep -q "currently locked\|file already in use" "$err" || return 0
    echo busy >>"$log"
  done
}

# A key of the library, as one user's listing shows it now; empty when there is none.
pick_key() {
  attempt library list
  local keys
  mapfile -t keys < <(cut -f1 <<<"$out" | grep .)
  ((${#keys[@]})) && key=${keys[RANDOM % ${#keys[@]}]} || key=""
}

# Logs what the last attempt did: `effect` when it succeeded, "gone" when another user removed the key first.
record() {
  if ((rc == 0)); then echo "$1" >>"$log"
  elif ((rc == 2)) && grep -q "no stored procedure with key" "$err"; then echo gone >>"$log"
  else echo "error: exit $rc: $* $(tr '\n' ' ' <"$err")" >>"$log"; fi
}

worker() {
  local w=$1 log=$work/log$1 err=$work/err$1 end=$((SECONDS + seconds)) rc out key names i
  RANDOM=$((seed * 16 + w))
  : >"$log"
  while ((SECONDS < end)); do
    case $((RANDOM % 3)) in
      0)
        # One or two different ones.
        i=$((RANDOM % procedures))
        names=("Sub S$((i + 1))")
        ((RANDOM % 2)) && names+=("Sub S$(((i + 1 + RANDOM % (procedures - 1)) % procedures + 1))")
        attempt library store "$work/Soak.bas" "${names[@]}" --category "${categories[RANDOM % ${#categories[@]}]}"
        record "stored ${#names[@]}" store ;;
      1)
        pick_key
        [[ -n $key ]] || continue
        attempt library remove "$key" --yes
        record "removed $key" remove "$key" ;;
      2)
        pick_key
        [[ -n $key ]] || continue
        attempt library move "$key" --category "${categories[RANDOM % ${#categories[@]}]}"
        record moved move "$key" ;;
    esac
  done
}

# Procedures stored, keys removed (two users may remove one procedure at once, both successfully),
# or commands that did the rest.
total() {
  cat "$work"/log* | awk -v what="$1" '$1 != what { next }
    what == "stored" { n += $2; next } what == "removed" { if (!seen[$2]++) n++; next } { n++ }
    END { print n + 0 }'
}

failures=0
fail() { echo "soak: FAIL: $*" >&2; failures=$((failures + 1)); }

check() {
  local listing stored removed orphans scattered key name shown=0 wrong=0
  listing=$(pv library list) || { fail "cannot list the library"; return; }
  stored=$(($(total stored) + procedures)) removed=$(total removed)
  held=$(grep -c . <<<"$listing" || true)
  ((held == stored - removed)) || fail "$held procedures in the library, $stored stored - $removed removed"
  key=$(cut -f1 <<<"$listing" | grep -Fxf <(awk '$1 == "removed" { print $2 }' "$work"/log*) | head -n 1 || true)
  [[ -z $key ]] || fail "procedure $key is still there after its removal"
  orphans=$(sql "SELECT count(*) FROM \"ProcedureLine\" WHERE \"ProcedureHeaderID\" NOT IN (SELECT \"ProcedureHeaderID\" FROM \"ProcedureHeader\")")
  ((orphans == 0)) || fail "$orphans lines without their procedure"
  # A procedure whose key range holds lines of another one.
  scattered=$(sql "SELECT count(*) FROM (SELECT min(\"ProcedureLineID\") AS lo, max(\"ProcedureLineID\") AS hi, count(*) AS n
    FROM \"ProcedureLine\" GROUP BY \"ProcedureHeaderID\") g
    WHERE (SELECT count(*) FROM \"ProcedureLine\" l WHERE l.\"ProcedureLineID\" BETWEEN g.lo AND g.hi) <> g.n")
  ((scattered == 0)) || fail "$scattered procedures with another one's lines between their first and last line"
  for ((i = 1; i <= procedures; i++)); do expected "$i" >"$work/S$i.txt"; done
  while IFS=$'\t' read -r key name; do
    [[ -n $key ]] || continue
    shown=$((shown + 1))
    pv library show "$key" 2>/dev/null | cmp -s - "$work/${name#Sub }.txt" || { wrong=$((wrong + 1)); ((wrong > 3)) || fail "procedure $key ($name) shows other text"; }
  done <<<"$listing"
  ((wrong <= 3)) || fail "$wrong procedures in all show other text"
  echo "soak: $workers users, ${seconds}s on $(basename "${library%%\?*}"): $stored stored, $removed removed," \
    "$(total moved) moved, $(total gone) found gone, $(total busy) busy retries; $held held, $shown shown"
}

setup
started=$SECONDS
for ((w = 1; w <= workers; w++)); do worker "$w" & done
wait
errors=$(cat "$work"/log* | grep -c '^error' || true)
if ((errors)); then
  fail "$errors commands failed for another reason than a busy library or a key already removed:"
  cat "$work"/log* | grep '^error' | head -n 3 | sed 's/^/  /' >&2
fi
check
echo "soak: $((SECONDS - started)) s, seed $seed"
((failures == 0))
