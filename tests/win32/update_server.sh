#!/bin/sh
# Runs a Windows test of the online update against the project's test server
# (tests/update/servidor_prueba.py, a Linux process the test cannot start
# itself): serves a fresh folder, hands the test the server's port and the
# folder (as a Windows path) in the environment, and stops the server after.
# Usage: update_server.sh SERVER.py TEST.exe [arguments...]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
server=$1
shift
served=$(mktemp -d /tmp/durmivela-update-XXXXXX)
pid=
stop() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$served" "$served.port"
}
trap stop EXIT
python3 "$server" "$served" >"$served.port" &
pid=$!
for _ in $(seq 100); do [ -s "$served.port" ] && break; sleep 0.05; done
read -r port _ <"$served.port" || { echo "update_server.sh: the test server did not start" >&2; exit 1; }
# The server is on this machine: no proxy in the way (Wine's WinInet reads http_proxy).
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY
export DURMIVELA_TEST_PORT=$port DURMIVELA_TEST_SERVED="Z:$served"
"$root/scripts/wine-run.sh" "$@"
