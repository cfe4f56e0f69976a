#!/usr/bin/env bash
# Bad-input matrix for the procvault program: every command that reads a module,
# the library or the settings file, tried on each kind of input a user meets.
# Every run must end with the expected exit code (never a crash), say on stderr
# what went wrong, and leave every file it is not meant to change byte for byte.
#
#   bash tests/reliability/bad-input.sh [path/to/procvault]
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PV=${1:-$here/../../build/apps/procvault/procvault}
PV=$(cd "$(dirname "$PV")" && pwd)/$(basename "$PV")
[[ -x $PV ]] || { echo "bad-input: no program at $PV (build it first)" >&2; exit 2; }
# A run that blocks (on a pipe, say) is stopped and counted as failed, not waited for.
hang_limit=60

root=$(mktemp -d)
ws=$root/ws  # every row's workspace, at the same path so stored locations stay valid
holder=""
cleanup() {
    stop_holder
    mountpoint -q "$ws/full" 2>/dev/null && umount "$ws/full"
    chattr -R -i "$root" 2>/dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT

# The commands, by the name the table uses. {M} is the module, {L} the library.
declare -A CMD=(
    [comment]="comment {M} --lines 1"           [uncomment]="uncomment {M} --lines 1"
    [scan]="scan {M}"                           [add]="add-handlers {M} --all"
    [new]="new {M} Foo"                         [store]="library store {M} DoIt --category Tools"
    [insert]="library insert {M} 1"             [list]="library list"
    [show]="library show 1"                     [move]="library move 1 --category Tools"
    [remove]="library remove 1 --yes"           [cats]="library categories"
    [catadd]="library categories add Misc"      [compact]="library compact"
    [setlib]="options set --library {L}"        [options]="options show"
    [setprefix]="options set --comment-prefix ';X' --yes"
    [copyfrom]="library copy {L} C.mdb"         [copyto]="library copy C.mdb {L}"
    [setlibutf8]="options set --library \"\$ws/ünï cødé/lïb.mdb\""
    [setlibpw]="options set --library ' postgresql://team:s3cret@/lib?host=/nonexistent'"
)
MODCMDS="comment uncomment scan add new store insert"
LIBCMDS="list show store insert move remove cats catadd compact setlib"

# kind | commands | exit code | stderr fragments ("^^" between alternatives) | what may change
#   may change: none, module, library, settings. {M} {L} {INI} stand for the paths.
#   A fifth word "xfail:REASON" marks a known product fault outside the CLI: shown, not counted.
ROWS=(
    "good|comment add new insert|0|procvault: |module"
    "good|uncomment|1|could not find any lines in the selection|none"
    "good|scan list show cats options|0||none"
    "good|store move catadd|0||library"
    "mod-missing|$MODCMDS|2|File not found: {M}|none"
    "mod-empty|comment uncomment|2|lines 1-1 are outside the module, which has 0 lines|none"
    "mod-empty|scan|0||none"
    "mod-empty|add new insert|0||module"
    "mod-empty|store|2|{M} has no procedure DoIt to store|none"
    "mod-dir|$MODCMDS|2|{M} is a folder, not a module file|none"
    "mod-binary|$MODCMDS|2|M.bas is not a Visual Basic source file|none"
    "mod-nul|$MODCMDS|2|M.bas is not a Visual Basic source file|none"
    "mod-1mb mod-lf mod-mixed mod-cp1252|comment add new insert|0||module"
    "mod-1mb mod-lf mod-mixed mod-cp1252|uncomment|1|could not find any lines in the selection|none"
    "mod-1mb mod-lf mod-mixed mod-cp1252|scan|0||none"
    "mod-1mb mod-lf mod-mixed mod-cp1252|store|0||library"
    "mod-readonly|comment add new insert|2|M.bas is read-only|none"
    "mod-readonly|uncomment|1|could not find any lines|none"
    "mod-readonly|scan|0||none"
    "mod-readonly|store|0||library"
    "mod-full|comment add new insert|2|M.bas cannot be written|none"
    "mod-full|scan|0||none"
    "mod-devzero|$MODCMDS|2|M.bas is a device, not a regular file|none"
    "mod-fifo|$MODCMDS|2|M.bas is a pipe, not a regular file|none"
    "mod-huge|$MODCMDS|2|M.bas is larger than 64 MB|none"
    "mod-onelf|comment|0||module"
    "mod-onelf-rt|uncomment|0||module"  # commented first: the round trip gives back every byte
    "lib-missing lib-dir|$LIBCMDS|1|This file was not found.|none"
    "lib-empty lib-binary lib-text lib-nul|$LIBCMDS|1|Unrecognized database format '{L}'. 3343|none"
    "lib-foreign|list show store move remove cats catadd compact setlib|1|The database you entered is not a valid Procvault database. Please enter the path of a valid database.|none"
    "lib-foreign|insert|0||module"  # the Procvault dialog's library tab does not look for foreign tables
    "lib-locked|list show store move remove cats catadd compact setlib|1|Could not use '{L}'; file already in use. 3045|none"
    "lib-locked|insert|1|This file is currently opened by another user. Please close the database and try again.|none"
    "lib-readonly|list show cats setlib|0||none"
    "lib-readonly|insert|0||module"
    "lib-readonly|store move remove catadd|1|Cannot update. Database or object is read-only. 3027|none"
    "lib-readonly|compact|1|cmdCompact_Click(): error: |none"
    "lib-full|list show cats|0||none"
    "lib-full|store move remove catadd compact|1|Not enough space on disk. 3026^^Disk or network error|none"
    "lib-fifo|$LIBCMDS|1|Cannot open '{L}': it is a pipe, not a database file. 3051|none"
    "lib-fifo|copyfrom copyto|2|Cannot open '{L}': it is a pipe, not a database file.|none"
    "lib-utf8|setlibutf8|0||settings"
    "lib-utf8-set|list show cats|0||none"  # the same location, entered first
    "lib-utf8-set|insert|0||module"
    "lib-utf8-gone|list|1|ünï cødé/lïb.mdb:|none"  # the name shown as it was entered
    "lib-nulline|insert|1|has a line holding a NUL character; nothing was inserted. 5|none"
    "ini-dir|options setprefix comment list|1|cannot read {INI}|none"  # reading alone must say so too
    "ini-readonly|options list|0||none"
    "ini-readonly|comment|0||module"
    "ini-readonly|setprefix|1|cannot write {INI}|none"
    "ini-binary|options setprefix comment|1|{INI}|none"
    "ini-sparse-ro|options list cats|0||none"  # reading fills in no defaults
    "ini-sparse|options list|0||none"
    "ini-breaks|comment new options|1|holds a line break or a NUL character; it must be one line of text|none"
    "good|setlibpw|1|postgresql://team:****@/lib?host=/nonexistent:|none"
)

# Full disk: a small tmpfs when this user may mount one, else a file-size limit.
full_mode="ulimit"
probe=$root/probe
mkdir -p "$probe"
if mount -t tmpfs -o size=64k tmpfs "$probe" 2>/dev/null; then
    umount "$probe"
    full_mode=tmpfs
fi
# Read-only: root writes through mode bits, so the file is made immutable as well.
readonly_mode="chmod"
if [[ $(id -u) == 0 ]]; then
    readonly_mode=skip
    touch "$probe/f" && chattr +i "$probe/f" 2>/dev/null && readonly_mode=chattr && chattr -i "$probe/f"
fi
echo "bad-input: full disk by $full_mode; read-only files by $readonly_mode"
[[ $readonly_mode == skip ]] &&
    echo "bad-input: NOTICE: running as root without chattr: the read-only rows are skipped, not passed"

# The template every row starts from: a module with one Sub, a library holding it
# (key 1, category Tools), and a settings file holding every key already.
template=$root/template
mkdir -p "$template"
printf 'Attribute VB_Name = "M"\r\nOption Explicit\r\n\r\nSub DoIt()\r\n    x = 1\r\nEnd Sub\r\n' >"$template/M.bas"
(
    XDG_CONFIG_HOME=$ws/cfg && export XDG_CONFIG_HOME
    mkdir -p "$ws" && cp -a "$template/." "$ws/" && cd "$ws"
    "$PV" library init "$ws/L.mdb" 2>/dev/null
    "$PV" options set --library "$ws/L.mdb"
    "$PV" library categories add Tools
    "$PV" library store "$ws/M.bas" DoIt --category Tools
    "$PV" options comment-stubs --off 2>/dev/null  # showing writes nothing; these two dialogs write every key
    "$PV" options error-message --default 2>/dev/null
) || { echo "bad-input: could not set up the template library" >&2; exit 2; }
rm -rf "$template" && cp -a "$ws" "$template"
INI=$ws/cfg/Procvault/Procvault.ini

# CR LF lines but one, the first code line, with LF alone.
onelf_module() { printf 'Attribute VB_Name = "M"\r\nOption Explicit\n\r\nSub DoIt()\r\n    x = 1\r\nEnd Sub\r\n'; }

modules_of_kind() {  # writes the module of a valid but unusual kind
    local m=$ws/M.bas
    case $1 in
        mod-onelf) onelf_module >"$m" ;;
        mod-lf) printf 'Attribute VB_Name = "M"\nOption Explicit\n\nSub DoIt()\n    x = 1\nEnd Sub\n' >"$m" ;;
        mod-mixed) printf 'Attribute VB_Name = "M"\r\nOption Explicit\n\r\nSub DoIt()\r    x = 1\nEnd Sub\r\n' >"$m" ;;
        mod-cp1252) printf 'Attribute VB_Name = "M"\r\nOption Explicit\r\n\r\nSub DoIt()\r\n    s = "Gr\xf6\xdfe \x80\xff"\r\nEnd Sub\r\n' >"$m" ;;
        mod-1mb)
            {
                printf 'Attribute VB_Name = "M"\r\nOption Explicit\r\nConst S = "'
                head -c 1048576 /dev/zero | tr '\0' a
                printf '"\r\n\r\nSub DoIt()\r\n    x = 1\r\nEnd Sub\r\n'
            } >"$m"
            ;;
    esac
}

