#!/bin/sh
# From a fresh Debian machine: installs what is needed, builds all three builds and runs
# every test (native unit tests; the x86_64 Windows tests and end-to-end runs under Wine;
# the checks of the i686 Reader.exe).
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh native win32 win64
status=0
for preset in native win32 win64; do
  echo "== test $preset"
  ctest --preset "$preset" || status=1
done
exit $status
