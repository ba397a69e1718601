#!/bin/sh
# From a fresh Debian machine: installs what is needed, builds the x86_64 Reader.exe and
# runs it under Wine as a user would, printing the message boxes it shows and its exit
# status.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh win64
build=build/win64
cmake/wine-prefix.sh start "$PWD/$build/wineprefix"
trap 'cmake/wine-prefix.sh stop "$PWD/$build/wineprefix"' EXIT

echo "== Reader.exe without a container (what a damaged download looks like)"
WINEDEBUG=+relay "$build/wine-run.sh" "$build/bin/exit_code_launcher.exe" "$build/bin/Reader.exe" 2>&1 |
  grep -E "Call user32.MessageBoxA|^exit code" | sed 's/^[0-9a-f]*:Call user32.MessageBoxA/message box: MessageBoxA/'
