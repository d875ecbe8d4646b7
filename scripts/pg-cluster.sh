# Sourced by scripts/test: a throwaway PostgreSQL cluster on 127.0.0.1 in a temporary folder.
mda_pg_dir=""
mda_pg_runas=()

mda_pg_bindir() {
  local d
  for d in /usr/lib/postgresql/*/bin; do
    [ -x "$d/initdb" ] && { echo "$d"; return 0; }
  done
  return 1
}

mda_pg_free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()'
}

mda_pg_start() {
  local bindir port
  bindir=$(mda_pg_bindir) || return 1
  mda_pg_dir=$(mktemp -d /tmp/mda-pg.XXXXXX)
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres:postgres "$mda_pg_dir"
    mda_pg_runas=(runuser -u postgres --)
  fi
  port=$(mda_pg_free_port)
  echo "mdatest" > "$mda_pg_dir/pw"
  chmod 644 "$mda_pg_dir/pw"
  "${mda_pg_runas[@]}" "$bindir/initdb" -D "$mda_pg_dir/data" -U mdatest --pwfile="$mda_pg_dir/pw" \
    -A scram-sha-256 -E UTF8 >/dev/null || return 1
  "${mda_pg_runas[@]}" "$bindir/pg_ctl" -D "$mda_pg_dir/data" -l "$mda_pg_dir/log" -w \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $mda_pg_dir -c fsync=off" start >/dev/null || return 1
  PGPASSWORD=mdatest "$bindir/createdb" -h 127.0.0.1 -p "$port" -U mdatest mdatest || return 1
  MDA_TEST_PG_URL="postgresql://127.0.0.1:$port/mdatest"
  MDA_TEST_PG_USER=mdatest
  MDA_TEST_PG_PASSWORD=mdatest
  MDA_PG_BINDIR=$bindir
  MDA_PG_DATADIR="$mda_pg_dir/data"
  export MDA_PG_BINDIR MDA_PG_DATADIR
  echo "PostgreSQL test cluster on 127.0.0.1:$port"
}

mda_pg_stop() {
  [ -n "$mda_pg_dir" ] || return 0
  local bindir
  bindir=$(mda_pg_bindir) || return 0
  "${mda_pg_runas[@]}" "$bindir/pg_ctl" -D "$mda_pg_dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$mda_pg_dir"
  mda_pg_dir=""
}