# FILE moved onto a full file system (or kept under the size limit's reach): the
# module through a link, which the program follows to save, the library by its stored location.
fill_disk() {
    local file=$1 name
    name=$(basename "$file")
    mkdir -p "$ws/full"
    [[ $full_mode == tmpfs ]] && mount -t tmpfs -o size=256k tmpfs "$ws/full"
    # Padding comments: the module is bigger than the space or the size limit left.
    [[ $name == M.bas ]] && for _ in $(seq 200); do printf "' %0100d\r\n" 0; done >>"$file"
    mv "$file" "$ws/full/"
    [[ $full_mode == tmpfs ]] && { dd if=/dev/zero of="$ws/full/fill" bs=4k 2>/dev/null || true; }
    if [[ $name == M.bas ]]; then
        ln -s "full/M.bas" "$file"
    else
        sed -i "s|^ProcvaultLocation=.*|ProcvaultLocation=$ws/full/$name|" "$INI"
    fi
}

make_readonly() {
    chmod 0444 "$1"
    [[ $readonly_mode == chattr ]] && chattr +i "$1"
    return 0
}

stop_holder() {
    [[ -n $holder ]] || return 0
    echo "ROLLBACK;" >&3 || true
    exec 3>&-
    wait "$holder" || true
    holder=""
}

