#!/usr/bin/env bash
# Two users store procedures while a third compacts the same file library, over
# and over, through the real command line. Every store that exited 0 must be in
# the library afterwards, the library must pass SQLite's integrity check, and no
# backup or compacted copy may be left beside it. Stores and compacts refused
# because the library was busy are fine; a refusal must say so.
#   RACE_SECONDS  how long they race (4)
#   PROCVAULT     the binary (build/apps/procvault/procvault)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
procvault=${PROCVAULT:-$here/../../build/apps/procvault/procvault}
seconds=${RACE_SECONDS:-4}

for tool in sqlite3 comm; do
  command -v "$tool" >/dev/null || { echo "compact-race: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done
[[ -x $procvault ]] || { echo "compact-race: no procvault binary at $procvault" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pv() { XDG_CONFIG_HOME=$work/config "$procvault" "$@"; }
library=$work/lib/Library.mdb
mkdir -p "$work/lib"
pv library init "$library" >/dev/null 2>&1
pv options set --library "$library" >/dev/null
pv library categories add Race >/dev/null 2>&1

# Stores one procedure of its own per round; logs the names of those that exited 0.
storer() {
  local w=$1 i=0 end=$((SECONDS + seconds)) module=$work/Store$1.bas rc
  : >"$work/stored$w"
  while ((SECONDS < end)); do
    i=$((i + 1))
    printf 'Attribute VB_Name = "Store%s"\r\nPublic Sub W%s_%s()\r\n    Debug.Print %s\r\nEnd Sub\r\n' \
      "$w" "$w" "$i" "$i" >"$module"
    rc=0
    pv library store "$module" "Sub W${w}_$i" --category Race 2>"$work/err$w" || rc=$?
    if ((rc == 0)); then echo "W${w}_$i" >>"$work/stored$w"
    elif ! grep -q "currently locked\|file already in use" "$work/err$w"; then
      echo "compact-race: store W${w}_$i failed unexpectedly: $(cat "$work/err$w")" >>"$work/unexpected"
    fi
  done
}

compactor() {
  local end=$((SECONDS + seconds)) rc
  : >"$work/compacts"
  while ((SECONDS < end)); do
    rc=0
    pv library compact 2>"$work/errc" || rc=$?
    if ((rc == 0)); then echo ok >>"$work/compacts"
    elif ! grep -q "currently locked\|file already in use" "$work/errc"; then
      echo "compact-race: compact failed unexpectedly: $(cat "$work/errc")" >>"$work/unexpected"
    fi
  done
}

storer 1 & storer 2 & compactor &
wait

failures=0
fail() { echo "compact-race: FAIL: $*" >&2; failures=$((failures + 1)); }
[[ -s $work/unexpected ]] && fail "$(cat "$work/unexpected")"
reported=$(cat "$work/stored1" "$work/stored2" | sort)
listed=$(pv library list --json | grep -o '"entry": *"Sub [^"]*"' | sed 's/.*"Sub \([^"]*\)"/\1/' | sort)
missing=$(comm -23 <(echo "$reported") <(echo "$listed"))
[[ -z $missing ]] || fail "$(grep -c . <<<"$missing") of $(grep -c . <<<"$reported") reported stores are not in the library: $(echo $missing)"
integrity=$(sqlite3 -batch "$library" "PRAGMA integrity_check")
[[ $integrity == ok ]] || fail "integrity check: $integrity"
left=$(ls -A "$work/lib" | grep -vx Library.mdb || true)
[[ -z $left ]] || fail "left beside the library: $left"
compacts=$(grep -c . "$work/compacts" || true)
((compacts > 0)) || fail "no compact succeeded"
echo "compact-race: $(grep -c . <<<"$reported") stores and $compacts compacts reported done in ${seconds}s" >&2
((failures == 0))
