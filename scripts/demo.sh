#!/bin/sh
# From a fresh Debian machine: installs what is needed, builds the installer tool
# (natively) and the x86_64 Reader.exe with the sample setup program, builds an installer
# around the sample, and runs it under Wine as a user would: it prints the installer's
# records, what the setup program received (command line, current directory, its own
# path), the message boxes shown, and the installer's exit code (the sample's 3010).
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset native >/dev/null && cmake --build --preset native --target packer
cmake --preset win64 >/dev/null && cmake --build --preset win64 --target Reader sample_setup exit_code_launcher
build=build/win64
demo=build/demo
rm -rf "$demo" && mkdir -p "$demo"

echo "== building an installer around the sample setup program"
build/native/bin/packer build --stub "$build/bin/Reader.exe" --output "$demo/installer.exe" \
  --file installer32="$build/bin/sample_setup.exe" --as QZVPROSetup.exe \
  --value 'executable32=%installer32%' \
  --value 'parameters=/V"USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1" /exit:3010'
build/native/bin/packer list "$demo/installer.exe"

cmake/wine-prefix.sh start "$PWD/$build/wineprefix"
trap 'cmake/wine-prefix.sh stop "$PWD/$build/wineprefix"' EXIT

echo "== running installer.exe /v\"EXTRA=1\" under Wine"
# The launcher takes the exact command line from LAUNCHER_COMMAND_LINE (Wine would quote
# an argument with quotes in it once more) and prints the full exit code.
here="Z:$(pwd | tr / '\\')"
LAUNCHER_COMMAND_LINE="\"$here\\build\\demo\\installer.exe\" /v\"EXTRA=1\"" \
SAMPLE_SETUP_RECORD="$here\\build\\demo\\record.txt" WINEDEBUG=+relay \
  "$build/wine-run.sh" "$build/bin/exit_code_launcher.exe" </dev/null >"$demo/launcher.txt" 2>"$demo/trace.txt" || true
echo "-- the setup program received:"
cat "$demo/record.txt" 2>/dev/null || echo "(nothing: the setup program did not run)"
echo
echo "-- message boxes:"
grep -E "Call user32.MessageBoxA" "$demo/trace.txt" | sed 's/^.*Call user32.MessageBoxA/MessageBoxA/'
grep -q "Call user32.MessageBoxA" "$demo/trace.txt" || echo "(none)"
echo "-- installer:"
tr -d '\r' <"$demo/launcher.txt"
