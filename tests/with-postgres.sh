#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command beside a throwaway PostgreSQL server: a cluster in a temporary folder, reached
# only through a Unix socket in that folder (no TCP port to collide on), stopped and removed
# when the command ends, however it ends. The command finds the server's URL in
# COLLATRIX_TEST_POSTGRES and can stop and start it with "$COLLATRIX_TEST_POSTGRES_SERVER stop|start",
# or have it ask for passwords (see "auth" below).
# Without the server's programs the command runs without them (its PostgreSQL cases skip).
# Usage: tests/with-postgres.sh COMMAND [ARGS...]
set -euo pipefail

pgbin=${COLLATRIX_PGBIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}
if [ -z "$pgbin" ] || [ ! -x "$pgbin/initdb" ]; then
    echo "with-postgres.sh: no PostgreSQL server installed; running without one" >&2
    exec "$@"
fi

# A short path: a socket path may hold at most 107 bytes.
pgtmp=$(mktemp -d /tmp/clxpg.XXXXXX)
as=()
if [ "$(id -u)" -eq 0 ]; then
    # The server refuses to run as root; the package's own user runs it.
    chown postgres:postgres "$pgtmp"
    as=(setpriv --reuid=postgres --regid=postgres --init-groups env -C /)
fi
cleanup() {
    "${as[@]}" "$pgbin/pg_ctl" -D "$pgtmp/data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$pgtmp"
}
trap cleanup EXIT INT TERM

"${as[@]}" "$pgbin/initdb" -D "$pgtmp/data" -U collatrix --auth=trust -E UTF8 --locale=C.UTF-8 \
    --no-sync --no-instructions >"$pgtmp/initdb.log" 2>&1 || { cat "$pgtmp/initdb.log" >&2; exit 1; }

# Tests only: durability is not wanted, speed is. "auth METHOD [LC_MESSAGES]" restarts the
# server with clients authenticated by METHOD (trust, scram-sha-256) and its messages, those
# before a session's own settings too, in the language given.
cat >"$pgtmp/server" <<SCRIPT
#!/usr/bin/env bash
start() { ${as[*]} "$pgbin/pg_ctl" -D "$pgtmp/data" -l "$pgtmp/server.log" -w -t 30 \\
    -o "-k $pgtmp -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off \$1" \\
    start >/dev/null; }
stop() { ${as[*]} "$pgbin/pg_ctl" -D "$pgtmp/data" -m fast -w stop >/dev/null; }
case "\$1" in
start) start ;;
stop) stop ;;
auth) echo "local all all \$2" >"$pgtmp/data/pg_hba.conf"; stop;
    start "-c lc_messages=\${3:-C.UTF-8}" ;;
esac
SCRIPT
chmod 755 "$pgtmp/server"
"$pgtmp/server" start || { cat "$pgtmp/server.log" >&2; exit 1; }

export COLLATRIX_TEST_POSTGRES="postgresql://collatrix@/postgres?host=$pgtmp"
export COLLATRIX_TEST_POSTGRES_SERVER="$pgtmp/server"
"$@"
