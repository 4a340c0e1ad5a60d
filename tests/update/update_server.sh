#!/bin/sh
# Runs a test of the online update against the project's test server
# (servidor_prueba.py): serves a fresh folder and hands the test the server's
# ports and the folder in the environment, then stops the server. A Windows
# test (TEST.exe) runs under Wine and gets the folder as a Windows path.
# Usage: update_server.sh SERVER.py TEST [arguments...]
set -u
server=$1
shift
# The build folder that holds the test keeps a failed run's logs.
build=$(cd "$(dirname "$1")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done && pwd)
. "$(dirname "$0")/../e2e/session.sh"
served="$e2e_dir/served"
mkdir -p "$served"
e2e_start_test_server "$served" "$server"
# The server is on this machine: no proxy in the way (libcurl and Wine's
# WinInet both read http_proxy).
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY
export no_proxy='*'
export DURMIVELA_TEST_PORT=$e2e_port DURMIVELA_TEST_TLS_PORT=$e2e_tls_port
case "$1" in
  *.exe) export DURMIVELA_TEST_SERVED="Z:$served"; "$e2e_root/scripts/wine-run.sh" "$@" ;;
  *) export DURMIVELA_TEST_SERVED="$served"; "$@" ;;
esac
