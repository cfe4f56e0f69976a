#!/usr/bin/env bash
# What a server library relies on, checked on the tests' throw-away cluster: it
# answers on its Unix socket only, runs as a non-root user, and a fresh
# database takes case-insensitive text (citext) and a full-text index.
set -euo pipefail
state=${1:?usage: cluster-check.sh STATE}
if [ ! -s "$state/uri" ]; then
  echo "cluster-check: no test server was started: server rows skipped" >&2
  exit 77
fi
uri=$(cat "$state/uri")
fail() { echo "cluster-check: $*" >&2; exit 1; }

[ "$(psql "$uri" -Atc "show listen_addresses")" = "" ] || fail "the server listens on TCP"
owner=$(stat -c %U "/proc/$(head -n 1 "$(cat "$state/folder")/data/postmaster.pid")")
[ "$owner" != root ] || fail "the server runs as root"

db=check_$$
psql "$uri" -qc "create database $db" > /dev/null
trap 'psql "$uri" -qc "drop database if exists $db" > /dev/null' EXIT
got=$(psql "${uri/\/postgres?//$db?}" -Atq -v ON_ERROR_STOP=1 <<'SQL'
create extension citext;
create table t (id serial primary key, line citext);
create index t_words on t using gin (to_tsvector('simple', line::text));
insert into t (line) values ('Public Function GetValue()'), ('End Function');
select 'getvalue'::citext = 'GetValue', count(*) from t
  where to_tsvector('simple', line::text) @@ to_tsquery('simple', 'getval:*');
SQL
)
[ "$got" = "t|1" ] || fail "citext or full-text search answered '$got'"
echo "cluster-check: server on $uri as $owner"
