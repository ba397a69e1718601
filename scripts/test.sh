#!/bin/sh
# From a fresh Debian machine: installs what is needed, builds all three builds (and the
# native one once more with AddressSanitizer and UBSan, and the clang fuzz targets) and
# runs every test: the native unit tests, with and without sanitizers; the x86_64 Windows
# tests and end-to-end runs under Wine; the checks of the i686 Reader.exe; a short run of
# each fuzz target and the replay of its regression inputs.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh native native-asan win32 win64 fuzz
status=0
for preset in native native-asan win32 win64 fuzz; do
  echo "== test $preset"
  ctest --preset "$preset" || status=1
done
exit $status
