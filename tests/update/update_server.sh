#!/bin/sh
# Runs a test of the online update against the project's test server
# (servidor_prueba.py): serves a fresh folder and hands the test the server's
# ports and the folder in the environment, then stops the server. A Windows
# test (TEST.exe) runs under Wine and gets the folder as a Windows path.
# Usage: update_server.sh SERVER.py TEST [arguments...]
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
for _ in $(seq 200); do [ -s "$served.port" ] && break; sleep 0.05; done
read -r port tls _ <"$served.port" || { echo "update_server.sh: the test server did not start" >&2; exit 1; }
# The server is on this machine: no proxy in the way (libcurl and Wine's
# WinInet both read http_proxy).
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY
export no_proxy='*'
export DURMIVELA_TEST_PORT=$port DURMIVELA_TEST_TLS_PORT=$tls
case "$1" in
  *.exe) export DURMIVELA_TEST_SERVED="Z:$served"; "$root/scripts/wine-run.sh" "$@" ;;
  *) export DURMIVELA_TEST_SERVED="$served"; "$@" ;;
esac