# Another process holds the library's write lock (an exclusive transaction) meanwhile.
hold_library() {
    mkfifo "$root/fifo"
    sqlite3 "$ws/L.mdb" <"$root/fifo" >"$root/held" 2>&1 &
    holder=$!
    exec 3>"$root/fifo"
    rm "$root/fifo"
    printf 'BEGIN EXCLUSIVE;\nSELECT %s;\n' "'held'" >&3
    for _ in $(seq 100); do grep -q held "$root/held" && return 0; sleep 0.05; done
    echo "bad-input: the sqlite3 shell did not take the lock" >&2
    exit 2
}

prepare() {  # KIND: turns the fresh workspace into that input
    case $1 in
        good) ;;
        mod-missing) rm "$ws/M.bas" ;;
        mod-empty) : >"$ws/M.bas" ;;
        mod-dir) rm "$ws/M.bas" && mkdir "$ws/M.bas" ;;
        mod-binary) head -c 8192 "$PV" >"$ws/M.bas" ;;
        mod-nul) printf 'Attribute VB_Name = "M"\r\nOption Explicit\0\r\nSub DoIt()\r\nEnd Sub\r\n' >"$ws/M.bas" ;;
        mod-1mb | mod-lf | mod-mixed | mod-cp1252 | mod-onelf) modules_of_kind "$1" ;;
        mod-onelf-rt) modules_of_kind mod-onelf && { XDG_CONFIG_HOME=$ws/cfg "$PV" comment "$ws/M.bas" --lines 1 2>/dev/null || true; } ;;
        mod-devzero) rm "$ws/M.bas" && ln -s /dev/zero "$ws/M.bas" ;;
        mod-fifo) rm "$ws/M.bas" && mkfifo "$ws/M.bas" ;;
        mod-huge) truncate -s 65M "$ws/M.bas" ;;
        mod-readonly) make_readonly "$ws/M.bas" ;;
        mod-full) fill_disk "$ws/M.bas" ;;
        lib-missing) rm "$ws/L.mdb" ;;
        lib-dir) rm "$ws/L.mdb" && mkdir "$ws/L.mdb" ;;
        lib-empty) : >"$ws/L.mdb" ;;
        lib-binary) head -c 8192 "$PV" >"$ws/L.mdb" ;;
        lib-text) printf 'Category,ProcedureHeader\r\nTools,DoIt\r\n' >"$ws/L.mdb" ;;
        lib-nul) head -c 8192 /dev/zero >"$ws/L.mdb" ;;
        lib-foreign) sqlite3 "$ws/L.mdb" 'CREATE TABLE Notes (Line TEXT)' ;;
        lib-locked) hold_library ;;
        lib-readonly) make_readonly "$ws/L.mdb" ;;
        lib-full) fill_disk "$ws/L.mdb" ;;
        lib-fifo) mv "$ws/L.mdb" "$ws/C.mdb" && mkfifo "$ws/L.mdb" ;;
        lib-utf8) mkdir "$ws/ünï cødé" && mv "$ws/L.mdb" "$ws/ünï cødé/lïb.mdb" ;;
        lib-utf8-set)
            prepare lib-utf8
            XDG_CONFIG_HOME=$ws/cfg "$PV" options set --library "$ws/ünï cødé/lïb.mdb" 2>/dev/null || true
            ;;
        lib-utf8-gone) prepare lib-utf8-set && rm "$ws/ünï cødé/lïb.mdb" ;;
        lib-nulline) sqlite3 "$ws/L.mdb" "UPDATE ProcedureLine SET Line = Line || char(0) || 'x' WHERE ProcedureLineID = (SELECT max(ProcedureLineID) FROM ProcedureLine)" ;;
        ini-dir) rm "$INI" && mkdir "$INI" ;;
        ini-readonly) make_readonly "$INI" ;;
        ini-binary) head -c 4096 "$PV" >"$INI" ;;
        ini-sparse | ini-sparse-ro)
            printf '[Options]\nProcvaultLocation=%s\nProcvaultLocation=%s\n' "$ws/L.mdb" "$ws/L.mdb" >"$INI"
            [[ $1 == ini-sparse ]] || make_readonly "$INI"
            ;;
        ini-breaks)  # as another program may write them: QSettings reads \n as a line break
            sed -i -e "s|^CommentPrefix=.*|CommentPrefix=' \\\\nX = 1|" -e 's|^ShowCommentStubs=.*|ShowCommentStubs=True|' \
                -e 's|^ShowCreatedBy=.*|ShowCreatedBy=1|' -e 's|^CreatedByName=.*|CreatedByName=Ann\\nKill|' "$INI"
            ;;
    esac
}

