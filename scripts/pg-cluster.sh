#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the server-library tests.
#   pg-cluster.sh start STATE   initdb + start; writes the connection URI to STATE/uri
#   pg-cluster.sh stop STATE    stops the server and deletes its folder
# The cluster lives in a fresh folder under /tmp (a Unix socket path must stay
# short), listens on a Unix socket in that folder only (no TCP at all), runs
# without fsync (its data is thrown away), and runs as a non-root user: as root,
# the server is started as "nobody", since PostgreSQL refuses to run as root.
# Exit 77 when no PostgreSQL server is installed: the caller skips its server rows.
set -euo pipefail

action=${1:?usage: pg-cluster.sh start|stop STATE}
state=${2:?usage: pg-cluster.sh start|stop STATE}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] || [ ! -x "$bindir/postgres" ]; then
  echo "pg-cluster: no PostgreSQL server installed (postgresql-15): server rows skipped" >&2
  exit 77
fi

as_server_user() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u nobody -- "$@"
  else
    "$@"
  fi
}

case $action in
  start)
    mkdir -p "$state"
    [ -f "$state/folder" ] && "$0" stop "$state"
    folder=$(mktemp -d /tmp/pvpg.XXXXXX)
    echo "$folder" > "$state/folder"
    [ "$(id -u)" -eq 0 ] && chown nobody "$folder"
    as_server_user "$bindir/initdb" -D "$folder/data" -U procvault -A trust -E UTF8 --locale=C.UTF-8 \
      --no-sync > "$folder/initdb.log" 2>&1 || { cat "$folder/initdb.log" >&2; exit 1; }
    if ! as_server_user "$bindir/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 start \
      -o "-c listen_addresses='' -k $folder -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
      > /dev/null; then
      cat "$folder/server.log" >&2
      exit 1
    fi
    echo "postgresql://procvault@/postgres?host=$folder" > "$state/uri"
    ;;
  stop)
    [ -f "$state/folder" ] || exit 0
    folder=$(cat "$state/folder")
    as_server_user "$bindir/pg_ctl" -D "$folder/data" -m fast -w stop > /dev/null 2>&1 || true
    rm -rf "$folder"
    rm -f "$state/folder" "$state/uri"
    ;;
  *)
    echo "usage: pg-cluster.sh start|stop STATE" >&2
    exit 2
    ;;
esac
