#!/usr/bin/env bash
# Kills the procvault command line with SIGKILL at seeded points inside the
# operations that change files (saving a module, storing, removing, renaming a
# category, compacting), then checks what a user would find afterwards: the
# module holds its old or its new bytes, and the library is there under its own
# name, passes SQLite's integrity check and holds either the old or the new rows,
# never a header without its lines or lines without their header.
#
# Each kill point is one file-changing system call of an unkilled run, picked
# uniformly; strace delivers SIGKILL on entry to its k-th invocation.
#   PV_CRASH_KILLS  kills per operation (200)
#   PV_CRASH_SEED   seed of the choice of points (1009)
#   PV_CRASH_OPS    operations to run (all: save store remove rename compact)
#   PROCVAULT       the binary (build/apps/procvault/procvault)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
procvault=${PROCVAULT:-$here/../../build/apps/procvault/procvault}
kills=${PV_CRASH_KILLS:-200}
seed=${PV_CRASH_SEED:-1009}
read -r -a ops <<<"${PV_CRASH_OPS:-save store remove rename compact}"

for tool in strace sqlite3 cmp; do
  command -v "$tool" >/dev/null || { echo "crash-safety: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done
[[ -x $procvault ]] || { echo "crash-safety: no procvault binary at $procvault" >&2; exit 2; }
# Some containers forbid ptrace; ctest then reports the test as skipped, with this notice.
strace -qq -o /dev/null true 2>/dev/null ||
  { echo "crash-safety: SKIPPED: strace cannot trace here (ptrace not permitted)" >&2; exit 77; }

# A process kill leaves the page cache as it was, so memory-backed files show
# the same outcomes, without the shared disk's fsync latency.
if [[ -d /dev/shm && -w /dev/shm ]]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
trap 'rm -rf "$work"' EXIT
# Every kill must run the binary the kill points were taken from, even when a
# build relinks it meanwhile.
cp "$procvault" "$work/procvault"
procvault=$work/procvault
run=$work/run            # the folder a run works in, restored before each one
template=$work/old       # what it is restored from
library=$run/lib/Library.mdb
workers=2                # kills run two at a time, each in a folder of its own
traced=write,pwrite64,fsync,fdatasync,rename,renameat,renameat2,unlink,unlinkat,ftruncate,openat,close,link,linkat,fchmod

# A module of `count` Subs without error handling, `lines` body lines each, CR LF endings.
module() {
  awk -v m="$1" -v n="$2" -v l="$3" 'BEGIN { ORS = "\r\n"
    print "Attribute VB_Name = \"" m "\""; print "Option Explicit"
    for (i = 1; i <= n; i++) {
      print ""; print "'"'"' Procedure " i " of " m "."; print "Public Sub " m i "(ByVal lngValue As Long)"
      for (j = 1; j <= l; j++) print "    Debug.Print \"" m " " i " line " j "\", lngValue * " j
      print "End Sub" } }'
}

pv() { XDG_CONFIG_HOME=$run/config "$procvault" "$@"; }

# The starting state: a library of 300 procedures (4,500 lines, some 70 pages)
# and the modules the operations read.
make_pristine() {
  mkdir -p "$run/lib"
  module Lib 300 13 >"$run/Lib.bas"
  module Big 40 6 >"$run/Big.bas"
  module Store 6 60 >"$run/Store.bas"
  pv library init "$library" >/dev/null 2>&1
  pv options set --library "$library" >/dev/null
  pv library categories add Utilities >/dev/null 2>&1
  pv library categories add Strings >/dev/null 2>&1
  local names=() i
  for ((i = 1; i <= 300; i++)); do names+=("Sub Lib$i"); done
  pv library store "$run/Lib.bas" "${names[@]}" --category Utilities >/dev/null 2>&1
  rm "$run/Lib.bas"
  cp -a "$run" "$work/old"
}

restore() { rm -rf "$run" && cp -a "$template" "$run"; }

# Sets `cmd` to the arguments of operation $1 and `stream` to its fixed
# position in the seeded sequence, so that one operation alone replays its kills.
set_command() {
  local ids i
  case $1 in
    save) stream=1 cmd=(add-handlers "$run/Big.bas" --all) ;;
    store) stream=2 cmd=(library store "$run/Store.bas") ;;
    remove) stream=3 cmd=(library remove) ;;
    rename) stream=4 cmd=(library categories rename Utilities Tools) ;;
    compact) stream=5 cmd=(library compact) ;;
    *) echo "crash-safety: unknown operation $1" >&2; exit 2 ;;
  esac
  if [[ $1 == store ]]; then
    for ((i = 1; i <= 6; i++)); do cmd+=("Sub Store$i"); done
    cmd+=(--category Strings)
  elif [[ $1 == remove ]]; then
    read -r -a ids <<<"$(seq -s ' ' 7 7 300)"
    cmd+=("${ids[@]}" --yes)
  fi
}