# Checksums of the files that may not change; the listing catches a file left behind.
snapshot() {  # WHAT-MAY-CHANGE
    local may=$1
    (
        cd "$ws"
        find . -path ./full/fill -prune -o -print | sort
        [[ $may == module ]] || sums M.bas full/M.bas
        [[ $may == library ]] || sums L.mdb full/L.mdb "ünï cødé/lïb.mdb"
        [[ $may == settings ]] || sums cfg/Procvault/Procvault.ini
    )
}

# Regular files only: reading a pipe would wait for a writer, a device would never end.
sums() {
    local file
    for file; do [[ -f $file ]] && md5sum -- "$file"; done
    return 0
}

# What a valid but unusual module must still be after a command changed it.
still_intact() {  # KIND
    local m=$ws/M.bas
    case $1 in
        mod-lf) ! grep -q $'\r' "$m" ;;
        mod-mixed) grep -q $'Sub DoIt()\r' "$m" && grep -q $'Option Explicit\n' "$m" ;;
        mod-cp1252) grep -q $'Gr\xf6\xdfe \x80\xff' "$m" ;;
        mod-1mb) (($(tr -cd a <"$m" | wc -c) >= 1048576)) ;;
        mod-onelf) (($(tr -cd '\r' <"$m" | wc -c) == 5)) && ! sed -n 2p "$m" | grep -q $'\r' ;;
        mod-onelf-rt) cmp -s "$m" <(onelf_module) ;;
        *) true ;;
    esac
}

