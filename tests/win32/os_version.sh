#!/bin/sh
# The settings dialog names the Windows version from GetVersionExA: run the
# probe with the prefix pretending to be each version (per program, so no
# other test sees it) and compare the names.
# Usage: os_version.sh BUILD_DIR PROBE_EXE
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
probe=$2
DURMIVELA_WINEPREFIX=$build/wineprefix
. "$root/scripts/wine-env.sh"
key="HKCU\\Software\\Wine\\AppDefaults\\$(basename "$probe")"
status=0
for row in "winxp|5.1 2 Windows XP Profesional" "win2k|5.0 2 Windows 2000" "nt40|4.0 2 Windows NT 4.0"; do
  version=${row%%|*}
  expected=${row#*|}
  "$wine" reg add "$key" /v Version /t REG_SZ /d "$version" /f >/dev/null 2>&1
  got=$("$root/scripts/wine-run.sh" "$probe" | tr -d '\r')
  if [ "$got" = "$expected" ]; then echo "$version: $got"; else echo "FAIL $version: got '$got', expected '$expected'"; status=1; fi
done
"$wine" reg delete "$key" /f >/dev/null 2>&1 || true
exit $status
