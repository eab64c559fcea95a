#!/usr/bin/env bash
# A private Firebird 3 server for the tests that talk to a database through the network layer.
#
#   test_server.sh start STATE_DIR [PORT]
#                                    starts it (on PORT when given: a test that stopped the
#                                    server starts it again where its clients look for it);
#                                    writes STATE_DIR/port and STATE_DIR/pid
#   test_server.sh stop STATE_DIR    stops it; quiet when it is already gone
#
# The server runs as the current user with a root folder of its own (STATE_DIR/root: its
# configuration, security database, lock and temporary folders), listens only on 127.0.0.1 on
# a free port, and leaves the machine's Firebird installation and service alone.
set -euo pipefail

fb_lib=/usr/lib/x86_64-linux-gnu/firebird/3.0
fb_server=/usr/sbin/firebird
fb_syslog=/var/log/firebird
user=sysdba
password=quillform

usage() {
  echo "usage: $0 start STATE_DIR [PORT] | stop STATE_DIR" >&2
  exit 2
}

[ $# -eq 2 ] || { [ $# -eq 3 ] && [ "$1" = start ]; } || usage
command=$1
wanted_port=${3:-}
# Stopping a server that never started is not an error.
[ "$command" = stop ] && [ ! -d "$2" ] && exit 0
mkdir -p "$2"
state=$(cd "$2" && pwd)
root=$state/root

# Whether a process runs: it exists and is not a zombie waiting for its parent to reap it.
alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2> /dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

# Whether a process is our server: alive and started with this state folder's root, so that
# a recycled pid is never killed.
is_our_server() {
  alive "$1" && tr '\0' '\n' < "/proc/$1/environ" 2> /dev/null | grep -qxF "FIREBIRD=$root"
}

stop_server() {
  local pid
  if [ -f "$state/pid" ]; then
    pid=$(cat "$state/pid")
    if [ -n "$pid" ] && is_our_server "$pid"; then
      kill -TERM "$pid" 2>/dev/null || true
      # A clean shutdown takes well under a second; give it five before forcing it.
      for _ in $(seq 50); do
        is_our_server "$pid" || break
        sleep 0.1
      done
      if is_our_server "$pid"; then
        kill -KILL "$pid" 2>/dev/null || true
        for _ in $(seq 20); do
          is_our_server "$pid" || break
          sleep 0.1
        done
      fi
    fi
  fi
  rm -f "$state/pid" "$state/port"
}

# Whether any TCP socket of this machine (IPv4 or IPv6, any state) already uses the port.
port_in_use() {
  local hex
  hex=$(printf '%04X' "$1")
  awk -v p=":$hex" 'NR > 1 && substr($2, length($2) - 4) == p { found = 1 } END { exit !found }' \
    /proc/net/tcp /proc/net/tcp6 2>/dev/null
}

# Who listens on 127.0.0.1:port: "ours" when the listening socket's inode is one of the
# process's file descriptors, "other" when another process listens there, "none" otherwise.
listener() {
  local pid=$1 port=$2 hex inode
  hex=$(printf '%04X' "$port")
  inode=$(awk -v p=":$hex" 'NR > 1 && substr($2, length($2) - 4) == p && $4 == "0A" { print $10; exit }' \
            /proc/net/tcp /proc/net/tcp6 2> /dev/null)
  if [ -z "$inode" ]; then
    echo none
    return
  fi
  local fd
  for fd in "/proc/$pid/fd"/*; do
    if [ "$(readlink "$fd" 2> /dev/null)" = "socket:[$inode]" ]; then
      echo ours
      return
    fi
  done
  echo other
}

# The engine takes its root, lock and temporary folders from these variables; the message
# file and configuration files are then read from the private root.
private_env=(env FIREBIRD="$root" FIREBIRD_LOCK="$root/lock" FIREBIRD_TMP="$root/tmp")

# The engine's own log file has a fixed place under /var/log/firebird. A root user could write
# there, so root runs the server in a mount namespace of its own where that folder is the
# private log folder (other mounts still reach it from the machine); an ordinary user cannot
# write there at all.
wrapper=()
choose_wrapper() {
  [ "$(id -u)" -eq 0 ] && [ -d "$fb_syslog" ] && command -v unshare > /dev/null || return 0
  # shellcheck disable=SC2016 # the inner shell expands its own arguments
  local probe=(unshare --mount --propagation slave sh -c 'mount --bind "$0" "$1"' "$root/log" "$fb_syslog")
  if "${probe[@]}" 2> /dev/null; then
    # shellcheck disable=SC2016
    wrapper=(unshare --mount --propagation slave
             sh -c 'mount --bind "$0" "$1" && shift && exec "$@"' "$root/log" "$fb_syslog")
  else
    echo "Uwaga: bez przestrzeni montowania serwer dopisze swój dziennik do $fb_syslog" >&2
  fi
}

write_config() {
  local port=$1
  # Plugins come from the system folder (their absolute place is built into the engine), but
  # every setting that names a file or a folder points into the private root.
  cat > "$root/firebird.conf" <<EOF
# Private test server; written by scripts/test_server.sh.
RemoteBindAddress = 127.0.0.1
RemoteServicePort = $port
ServerMode = Super
DatabaseAccess = Full
UdfAccess = None
ExternalFileAccess = None
SecurityDatabase = $root/security3.fdb
AuthServer = Srp256, Srp
UserManager = Srp
WireCrypt = Enabled
TempDirectories = $root/tmp
EOF
  cat > "$root/databases.conf" <<EOF
security.db = $root/security3.fdb
{
	RemoteAccess = false
}
EOF
  cat > "$root/plugins.conf" <<EOF
Plugin = UDR {
	Module = \$(dir_plugins)/udr_engine
	Config = UDR_config
}

Config = UDR_config {
	path = \$(dir_plugins)/udr
}
EOF
}

make_root() {
  rm -rf "$root"
  mkdir -p "$root/lock" "$root/tmp" "$root/log" "$root/intl"
  ln -s "$fb_lib/firebird.msg" "$root/firebird.msg"
  # The character-set library is found as $(root)/intl/fbintl. The engine checks that a
  # module's entry point lies in the file it opened by that name, so a copy works where a
  # symbolic link to the system file is refused.
  cp "$fb_lib/intl/libfbintl.so" "$root/intl/"
  # The embedded engine below reads the same configuration; the port is set at the start.
  write_config 0
  # A fresh security database, made through the embedded engine: the Srp user manager adds
  # its table with the first user.
  local out
  if ! out=$("${private_env[@]}" isql-fb -q -user "$user" 2>&1 <<EOF
CREATE DATABASE '$root/security3.fdb';
CREATE USER $user PASSWORD '$password' USING PLUGIN Srp;
COMMIT;
EOF
  ); then
    echo "Nie udało się utworzyć bazy bezpieczeństwa serwera testowego:" >&2
    echo "$out" >&2
    exit 1
  fi
}

show_logs() {
  echo "--- $state/server.log" >&2
  cat "$state/server.log" >&2 2>/dev/null || true
  for f in "$root"/log/*; do
    [ -f "$f" ] || continue
    echo "--- $f" >&2
    cat "$f" >&2
  done
}

# Starts the server on the port; 0 when it listens and accepts a login, 1 when the port was
# taken in the meantime (another server won the race), 2 on any other failure.
try_port() {
  local port=$1 pid
  write_config "$port"
  : > "$state/server.log"
  # setsid detaches the server from the caller's session and terminal, so that it outlives
  # this script and the CTest step that ran it.
  setsid "${private_env[@]}" "${wrapper[@]}" "$fb_server" > "$state/server.log" 2>&1 < /dev/null &
  pid=$!
  echo "$pid" > "$state/pid"
  for _ in $(seq 200); do
    alive "$pid" || break
    case $(listener "$pid" "$port") in
      # Another process took the port after it was chosen; the server keeps retrying to bind
      # it without a word, so it is stopped and another port tried.
      other) stop_server; return 1 ;;
      none) sleep 0.1; continue ;;
    esac
    if (exec 3<> "/dev/tcp/127.0.0.1/$port") 2> /dev/null; then
      # The port accepts; a service-manager login proves that the security database and the
      # authentication plugins work as the tests will use them.
      if fbsvcmgr "localhost/$port:service_mgr" -user "$user" -password "$password" \
           -info_server_version > /dev/null 2>> "$state/server.log"; then
        echo "$port" > "$state/port"
        return 0
      fi
      show_logs
      echo "Serwer testowy nasłuchuje na porcie $port, ale logowanie się nie udaje." >&2
      stop_server
      return 2
    fi
    sleep 0.1
  done
  show_logs
  if alive "$pid"; then
    echo "Serwer testowy nie przyjmuje połączeń na porcie $port po 20 s." >&2
  else
    echo "Serwer testowy zakończył pracę, zanim zaczął przyjmować połączenia." >&2
  fi
  stop_server
  return 2
}

start_server() {
  # A server left by an interrupted run of the tests is stopped first.
  stop_server
  make_root
  choose_wrapper
  local port rc
  if [ -n "$wanted_port" ]; then
    # The port may still be held for a moment by the server just stopped.
    for _ in $(seq 10); do
      rc=0
      try_port "$wanted_port" || rc=$?
      case $rc in
        0) echo "Serwer testowy: localhost/$wanted_port (pid $(cat "$state/pid"))"; return 0 ;;
        1) sleep 1 ;;
        *) exit 1 ;;
      esac
    done
    show_logs
    echo "Port $wanted_port jest zajęty." >&2
    exit 1
  fi
  for _ in $(seq 10); do
    # A random port between 20000 and 31999: clear of the machine's own server (3050) and
    # below the kernel's range for outgoing connections.
    port=$((20000 + RANDOM % 12000))
    port_in_use "$port" && continue
    rc=0
    try_port "$port" || rc=$?
    case $rc in
      0) echo "Serwer testowy: localhost/$port (pid $(cat "$state/pid"))"; return 0 ;;
      1) continue ;;
      *) exit 1 ;;
    esac
  done
  show_logs
  echo "Nie znaleziono wolnego portu dla serwera testowego." >&2
  exit 1
}

case $command in
  start) start_server ;;
  stop) stop_server ;;
  *) usage ;;
esac