# Reads an strace log; prints "syscall k" for every file-changing call, k being
# its invocation number among that syscall's calls in its thread, as strace's
# when= counts them. Opens count when they create; closes when the descriptor
# was opened for writing; writes when they go to a file, not to the terminal.
kill_points() {
  awk '
    / resumed>/ || /^[0-9]+ +\+\+\+/ || /^[0-9]+ +---/ { next }
    { tid = $1; call = $2; sub(/\(.*/, "", call); seen[tid, call]++
      args = $0; sub(/^[0-9]+ +[a-z0-9_]+\(/, "", args); fd = args + 0
      ret = $0; sub(/.*= /, "", ret); ret = ret + 0
      pick = 0
      if (call == "openat") {
        if ($0 ~ /O_CREAT/) pick = 1
        if ($0 ~ /O_CREAT|O_WRONLY|O_RDWR/ && ret >= 0) writable[ret] = 1
      } else if (call == "close") { if (fd in writable) { pick = 1; delete writable[fd] } }
      else if (call == "write") pick = fd > 2
      else pick = 1
      if (pick) print call, seen[tid, call] }' "$1"
}

# The line count of header h in the library `$1`; -1 there when it has no such header.
lines_in() { echo "(SELECT count(*) FROM $1.ProcedureLine l WHERE l.ProcedureHeaderID = h.ProcedureHeaderID)"; }
known_in() {
  echo "(SELECT CASE WHEN EXISTS (SELECT 1 FROM $1.ProcedureHeader x WHERE x.ProcedureHeaderID = h.ProcedureHeaderID)" \
    "THEN $(lines_in "$1") ELSE -1 END)"
}

# One query over the library, its old and its new state, printing
# the integrity check's lines, then orphan lines|headers with a partial set|procedures without a valid
# category|renamed category rows|differences from old|differences from new.
library_facts() {
  local diff_old="" diff_new="" table
  for table in Category ProcedureHeader ProcedureLine; do
    diff_old+="+(SELECT count(*) FROM (SELECT * FROM main.$table EXCEPT SELECT * FROM o.$table))"
    diff_old+="+(SELECT count(*) FROM (SELECT * FROM o.$table EXCEPT SELECT * FROM main.$table))"
    diff_new+="+(SELECT count(*) FROM (SELECT * FROM main.$table EXCEPT SELECT * FROM n.$table))"
    diff_new+="+(SELECT count(*) FROM (SELECT * FROM n.$table EXCEPT SELECT * FROM main.$table))"
  done
  local partial
  partial="SELECT count(*) FROM main.ProcedureHeader h WHERE $(lines_in main) NOT IN ($(known_in o), $(known_in n))"
  sqlite3 -batch -bail -separator '|' "$1" \
    "ATTACH '$work/old/lib/Library.mdb' AS o; ATTACH '$work/new/lib/Library.mdb' AS n;" \
    "PRAGMA main.integrity_check;" \
    "SELECT (SELECT count(*) FROM main.ProcedureLine WHERE ProcedureHeaderID NOT IN (SELECT ProcedureHeaderID FROM main.ProcedureHeader)),
      ($partial),
      (SELECT count(*) FROM main.ProcedureHeader WHERE CategoryID NOT IN (SELECT CategoryID FROM main.Category)),
      (SELECT count(*) FROM main.Category WHERE CategoryDesc IN ('Utilities', 'Tools')),
      0$diff_old, 0$diff_new;" 2>&1
}

# Judges the folder after a run of `op`; prints old, new or "FAIL: why".
judge() {
  local op=$1 module=$run/Big.bas facts state=""
  if ! cmp -s "$module" "$work/old/Big.bas" && ! cmp -s "$module" "$work/new/Big.bas"; then
    echo "FAIL: Big.bas is neither its old nor its new bytes ($(stat -c %s "$module" 2>/dev/null || echo missing) bytes)"
    return
  fi
  [[ -f $library ]] || { echo "FAIL: no library under its own name ($(cd "$run/lib" && echo *))"; return; }
  if [[ $op == save ]]; then
    cmp -s "$module" "$work/old/Big.bas" && echo old || echo new
    return
  fi
  # The user's next command opens it first, and SQLite plays a journal back then.
  pv library list >/dev/null 2>"$run.err" ||
    { echo "FAIL: procvault cannot open the library: $(tail -n 1 "$run.err")"; return; }
  facts=$(library_facts "$library") || { echo "FAIL: the library cannot be read: ${facts//$'\n'/ }"; return; }
  local integrity orphans partial homeless named diff_old diff_new
  local lines
  mapfile -t lines <<<"$facts"
  integrity="${lines[*]:0:${#lines[@]}-1} "
  IFS='|' read -r orphans partial homeless named diff_old diff_new <<<"${lines[-1]}"
  [[ $integrity == "ok " ]] || { echo "FAIL: integrity check: $integrity"; return; }
  ((orphans == 0)) || { echo "FAIL: $orphans line rows without their header"; return; }
  ((partial == 0)) || { echo "FAIL: $partial headers with a partial set of lines"; return; }
  ((homeless == 0)) || { echo "FAIL: $homeless procedures without a valid category"; return; }
  ((named == 1)) || { echo "FAIL: $named categories named Utilities or Tools"; return; }
  if [[ $op == compact ]]; then
    # Same rows either way; the file tells whether the compacted copy took over.
    ((diff_old == 0)) || { echo "FAIL: compaction changed $diff_old rows"; return; }
    if cmp -s "$library" "$work/old/lib/Library.mdb"; then state=old
    elif cmp -s "$library" "$work/new/lib/Library.mdb"; then state=new
    else echo "FAIL: the library is neither the old file nor the compacted one"; return; fi
  elif ((diff_old == 0)); then state=old
  elif ((diff_new == 0)); then state=new
  else echo "FAIL: the rows are neither the old nor the new ones ($diff_old/$diff_new rows differ)"; return; fi
  echo "$state"
}

# Files the folders hold besides the ones a finished run leaves.
leftovers() {
  comm -13 <(cd "$work/new" && find . -type f | sort) <(cd "$run" && find . -type f | sort) |
    sed 's/[0-9][0-9]*/N/g; s|^\./||' | tr '\n' ' '
}

# Kills the picks numbered worker, worker+workers, ... of operation $op in a
# folder of the worker's own; prints "number verdict" and "left files" lines.
kill_worker() {
  local worker=$1 i call k rc verdict
  run=$work/run$worker template=$work/old$worker library=$run/lib/Library.mdb
  if [[ ! -d $template ]]; then
    cp -a "$work/old" "$template"
    sed -i "s|$work/run/|$run/|" "$template/config/Procvault/Procvault.ini"
  fi
  set_command "$op"
  for ((i = worker; i <= kills; i += workers)); do
    read -r call k <<<"${picks[i]}"
    restore
    rc=0
    # The subshell keeps the shell's "Killed" notice off the terminal.
    (
      XDG_CONFIG_HOME=$run/config strace -f -qq -o "$run.log" -e trace="$call" \
        -e inject="$call:signal=KILL:when=$k" "$procvault" "${cmd[@]}" >/dev/null 2>"$run.err"
      exit $?
    ) 2>/dev/null || rc=$?
    if ((rc != 137)); then
      verdict="FAIL: exit $rc instead of 137 (SIGKILL): the point was not reached; $(tail -n 1 "$run.err")"
    elif [[ $(grep -c " $call(" "$run.log") != "$k" || $(tail -n 2 "$run.log") != *"= ?"*"killed by SIGKILL"* ]]; then
      verdict="FAIL: not killed on entry to $call #$k: $(tail -n 2 "$run.log" | tr '\n' ' ')"
    else
      echo "left $(leftovers)"
      verdict=$(judge "$op")
    fi
    echo "$i $verdict"
  done
}

make_pristine
status=0
started=$SECONDS
printf '%-8s %6s %6s %6s %9s %8s  %s\n' operation kills old new failures points "left behind (kills)"
for op in "${ops[@]}"; do
  set_command "$op"
  restore
  XDG_CONFIG_HOME=$run/config strace -f -qq -o "$work/$op.log" -e trace="$traced" "$procvault" "${cmd[@]}" >/dev/null 2>&1 ||
    { echo "crash-safety: $op does not run unkilled: $procvault ${cmd[*]}" >&2; exit 1; }
  rm -rf "$work/new" && cp -a "$run" "$work/new"
  mapfile -t points < <(kill_points "$work/$op.log")
  RANDOM=$((seed * 8 + stream))
  picks=("")
  for ((i = 1; i <= kills; i++)); do picks+=("${points[$(((RANDOM << 15 | RANDOM) % ${#points[@]}))]}"); done
  for ((w = 1; w <= workers; w++)); do kill_worker "$w" >"$work/results$w" & done
  wait
  old=0 new=0 failures=0 notes=""
  while read -r i verdict; do
    case $verdict in
      old) old=$((old + 1)) ;;
      new) new=$((new + 1)) ;;
      *)
        failures=$((failures + 1))
        ((failures <= 3)) || continue
        read -r call k <<<"${picks[i]}"
        echo "  $op kill $i at $call #$k: $verdict" >&2
        echo "    reproduce: PV_CRASH_SEED=$seed PV_CRASH_OPS=$op PV_CRASH_KILLS=$i $0 (kill $i is the last);" \
          "by hand: strace -f -e inject=$call:signal=KILL:when=$k $procvault ${cmd[*]}" >&2 ;;
    esac
  done < <(cat "$work"/results* | grep -v '^left ' | sort -n)
  # The files left besides the finished run's, with how many kills left them.
  notes=$(cat "$work"/results* | sed -n 's/^left \(..*\)/\1/p' | sort | uniq -c | awk '{ n = $1; $1 = ""; printf "%s(%d) ", substr($0, 2), n }')
  printf '%-8s %6d %6d %6d %9d %8d  %s\n' "$op" "$kills" "$old" "$new" "$failures" "${#points[@]}" "${notes:--}"
  ((failures == 0)) || status=1
done
echo "seed $seed, $((SECONDS - started)) s"
exit "$status"