expand() {
    local text=$1
    text=${text//\{M\}/$ws/M.bas}
    text=${text//\{L\}/$ws/L.mdb}
    printf '%s' "${text//\{INI\}/$INI}"
}

declare -A RESULT
failures=0
kinds_seen=()
fail() {
    RESULT[$kind,$cmd]=FAIL
    failures=$((failures + 1))
    printf 'FAIL %-13s %-10s %s\n      %s\n' "$kind" "$cmd" "$1" "$(head -c 600 "$root/err" | tr '\n' '|')"
}

run_row() {  # KIND CMD CODE FRAGMENTS MAY XFAIL
    local code=$3 fragments=$4 may=$5 xfail=$6 status=0 before after
    rm -rf "$ws" && cp -a "$template" "$ws"
    if [[ $kind == *readonly && $readonly_mode == skip ]]; then
        RESULT[$kind,$cmd]=skip
        return
    fi
    prepare "$kind"
    before=$(snapshot "$may")
    local args
    args=$(expand "${CMD[$cmd]}")
    (
        cd "$ws"
        XDG_CONFIG_HOME=$ws/cfg && export XDG_CONFIG_HOME
        [[ $kind == *-full && $full_mode == ulimit ]] && { ulimit -f 16; trap '' XFSZ; }
        eval "exec timeout -k 5 $hang_limit \"\$PV\" $args" </dev/null >"$root/out" 2>"$root/err"
    ) || status=$?
    stop_holder
    after=$(snapshot "$may")
    local problem=""
    if ((status >= 128)); then
        problem="crashed (status $status)"
    elif ((status == 124)); then
        problem="hung: stopped after ${hang_limit}s"
    elif ((status != code)); then
        problem="exit $status, expected $code"
    elif ((code != 0)) && [[ ! -s $root/err ]]; then
        problem="no message on stderr"
    elif [[ -n $fragments ]]; then
        local -a alternatives=()
        local rest
        rest=$(expand "$fragments")
        while [[ -n $rest ]]; do
            alternatives+=(-e "${rest%%^^*}")
            [[ $rest == *"^^"* ]] && rest=${rest#*^^} || rest=""
        done
        grep -qF "${alternatives[@]}" "$root/err" || problem="message lacks '$(expand "$fragments")'"
    fi
    [[ -z $problem && $before != "$after" ]] && problem="changed: $(diff <(echo "$before") <(echo "$after") | grep "^[<>]" | head -3 | tr "\n" " " || true)"
    [[ -z $problem && $code == 0 && $may == module ]] && ! still_intact "$kind" && problem="the module lost its bytes or line ends"
    mountpoint -q "$ws/full" && umount "$ws/full"
    chattr -R -i "$ws" 2>/dev/null || true
    if [[ -n $xfail ]]; then
        if [[ -n $problem ]]; then RESULT[$kind,$cmd]=xfail; else fail "passes now: drop its xfail (${xfail#xfail:})"; fi
    elif [[ -n $problem ]]; then
        fail "$problem"
    else
        RESULT[$kind,$cmd]=ok
    fi
}

for row in "${ROWS[@]}"; do
    IFS='|' read -r kinds cmds code fragments may xfail <<<"$row"
    for kind in $kinds; do
        [[ " ${kinds_seen[*]} " == *" $kind "* ]] || kinds_seen+=("$kind")
        for cmd in $cmds; do run_row "$kind" "$cmd" "$code" "$fragments" "$may" "$xfail"; done
    done
done

# The results: input kind down, command across; "." where the pair does not apply.
all_cmds=(comment uncomment scan add new store insert list show move remove cats catadd compact setlib options setprefix
    copyfrom copyto setlibutf8 setlibpw)
printf '\n%-13s' "input"
for cmd in "${all_cmds[@]}"; do printf ' %-7.7s' "$cmd"; done
echo
for kind in "${kinds_seen[@]}"; do
    printf '%-13s' "$kind"
    for cmd in "${all_cmds[@]}"; do printf ' %-7s' "${RESULT[$kind,$cmd]:-.}"; done
    echo
done
echo
echo "bad-input: ${#RESULT[@]} runs, $failures failed (xfail: known product fault, see the table's rows)"
((failures == 0))
