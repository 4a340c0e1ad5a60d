#!/bin/sh
# The settings dialog names the Windows version from the system's numbers: run
# the probe with the prefix pretending to be each version (per program, so no
# other test sees it) and compare the names. Windows 8.1 and 10 are the ones
# GetVersionExA would call 6.2.
# Usage: os_version.sh BUILD_DIR PROBE_EXE
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
probe=$2
DURMIVELA_WINEPREFIX=$build/wineprefix
. "$root/scripts/wine-env.sh"
key="HKCU\\Software\\Wine\\AppDefaults\\$(basename "$probe")"
status=0
for row in "winxp|5.1 2 Windows XP Profesional" "win2k|5.0 2 Windows 2000" "nt40|4.0 2 Windows NT 4.0" \
  "win7|6.1 2 Version de Windows Desconocida" "win8|6.2 2 Windows 8" "win81|6.3 2 Windows 8.1" \
  "win10|10.0 2 Windows 10"; do
  version=${row%%|*}
  expected=${row#*|}
  "$wine" reg add "$key" /v Version /t REG_SZ /d "$version" /f >/dev/null 2>&1
  got=$("$root/scripts/wine-run.sh" "$probe" | tr -d '\r')
  if [ "$got" = "$expected" ]; then echo "$version: $got"; else echo "FAIL $version: got '$got', expected '$expected'"; status=1; fi
done
"$wine" reg delete "$key" /f >/dev/null 2>&1 || true
exit $status
